# One test executable per area; each runs once under Wine (not once per case).
if(VARNEL_TESTS)
  find_package(GTest CONFIG REQUIRED)
  enable_testing()
endif()

# varnel_add_test(<name> SOURCES ... [LIBS ...] [OWN_MAIN] [DISPLAY])
#   OWN_MAIN: the sources bring main() (for an ordered start-up of the units).
#   DISPLAY:  the test shows windows; such tests never run side by side.
function(varnel_add_test name)
  cmake_parse_arguments(T "OWN_MAIN;DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest)
  if(NOT T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(VARNEL_RUNS_TESTS)
    add_test(NAME ${name} COMMAND wine $<TARGET_FILE:${name}> --gtest_brief=1
             WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
    if(T_DISPLAY)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    endif()
  endif()
endfunction()
include(${PROJECT_SOURCE_DIR}/tests/support/winmm_stub.cmake)
