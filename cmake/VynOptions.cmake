# Compiler flags shared by every target of the project.
add_compile_options(-Wall -Wextra -fno-fast-math)
if(VYN_WERROR)
  add_compile_options(-Werror)
endif()
if(VYN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  # GCC's object-size and flow warnings misread the sanitizers' instrumentation once the code is
  # optimised (a memset "bound" of 2^64 - 31 in the standard library); the normal build keeps
  # them as errors.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-stringop-overflow -Wno-stringop-overread -Wno-array-bounds -Wno-maybe-uninitialized)
  endif()
endif()
if(VYN_FUZZ)
  # Every library a fuzz target reaches is instrumented, so that the fuzzer sees its branches
  # and the sanitizers its memory; any sanitizer report ends the run with an artifact.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Unity builds: every library and program is compiled in batches of its sources, so the
# standard library, GoogleTest and Qt headers are parsed once a batch rather than once a file,
# which more than halves the CPU time of a clean build. The files of a batch share one
# translation unit: names at file scope (in an anonymous namespace, static, or brought in by a
# using-directive) must then differ between the files of a target. Where two files need the
# same name, give the one file the source property SKIP_UNITY_BUILD_INCLUSION in the folder's
# CMakeLists.txt; -DVYN_UNITY=OFF compiles file by file.
option(VYN_UNITY "Compile each target in batches of its sources" ON)
if(VYN_UNITY)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE 16)
  # A test fixture in an anonymous namespace is fine in its own file; included into a batch it
  # would be reported as a base of internal linkage in a "header".
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-subobject-linkage)
  endif()
endif()

# A faster linker where one is installed (scripts/install-deps.sh brings mold), else the default.
include(CheckLinkerFlag)
foreach(linker mold lld)
  check_linker_flag(CXX -fuse-ld=${linker} VYN_HAVE_LINKER_${linker})
  if(VYN_HAVE_LINKER_${linker})
    add_link_options(-fuse-ld=${linker})
    break()
  endif()
endforeach()

# vyn_add_library(name DIR dir [DEPS ...]): one library per source folder, sources globbed
# so that adding a file needs no edit here.
function(vyn_add_library name)
  cmake_parse_arguments(A "" "" "DEPS;SOURCES" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  # A subfolder with a CMakeLists.txt of its own is a library of its own: its sources are not
  # compiled into this one as well.
  file(GLOB_RECURSE sublists ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(sublist ${sublists})
    get_filename_component(subdir ${sublist} DIRECTORY)
    string(REGEX REPLACE "([][+.*()^$?|\\])" "\\\\\\1" subdir "${subdir}")
    list(FILTER srcs EXCLUDE REGEX "^${subdir}/")
  endforeach()
  if(NOT srcs AND NOT A_SOURCES)
    return()  # a folder that has no sources yet
  endif()
  add_library(${name} STATIC ${srcs} ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_DEPS})
endfunction()

# vyn_add_test(name LABEL label [GUI] DEPS ...): one GoogleTest executable, registered with CTest.
function(vyn_add_test name)
  cmake_parse_arguments(A "GUI" "LABEL" "DEPS;SOURCES" ${ARGN})
  if(A_SOURCES)
    set(srcs ${A_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  # GUI programs share one entry point that sets up Qt (offscreen unless told otherwise).
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(NOT srcs)
    return()  # a test folder that has no tests yet
  endif()
  add_executable(${name} ${srcs})
  if(A_GUI)
    target_link_libraries(${name} PRIVATE ${A_DEPS} vyn_gui_test_main GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gtest_main)
  endif()
  # The test programs are thin drivers of the libraries: lightly optimised they compile markedly
  # faster, while the code under test keeps the build's optimisation.
  target_compile_options(${name} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-O1>)
  target_compile_definitions(${name} PRIVATE VYN_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
                                             VYN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(labels ${A_LABEL})
  set(env "")
  if(VYN_SANITIZE)
    list(APPEND env "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
  endif()
  if(A_GUI)
    list(APPEND labels gui)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  # Properties with several values do not survive the discovery script, so they are set by
  # a file that ctest includes after the discovered test list.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_LIST ${name}_TESTS)
  set(props ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  file(WRITE ${props}
       "if(DEFINED ${name}_TESTS)\n"
       "  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${labels}\" ENVIRONMENT \"${env}\")\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${props})
endfunction()
