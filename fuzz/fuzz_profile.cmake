target_link_libraries(${name} PRIVATE vyn_platform_core)
