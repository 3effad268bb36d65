enable_language(RC)

set(MIREL_WIN_LIBS user32 gdi32 advapi32 shell32)
set(MIREL_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
# Library code, in the DLL and in every program that links its objects:
# nothing throws or asks for a type at run time, and each function and datum
# has a section of its own, which the DLL's link drops when nothing uses it.
set(MIREL_LIBRARY_FLAGS -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections)
# x86_64 Windows walks stacks through the unwind tables (its ABI needs them);
# on i686 only a C++ unwinder would read them, and nothing throws.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND MIREL_LIBRARY_FLAGS -fno-asynchronous-unwind-tables)
endif()
# The DLL links the C runtime only: a C++ runtime or thread library that creeps
# back in shows as an undefined symbol.
set(MIREL_DLL_RUNTIME mingw32 gcc moldname mingwex msvcrt kernel32)

set(MIREL_GLOBS)
foreach(dir ${MIREL_SUBSYSTEM_DIRS})
  list(APPEND MIREL_GLOBS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
endforeach()
file(GLOB MIREL_ALL_SOURCES CONFIGURE_DEPENDS ${MIREL_GLOBS})
# DLL-only: the entry point and the objects that static initialisation builds at load.
set(MIREL_DLL_ONLY_SOURCES
  ${CMAKE_SOURCE_DIR}/dialog/DllMain.cpp
  ${CMAKE_SOURCE_DIR}/dialog/DllRuntime.cpp
  ${CMAKE_SOURCE_DIR}/security/WorldAccessInstances.cpp)
list(REMOVE_ITEM MIREL_ALL_SOURCES ${MIREL_DLL_ONLY_SOURCES})

# Everything but the DLL-only sources, shared by the DLL and the test programs.
add_library(mirel_objects OBJECT ${MIREL_ALL_SOURCES})
target_include_directories(mirel_objects PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(mirel_objects PRIVATE ${MIREL_LIBRARY_FLAGS})

add_library(MirelDialog SHARED
  ${MIREL_DLL_ONLY_SOURCES}
  dialog/MirelDialog.def
  resources/MirelDialog.rc
  $<TARGET_OBJECTS:mirel_objects>)
target_include_directories(MirelDialog PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(MirelDialog PRIVATE ${MIREL_LIBRARY_FLAGS})
set_target_properties(MirelDialog PROPERTIES PREFIX "" OUTPUT_NAME MirelDialog)
target_link_libraries(MirelDialog PRIVATE ${MIREL_WIN_LIBS} ${MIREL_DLL_RUNTIME})
target_link_options(MirelDialog PRIVATE -nodefaultlibs -static -Wl,--enable-stdcall-fixup -Wl,--gc-sections
  -Wl,--subsystem,windows)
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  target_link_options(MirelDialog PRIVATE -s)
endif()

# ld writes the 32-bit import library with undecorated names, which a stdcall
# caller cannot link against; dlltool writes the decorated names that import
# the undecorated exports.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_custom_command(TARGET MirelDialog POST_BUILD
    COMMAND ${CMAKE_DLLTOOL} -k -D MirelDialog.dll -d ${CMAKE_SOURCE_DIR}/dialog/MirelDialog32.def
      -l $<TARGET_LINKER_FILE:MirelDialog>
    VERBATIM)
endif()

# The console host: loads the DLL, calls RunMirelDialog, prints and returns the answer.
add_executable(mirelhost tools/mirelhost.c)
target_include_directories(mirelhost PRIVATE ${CMAKE_SOURCE_DIR}/include)
target_link_options(mirelhost PRIVATE -static)
add_dependencies(mirelhost MirelDialog)

# The example installers and the helper that answers their dialog.
include(cmake/Installers.cmake)
# The benchmark program, built always so that it keeps compiling.
include(tools/bench/bench.cmake)
# The 32-bit build checks the shipping DLL from the side of 32-bit hosts.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  include(tests/host32/host32.cmake)
endif()
include(tests/imports/imports.cmake)

if(MIREL_TESTS)
  include(cmake/WindowsTests.cmake)
endif()
