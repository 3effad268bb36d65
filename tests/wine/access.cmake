# The accessibility tests are clients of the system's accessibility interface.
target_link_libraries(wine_htmlaccess_test PRIVATE oleacc ole32 oleaut32)
add_dependencies(wine_htmlaccess_test mirel_fake_browser)
# The example offer is read from the source tree.
target_compile_definitions(wine_htmlaccess_test PRIVATE MIREL_EXAMPLE_OFFER="${CMAKE_SOURCE_DIR}/examples/offer.txt")
