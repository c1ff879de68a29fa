# Shared helpers for module libraries, tests, fuzzers and benchmarks.

set(TESSARY_TESTDATA_DIR "${CMAKE_SOURCE_DIR}/../shared/testdata" CACHE PATH
    "Read-only outside test data (PngSuite, Exif samples)")

# Test and fuzz programs are compiled with line tables only, and in the normal build without
# optimisation: what they exercise is in the libraries, built as configured, and most of
# their compile is reading headers. (The sanitizer build keeps its -O1: its checks make
# unoptimised pixel loops in tests many times slower.)
# With GCC they share precompiled Qt and GoogleTest headers (tests/common/CMakeLists.txt
# makes them); a header that cannot be used fails the build (-Winvalid-pch with -Werror).
set(TESSARY_TEST_COMPILE_OPTIONS "$<$<CONFIG:RelWithDebInfo>:-O0>;$<$<CONFIG:RelWithDebInfo,Debug>:-g1>")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(TESSARY_TEST_PCH ON)
else()
  set(TESSARY_TEST_PCH OFF)
endif()

# The settings every test program is compiled with; `pch` names the precompiled headers.
function(tessary_test_compile name pch)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    TESSARY_TESTDATA_DIR="${TESSARY_TESTDATA_DIR}"
    TESSARY_BINARY_DIR="${CMAKE_BINARY_DIR}")
  target_compile_options(${name} PRIVATE ${TESSARY_TEST_COMPILE_OPTIONS})
  if(TESSARY_TEST_PCH AND TARGET ${pch} AND NOT name STREQUAL pch)
    target_precompile_headers(${name} REUSE_FROM ${pch})
  endif()
endfunction()

# tessary_gtest(<name> [QT_CORE_APP | QT_GUI_APP] SOURCES ... LIBS ...): a GoogleTest suite
# run by CTest. QT_CORE_APP / QT_GUI_APP give it a main() that first makes a QCoreApplication
# or an offscreen QGuiApplication.
function(tessary_gtest name)
  cmake_parse_arguments(ARG "QT_CORE_APP;QT_GUI_APP" "" "SOURCES;LIBS" ${ARGN})
  if(ARG_QT_GUI_APP)
    add_executable(${name} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/common/GTestMainGui.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest Qt6::Gui)
  elseif(ARG_QT_CORE_APP)
    add_executable(${name} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/common/GTestMainCore.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest Qt6::Core)
  else()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  tessary_test_compile(${name} tessary_gtest_pch)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS core
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# tessary_qtest(<name> SOURCES ... LIBS ...): a Qt Test suite for widgets, run offscreen.
function(tessary_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  tessary_test_compile(${name} tessary_qtest_pch)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS gui
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# tessary_fuzzer(<name> SOURCES ... LIBS ... [SECONDS n]): a libFuzzer harness with a short
# run registered as a test, starting from a seed corpus made by the harness itself.
function(tessary_fuzzer name)
  cmake_parse_arguments(ARG "" "SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 10)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${TESSARY_TEST_COMPILE_OPTIONS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set(corpus "${CMAKE_BINARY_DIR}/fuzz-corpus/${name}")
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer.sh $<TARGET_FILE:${name}> ${corpus} ${ARG_SECONDS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()

# tessary_bench(<name> SOURCES ... LIBS ...): a Google Benchmark program (not run by CTest).
function(tessary_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE
    TESSARY_TESTDATA_DIR="${TESSARY_TESTDATA_DIR}")
endfunction()
