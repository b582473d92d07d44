target_link_libraries(${name} PRIVATE vyn_evaluator)
# muparser, the peer for the purely arithmetic expressions.
find_package(PkgConfig REQUIRED)
if(NOT TARGET PkgConfig::MUPARSER)
  pkg_check_modules(MUPARSER REQUIRED IMPORTED_TARGET muparser)
endif()
target_link_libraries(${name} PRIVATE PkgConfig::MUPARSER)
