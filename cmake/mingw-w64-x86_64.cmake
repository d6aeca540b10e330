# Cross build for 64-bit Windows with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix: posix threads, for std::thread):
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# or scripts/build-windows, which installs what the build needs first.
# Programs are linked statically (the C and C++ runtimes and winpthreads
# inside), so they import only the system's DLLs. A GUI program links the
# system libraries it needs by name (comctl32, ole32, shell32, uxtheme, ...)
# and takes a manifest and a resource file (.rc, compiled by windres).
# Programs built here run under Wine for tests (CMAKE_CROSSCOMPILING_EMULATOR).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(STATCRANE_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${STATCRANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STATCRANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${STATCRANE_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW-w64 tree only, never from the
# build machine's /usr/include or /usr/lib; tools from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${STATCRANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(STATCRANE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT STATCRANE_WINE64)
  find_program(STATCRANE_WINE64 NAMES wine64 wine)
endif()
if(STATCRANE_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${STATCRANE_WINE64})
endif()
