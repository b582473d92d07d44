target_link_libraries(${name} PRIVATE vyn_document)
# The codec and the import live in the libraries: instrument them so that the fuzzer sees
# their branches and the sanitizers their memory.
target_compile_options(vyn_document PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_compile_options(vyn_plate PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
