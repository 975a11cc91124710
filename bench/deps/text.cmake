# The text benchmark renders through FreeType directly for its uncached baseline.
target_link_libraries(vorn-bench-${name} PRIVATE PkgConfig::FREETYPE)
