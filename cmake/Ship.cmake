# varnel_ship(<target>)
# What a user gets carries no debug data: after linking, the debug sections move
# into <file>.debug beside it, linked back by name so a debugger still finds
# them. Tests link the libraries with their debug data as before.
function(varnel_ship target)
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "objcopy not found: cannot strip ${target}")
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}>
            $<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --strip-unneeded
            --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
            $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
