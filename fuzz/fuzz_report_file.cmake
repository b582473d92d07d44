target_link_libraries(${name} PRIVATE vyn_reports)
target_compile_options(vyn_reports PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
