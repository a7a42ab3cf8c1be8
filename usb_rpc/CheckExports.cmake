# Fails the build when the DLL exports anything but the one undecorated entry.
# Run with -DOBJDUMP=<objdump> -DDLL=<dll>.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[^\n]*\n)*)" table "${dump}")
set(entries "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "\\][ \t]+[^ \t\n]+" names "${entries}")
list(TRANSFORM names REPLACE "\\][ \t]+" "")
if(NOT names STREQUAL "HalvexRpcGetInterface")
  message(FATAL_ERROR "${DLL} exports [${names}], expected only HalvexRpcGetInterface")
endif()
