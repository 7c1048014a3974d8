# SPDX-License-Identifier: MIT
# verasco_add_test(NAME SOURCES a.cpp b.cpp LIBS lib... [GUI])
# A GoogleTest program registered with CTest. Tests marked GUI open windows (offscreen platform),
# carry the label "gui" and are built only with VERASCO_GUI; the others carry the label "nogui".
# Every test reads English, whatever the desktop's language (LANGUAGE=en).
if(DEFINED ENV{VERASCO_TESTDATA})
  set(VERASCO_TESTDATA $ENV{VERASCO_TESTDATA})
elseif(NOT DEFINED VERASCO_TESTDATA)
  set(VERASCO_TESTDATA ${CMAKE_SOURCE_DIR}/../shared/testdata)
endif()
# Without "..", so that paths the program makes absolute compare equal to the tests' own.
get_filename_component(VERASCO_TESTDATA "${VERASCO_TESTDATA}" ABSOLUTE)

# The entry of test programs that make widgets without a main of their own.
set(VERASCO_GUI_TEST_MAIN ${CMAKE_SOURCE_DIR}/tests/support/gui_test_main.cpp)

function(verasco_add_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(T_GUI AND NOT VERASCO_GUI)
    return()
  endif()
  # Each test program has a thumbnail cache of its own (tests/support/private_thumbnail_cache.cpp).
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/private_thumbnail_cache.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE
    VERASCO_TESTDATA="${VERASCO_TESTDATA}"
    VERASCO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VERASCO_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  # Only a ceiling for a test that hangs: the sanitizer build on a busy machine takes minutes over the
  # archive peers and the stand-alone head.
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 1200)
  endif()
  set(labels nogui)
  if(T_GUI)
    set(labels gui)
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${labels}" TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VERASCO_TESTDATA=${VERASCO_TESTDATA};LANGUAGE=en")
endfunction()

# verasco_add_fuzzer(NAME SOURCE file.cpp LIBS lib... [SAMPLES dir...])
# SAMPLES are folders of sample inputs (for example under the shared test data) that start the corpus.
function(verasco_add_fuzzer name)
  cmake_parse_arguments(F "" "SOURCE" "LIBS;SAMPLES" ${ARGN})
  add_executable(${name} ${F_SOURCE})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz/bin)
  string(JOIN " " samples ${F_SAMPLES})
  set_property(GLOBAL APPEND PROPERTY VERASCO_FUZZERS "${name} ${samples}")
endfunction()

# verasco_add_bench(NAME SOURCES a.cpp LIBS lib...): a Google Benchmark program run by scripts/bench.
function(verasco_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench/support)
  target_compile_definitions(${name} PRIVATE
    VERASCO_TESTDATA="${VERASCO_TESTDATA}" VERASCO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VERASCO_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench/bin)
endfunction()
