target_link_libraries(${name} PRIVATE vyn_setup_core)
# The parser lives in the library: instrument it so that the fuzzer sees its branches.
target_compile_options(vyn_setup_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
