# The built DLL's header and import table: Windows GUI in both builds, and the
# shipping i686 DLL imports exactly the functions of MirelDialog32.imports.
# Like the host import checks it reads files only (label static), so it runs
# also where no Windows program can.
enable_testing()
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(name win32_dll_imports)
  set(allowed_arg -DALLOWED=${CMAKE_CURRENT_LIST_DIR}/MirelDialog32.imports)
else()
  set(name win64_dll_subsystem)
  set(allowed_arg)
endif()
add_test(NAME ${name}
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DDLL=$<TARGET_FILE:MirelDialog> ${allowed_arg}
    -P ${CMAKE_CURRENT_LIST_DIR}/CheckDllImports.cmake)
set_tests_properties(${name} PROPERTIES LABELS static)
