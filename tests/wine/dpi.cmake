# The DPI cases once more in prefixes whose screens have 120, 144 and 192 dots
# per inch (tools/wine-env.sh writes LogPixels when it makes such a prefix);
# the program fails when its prefix reports another DPI.
foreach(dpi 120 144 192)
  set(prefix ${CMAKE_BINARY_DIR}/wine-prefix-dpi${dpi})
  add_test(NAME wine_dpi_test_${dpi} COMMAND wine_dpi_test)
  set_tests_properties(wine_dpi_test_${dpi} PROPERTIES TIMEOUT 600 ENVIRONMENT
    "MIREL_WINE_DPI=${dpi};MIREL_EXPECT_DPI=${dpi};MIREL_WINEPREFIX=${prefix};MIREL_WINE32PREFIX=${prefix}")
endforeach()
