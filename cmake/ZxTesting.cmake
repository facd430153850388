find_package(GTest REQUIRED)
include(GoogleTest)

# Shared test main and helpers: the environment every test runs in (offscreen
# Qt, an output directory in the build tree) is set there, not per test.
add_library(zx_test_support STATIC ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp
                                   ${PROJECT_SOURCE_DIR}/tests/support/TestSupport.cpp)
target_include_directories(zx_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests/support)
target_compile_definitions(zx_test_support PRIVATE ZX_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test-output")
target_link_libraries(zx_test_support PUBLIC GTest::gtest)

# zx_add_test(<target> LABEL <layer> SOURCES <files...> LIBS <libraries...>)
# Every test case becomes a CTest test carrying the label of its layer; a
# test that hangs fails after two minutes instead of stalling the run.
function(zx_add_test target)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} zx_test_support)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 120)
endfunction()
