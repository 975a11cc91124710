target_link_libraries(vorn-bench-${name} PRIVATE PkgConfig::PUGIXML)
