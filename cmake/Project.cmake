# Helpers shared by every folder's CMakeLists.txt.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

# br_add_library(name SOURCES ... [DEPS ...] [PKG ...])
#   A static library whose headers are included by their path from the source root
#   ("platform/rt/utf8.h", "support/hash.h").
function(br_add_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
endfunction()

# br_add_gtest(name SOURCES ... [DEPS ...] [LABELS ...] [SANITIZE])
#   A GoogleTest executable registered with CTest test by test.
#   SANITIZE puts it in the sanitizer run (`make asan`).
find_package(GTest REQUIRED)
include(GoogleTest)
function(br_add_gtest name)
  cmake_parse_arguments(A "SANITIZE" "" "SOURCES;DEPS;LABELS" ${ARGN})
  if(A_SANITIZE)
    list(APPEND A_LABELS sanitize)
  endif()
  add_executable(${name} ${A_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/test_env.cpp)
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  # Every test program finds the source and build folders, and runs with no display and no sound
  # device, however it is started (see test_env.cpp).
  target_compile_definitions(${name} PRIVATE
    BR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" BR_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name}
    PROPERTIES LABELS "${A_LABELS}"
    DISCOVERY_TIMEOUT 60)
  if(A_SANITIZE)
    set_property(GLOBAL APPEND PROPERTY BR_ASAN_TARGETS ${name})
  endif()
endfunction()

# br_add_fuzz(name SOURCES ... [DEPS ...] CORPUS dir)
#   The sources define LLVMFuzzerTestOneInput. Every build makes `<name>_replay`, which feeds each
#   file of the corpus to it once, and registers that as a test; with BR_FUZZ (clang) the real
#   libFuzzer binary `<name>` is built as well.
function(br_add_fuzz name)
  cmake_parse_arguments(A "" "CORPUS" "SOURCES;DEPS" ${ARGN})
  add_executable(${name}_replay ${A_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/fuzz_replay.cpp)
  target_link_libraries(${name}_replay PRIVATE ${A_DEPS})
  target_include_directories(${name}_replay PRIVATE ${CMAKE_SOURCE_DIR})
  add_test(NAME fuzz_replay.${name} COMMAND ${name}_replay ${A_CORPUS})
  set_tests_properties(fuzz_replay.${name} PROPERTIES LABELS fuzz)
  if(BR_FUZZ)
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE ${A_DEPS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY BR_FUZZ_TARGETS ${name})
  endif()
endfunction()
