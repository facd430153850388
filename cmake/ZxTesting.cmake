find_package(GTest REQUIRED)
include(GoogleTest)

# zx_add_test(<target> LABEL <layer> SOURCES <files...> LIBS <libraries...>)
# Every test case becomes a CTest test carrying the label of its layer.
function(zx_add_test target)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${ARG_LABEL}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QPA_PLATFORMTHEME=;ZX_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
endfunction()
