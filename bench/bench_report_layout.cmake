target_link_libraries(${name} PRIVATE vyn_reports)
target_compile_definitions(${name} PRIVATE VYN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
