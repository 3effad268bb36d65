# GoogleTest from the Debian package's sources, built with the cross compiler.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${MIREL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB MIREL_WIN_SUPPORT CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/support/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/win/*.cpp)
add_library(mirel_test_support STATIC ${MIREL_WIN_SUPPORT})
target_include_directories(mirel_test_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(mirel_test_support PUBLIC gtest ${MIREL_WIN_LIBS})

function(mirel_windows_test name source)
  add_executable(${name} ${source} ${ARGN} $<TARGET_OBJECTS:mirel_objects>
    ${CMAKE_SOURCE_DIR}/resources/MirelDialog.rc
    ${CMAKE_SOURCE_DIR}/tests/resources/TestResources.rc)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE mirel_test_support ${MIREL_WIN_LIBS})
  target_link_options(${name} PRIVATE ${MIREL_STATIC_RUNTIME})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# Shared unit tests: the same sources run natively and here under Wine.
file(GLOB MIREL_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*_test.cpp)
foreach(source ${MIREL_UNIT_TESTS})
  get_filename_component(stem ${source} NAME_WE)
  mirel_windows_test(win_${stem} ${source})
endforeach()

# The string, parameter and parser tests once more under the Japanese ANSI
# code page, whose double-byte characters may end in a backslash, "|" or "@", in a
# prefix of their own; the run fails unless the code page really is 932.
foreach(stem cmsstring_test parameters_test htmlparser_test)
  add_test(NAME win_${stem}_cp932 COMMAND win_${stem})
  set_tests_properties(win_${stem}_cp932 PROPERTIES TIMEOUT 600 ENVIRONMENT
    "MIREL_LOCALE=ja_JP.UTF-8;MIREL_EXPECT_ACP=932;MIREL_WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix-932")
endforeach()

# Tests that need windows, GDI, the registry or processes.
file(GLOB MIREL_WINE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*_test.cpp)
foreach(source ${MIREL_WINE_TESTS})
  get_filename_component(stem ${source} NAME_WE)
  mirel_windows_test(wine_${stem} ${source})
endforeach()

file(GLOB MIREL_WINE_CMAKE CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cmake)
foreach(extra ${MIREL_WINE_CMAKE})
  include(${extra})
endforeach()

# tools/wine32-run.sh exits 77 when Wine's own messages show that emulated
# 32-bit Wine failed (qemu-user); such a run counts as skipped, with them.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  get_property(mirel_tests DIRECTORY PROPERTY TESTS)
  set_tests_properties(${mirel_tests} PROPERTIES SKIP_RETURN_CODE 77)
endif()
