# Helpers shared by every subsystem's CMakeLists.txt.
#
#   norvi_library(name SOURCES ... [LIBS ...])       static library, warnings as errors
#   norvi_test(name SOURCES ... [LIBS ...] [GUI])    GoogleTest program, one CTest test;
#                                                    GUI tests run on a virtual display
#   norvi_benchmark(name SOURCES ... [LIBS ...])     Google Benchmark program (native only)
#   norvi_fuzzer(name SOURCES ... [LIBS ...])        libFuzzer target (NORVI_FUZZ only), run as a
#                                                    CTest test labelled fuzz for a bounded time
#
# Under the win32 configuration tests run through Wine with a private 32-bit prefix that
# tools/wine-run.sh creates once in this build tree.

set(NORVI_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(NORVI_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# Generated artwork (pictures, icons) lands here; the res/ folder owns the target that makes it.
set(NORVI_ART_DIR ${CMAKE_BINARY_DIR}/art)

if(WIN32)
  set(NORVI_WINEARCH win32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(NORVI_WINEARCH win64)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${NORVI_ROOT}/tools/wine-run.sh;--prefix;${NORVI_WINEPREFIX};--arch;${NORVI_WINEARCH})
  # Unicode Win32 API throughout; Windows 7 is the oldest system served.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

set(NORVI_WARNINGS -Wall -Wextra -Werror)

if(NORVI_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(NORVI_FUZZ)
  # Coverage instrumentation for everything a fuzzer links; the fuzzer adds its own main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

function(norvi_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${NORVI_ROOT})
  target_compile_options(${name} PRIVATE ${NORVI_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# The environment every test runs in; GUI tests also get a virtual display from wine-run.sh.
function(norvi_test_environment out gui)
  set(env "NORVI_SOURCE_DIR=${NORVI_ROOT}" "NORVI_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
  if(gui)
    list(APPEND env "NORVI_GUI=1")
  endif()
  set(${out} "${env}" PARENT_SCOPE)
endfunction()

# A test program. With EACH_CASE, every test case found in those sources runs as a CTest test
# in a process of its own, so that what one case leaves in the process (Wine's state after
# real input especially) cannot decide the next. LABELS adds CTest labels ("gui" comes with GUI).
function(norvi_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS;EACH_CASE;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${NORVI_ROOT})
  target_compile_options(${name} PRIVATE ${NORVI_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  if(ARG_EACH_CASE)
    include(GoogleTest)
    gtest_add_tests(TARGET ${name} SOURCES ${ARG_EACH_CASE} TEST_PREFIX "${name}." TEST_LIST tests)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set(tests ${name})
  endif()
  norvi_test_environment(env "${ARG_GUI}")
  if(ARG_GUI)
    list(APPEND ARG_LABELS gui)
    set_tests_properties(${tests} PROPERTIES RESOURCE_LOCK display)
  endif()
  if(ARG_LABELS)
    set_tests_properties(${tests} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  set_tests_properties(${tests} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
  set(${name}_TESTS "${tests}" PARENT_SCOPE)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-output)
endfunction()

function(norvi_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT NORVI_BENCHMARKS OR WIN32)
    return()
  endif()
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${NORVI_ROOT})
  target_compile_options(${name} PRIVATE ${NORVI_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()

function(norvi_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT NORVI_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${NORVI_ROOT})
  target_compile_options(${name} PRIVATE ${NORVI_WARNINGS} -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  # New inputs collect in the build tree; checked-in seeds, where a target has them, are read too.
  set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  set(dirs ${corpus})
  if(EXISTS ${NORVI_ROOT}/tests/fuzz/seeds/${name})
    list(APPEND dirs ${NORVI_ROOT}/tests/fuzz/seeds/${name})
  endif()
  add_test(NAME ${name}
    COMMAND ${name} -max_total_time=${NORVI_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 ${dirs})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()
