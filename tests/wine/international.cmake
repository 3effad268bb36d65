# The international offers are read by an accessibility client, and run once
# more under the Japanese ANSI code page 932 (in a prefix of their own), where
# UTF-8 must survive a double-byte system and Japanese code-page text is drawn.
target_link_libraries(wine_international_test PRIVATE oleacc ole32 oleaut32)
add_test(NAME wine_international_test_cp932 COMMAND wine_international_test)
set_tests_properties(wine_international_test_cp932 PROPERTIES TIMEOUT 600 ENVIRONMENT
  "MIREL_LOCALE=ja_JP.UTF-8;MIREL_EXPECT_ACP=932;MIREL_WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix-932")
