# The export test reads the library built beside it.
add_dependencies(wine_exports_test MirelDialog)
