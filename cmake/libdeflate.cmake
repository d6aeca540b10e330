# libdeflate built from its sources, for a build that has no libdeflate
# library at hand: the Windows cross build, with the sources of Debian's
# source package (scripts/build-windows fetches them and passes
# -DSTATCRANE_LIBDEFLATE_SOURCE=DIR). Only compression, decompression and the
# checksums of its lib/ folder, with the x86 processor-feature detection, as
# its own Makefile builds the static library.
function(statcrane_libdeflate_from_source dir)
  if(NOT EXISTS ${dir}/libdeflate.h)
    message(FATAL_ERROR "STATCRANE_LIBDEFLATE_SOURCE: no libdeflate.h in ${dir}")
  endif()
  file(GLOB sources ${dir}/lib/*.c ${dir}/lib/x86/*.c)
  add_library(statcrane_libdeflate STATIC ${sources})
  set_target_properties(statcrane_libdeflate PROPERTIES C_STANDARD 99 C_EXTENSIONS ON)
  target_compile_options(statcrane_libdeflate PRIVATE -O2 -fomit-frame-pointer -w)
  target_include_directories(statcrane_libdeflate SYSTEM PUBLIC ${dir})
endfunction()
