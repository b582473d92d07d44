target_link_libraries(${name} PRIVATE vyn_readers)
