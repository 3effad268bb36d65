# Checks that a host program binds the library's functions by their plain
# names: a decorated name ("RunMirelDialog@4") would not be found in the DLL
# and the host would fail to load.
#   cmake -DOBJDUMP=... -DPROGRAM=host.exe -P CheckImports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM}
  OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM}")
endif()

string(REGEX MATCH "DLL Name: MirelDialog\\.dll\n[^\n]*\n(([ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+[^\n]*\n)*)" block "${dump}")
if(NOT block)
  message(FATAL_ERROR "${PROGRAM} does not import MirelDialog.dll")
endif()
set(imports "${CMAKE_MATCH_1}")
string(REGEX REPLACE "[ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+([^\n]*)\n" "\\1;" names "${imports}")
list(SORT names)
if(NOT names STREQUAL "GetDialogObject;RunMirelDialog;RunMirelDialogW")
  message(FATAL_ERROR "${PROGRAM} imports from MirelDialog.dll: ${names}")
endif()
message(STATUS "${PROGRAM}: imports ${names}")
