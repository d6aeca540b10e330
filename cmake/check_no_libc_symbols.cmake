cmake_minimum_required(VERSION 3.22)
# Fails when BINARY defines a function of the C library's stdio (or the
# other calls a program might be tempted to replace): the dynamic symbols it
# exports and the symbols it defines at all.
set(replaced fopen fdopen freopen fclose fflush fread fwrite fputs fputc putc puts fgets fgetc
    getc fseek fseeko ftell ftello rewind fprintf vfprintf printf vprintf sprintf snprintf
    vsnprintf __fprintf_chk __vfprintf_chk __printf_chk __sprintf_chk __snprintf_chk
    __fwrite_chk __fread_chk __fgets_chk fputs_unlocked fwrite_unlocked write read open close
    malloc free realloc calloc)
foreach(mode "-D;--defined-only" "--defined-only")
  string(REPLACE ";" " " shown "${mode}")
  execute_process(COMMAND nm ${mode} ${BINARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE result
                  ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm ${shown} ${BINARY} failed: ${errors}")
  endif()
  string(REPLACE "\n" ";" lines "${symbols}")
  foreach(line IN LISTS lines)
    # "0000000000401234 T fwrite" (a symbol version, "fwrite@@GLIBC_2.2.5", counts too).
    if(line MATCHES "^[0-9a-fA-F]* *[TtWwi] ([A-Za-z_0-9]+)(@.*)?$")
      if(CMAKE_MATCH_1 IN_LIST replaced)
        message(FATAL_ERROR "${BINARY} defines ${CMAKE_MATCH_1} (nm ${shown}): ${line}")
      endif()
    endif()
  endforeach()
endforeach()
message(STATUS "no C library function defined in ${BINARY}")
