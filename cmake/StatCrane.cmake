# statcrane_module(NAME DEPS...): a static library from the *.cc files of the
# current folder, and (with STATCRANE_TESTS) a test program from its *_test.cc
# files. A file whose name ends in _windows.cc (or _windows_test.cc) is built
# for Windows only, one ending in _posix.cc (or _posix_test.cc) for the other
# systems only: the platform module's one file per system.
function(statcrane_module name)
  file(GLOB all_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc)
  set(lib_sources)
  set(test_sources)
  if(WIN32)
    set(other_system "_posix(_test)?\\.cc$")
  else()
    set(other_system "_windows(_test)?\\.cc$")
  endif()
  foreach(src IN LISTS all_sources)
    if(src MATCHES "${other_system}")
      continue()
    elseif(src MATCHES "_test\\.cc$")
      list(APPEND test_sources ${src})
    else()
      list(APPEND lib_sources ${src})
    endif()
  endforeach()
  add_library(statcrane_${name} STATIC ${lib_sources})
  target_include_directories(statcrane_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(statcrane_${name} PUBLIC ${ARGN})
  if(test_sources AND STATCRANE_TESTS)
    add_executable(${name}_tests ${test_sources})
    target_link_libraries(${name}_tests PRIVATE statcrane_${name} statcrane_testing GTest::gtest_main)
    statcrane_add_tests(${name}_tests)
  endif()
endfunction()

# statcrane_add_tests(TARGET [TIMEOUT seconds]): registers a GoogleTest
# program with CTest, each test on its own. A cross build registers the
# program as one test instead, run under CMAKE_CROSSCOMPILING_EMULATOR
# (Wine): one start of the emulator per program, not per test.
function(statcrane_add_tests target)
  cmake_parse_arguments(arg "" "TIMEOUT" "" ${ARGN})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 1500)
  endif()
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1 WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
    set_tests_properties(${target} PROPERTIES TIMEOUT ${arg_TIMEOUT})
  else()
    gtest_discover_tests(${target}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      PROPERTIES ENVIRONMENT "STATCRANE_SOURCE_DIR=${PROJECT_SOURCE_DIR};STATCRANE_BINARY_DIR=${PROJECT_BINARY_DIR}"
                 TIMEOUT ${arg_TIMEOUT}
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
