find_path(VYN_CMINPACK_INCLUDE cminpack.h PATH_SUFFIXES cminpack-1)
target_include_directories(${name} PRIVATE ${VYN_CMINPACK_INCLUDE})
target_link_libraries(${name} PRIVATE vyn_calibration cminpack)
