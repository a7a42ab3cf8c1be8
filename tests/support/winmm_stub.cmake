# Included by cmake/Testing.cmake, so every test area can call this whatever
# the order in which the areas are added; the target winmm_stub itself is
# defined in tests/support/winmm_stub.
#
# varnel_copy_winmm_stub(<target> [WITH <exe-target>...])
#   Copies the recording winmm.dll beside <target>'s executable after each
#   build, and with WITH also the named program executables (for example
#   Varnel), so that they run against the stand-in from that folder. When a
#   test of the same name exists (varnel_add_test), its environment makes
#   Wine load the local winmm.dll.
#
# Never copy the stand-in beside the shipped programs' own build output:
# there it would replace the platform's MIDI for a normal run.
#
# VARNEL_WINMM_STUB_OVERRIDES is the WINEDLLOVERRIDES value to use (for
# scripts or own add_test calls).
set(VARNEL_WINMM_STUB_OVERRIDES "winmm=n,b;mscoree,mshtml=")

function(varnel_copy_winmm_stub target)
  cmake_parse_arguments(S "" "" "WITH" ${ARGN})
  set(files $<TARGET_FILE:winmm_stub>)
  foreach(exe IN LISTS S_WITH)
    list(APPEND files $<TARGET_FILE:${exe}>)
  endforeach()
  # A target of its own, so a rebuilt stand-in or program is copied again
  # even when <target> itself does not relink.
  add_custom_target(${target}_winmm_stub ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${files} $<TARGET_FILE_DIR:${target}>
    VERBATIM)
  add_dependencies(${target}_winmm_stub winmm_stub ${S_WITH})
  add_dependencies(${target} ${target}_winmm_stub)
  if(VARNEL_RUNS_TESTS AND TEST ${target})
    # The semicolon belongs to the value: escape it from CMake's list split.
    string(REPLACE ";" "\\;" overrides "${VARNEL_WINMM_STUB_OVERRIDES}")
    set_property(TEST ${target} APPEND PROPERTY ENVIRONMENT "WINEDLLOVERRIDES=${overrides}")
  endif()
endfunction()
