# The stand-in web browser that the launcher tests start.
add_executable(mirel_fake_browser ${CMAKE_SOURCE_DIR}/tests/wine/FakeBrowser.cpp)
target_link_options(mirel_fake_browser PRIVATE ${MIREL_STATIC_RUNTIME})
add_dependencies(wine_BrowserUtils_test mirel_fake_browser)

# The load test loads the library itself.
add_dependencies(wine_WorldAccessLoad_test MirelDialog)

# Link clicks start the fake browser too; a copy of the library is planted
# beside the program as oleacc.dll.
add_dependencies(wine_HtmlLinks_test mirel_fake_browser MirelDialog)
