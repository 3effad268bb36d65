# A host in C that uses only the public header and the built 64-bit library.
add_executable(wine_chost_test ${CMAKE_SOURCE_DIR}/tests/wine/chost/chost.c)
target_include_directories(wine_chost_test PRIVATE ${CMAKE_SOURCE_DIR}/include)
target_link_libraries(wine_chost_test PRIVATE user32)
target_link_options(wine_chost_test PRIVATE -static)
add_dependencies(wine_chost_test MirelDialog)
add_test(NAME wine_chost_test COMMAND wine_chost_test)
set_tests_properties(wine_chost_test PROPERTIES TIMEOUT 120)
