target_link_libraries(${name} PRIVATE vyn_evaluator)
# Lexer, parser and operators live in the library: instrument it so that the fuzzer sees
# their branches and the sanitizers their memory.
target_compile_options(vyn_evaluator PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
