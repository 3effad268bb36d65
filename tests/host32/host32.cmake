# The 32-bit hosts: C programs that know the library only through the public
# header and link against the i686 import library, once with the header's
# thiscall declarations and once as a compiler without them reads it. They run
# only where 32-bit Windows programs run (tools/test32.sh); their builds and
# import tables are checked always.
enable_testing()

function(mirel_host32 name)
  add_executable(${name} ${CMAKE_SOURCE_DIR}/tests/host32/host32.c)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/include)
  target_compile_definitions(${name} PRIVATE ${ARGN})
  # The stack checks need every pop right after its call.
  target_compile_options(${name} PRIVATE -fno-defer-pop -Werror=incompatible-pointer-types)
  target_link_libraries(${name} PRIVATE MirelDialog user32)
  target_link_options(${name} PRIVATE -static)
  add_test(NAME win32_${name}_imports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:${name}>
      -P ${CMAKE_SOURCE_DIR}/tests/host32/CheckImports.cmake)
  set_tests_properties(win32_${name}_imports PROPERTIES LABELS static)
endfunction()

mirel_host32(host32)
mirel_host32(host32_fastcall HOST32_AS_MSVC)
