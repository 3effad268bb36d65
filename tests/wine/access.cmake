# The accessibility tests are clients of the system's accessibility interface.
target_link_libraries(wine_htmlaccess_test PRIVATE oleacc ole32 oleaut32)
add_dependencies(wine_htmlaccess_test mirel_fake_browser)
