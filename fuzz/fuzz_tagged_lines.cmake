target_link_libraries(${name} PRIVATE vyn_document)
# The tokenizer lives in the library: instrument it so that the fuzzer sees its branches and
# the sanitizers its memory.
target_compile_options(vyn_document PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
