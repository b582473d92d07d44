target_link_libraries(${name} PRIVATE vyn_document)
# The reader and the plate and calibration it fills are instrumented, so that the fuzzer sees
# their branches and the sanitizers their memory.
target_compile_options(vyn_document PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_compile_options(vyn_plate PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_compile_options(vyn_calibration PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
