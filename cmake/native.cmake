# The native build: the core with the fake platform, unit tests and benchmarks.
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

folvane_layer(folvane_fake platform/fake folvane_platform)

# One test program per folder of tests/, linked against the layer of the same name (and what
# that layer builds on), or against the whole program when no layer has that name.
# The watch is tested inside the real main window, which the program's layer builds: the watch
# tests link the whole program too.
set(whole_program_tests app watch)
file(GLOB test_dirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/tests/*)
foreach(dir ${test_dirs})
  if(IS_DIRECTORY ${dir})
    get_filename_component(layer ${dir} NAME)
    # tests/wine belongs to the Windows build and runs under Wine (cmake/wine_tests.cmake);
    # tests/support holds the headers that test programs share (the program with its scripted
    # user, the message box check) and is no test program of its own.
    if(layer STREQUAL "wine" OR layer STREQUAL "support")
      continue()
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(sources)
      add_executable(${layer}_tests ${sources})
      set(under_test folvane_app)
      if(TARGET folvane_${layer} AND NOT layer IN_LIST whole_program_tests)
        set(under_test folvane_${layer})
      endif()
      target_link_libraries(${layer}_tests PRIVATE ${under_test} folvane_fake GTest::gtest_main)
      add_test(NAME ${layer} COMMAND ${layer}_tests)
    endif()
  endif()
endforeach()

if(benchmark_FOUND)
  file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench/*.cpp)
  if(bench_sources)
    add_executable(folvane_bench ${bench_sources})
    target_link_libraries(folvane_bench PRIVATE folvane_app folvane_fake benchmark::benchmark
                                                benchmark::benchmark_main)
  endif()
endif()

# Every input that once broke a fuzz target (kept in fuzz/findings/TARGET) is replayed through
# that target by a native test. The targets split their input with libFuzzer's header, which
# clang brings; without it these tests are left out.
file(GLOB fuzzed_data_provider /usr/lib/llvm-*/lib/clang/*/include/fuzzer/FuzzedDataProvider.h)
file(GLOB finding_dirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/findings/*)
foreach(dir ${finding_dirs})
  get_filename_component(target ${dir} NAME)
  file(GLOB findings CONFIGURE_DEPENDS ${dir}/*)
  if(NOT findings OR NOT fuzzed_data_provider)
    continue()
  endif()
  # Only that header, copied on its own: clang's other headers beside it are not for g++.
  list(GET fuzzed_data_provider -1 header)
  configure_file(${header} ${CMAKE_BINARY_DIR}/fuzz_include/fuzzer/FuzzedDataProvider.h COPYONLY)
  add_executable(${target}_findings ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${target}_fuzz.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/replay_findings.cpp)
  target_include_directories(${target}_findings SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/fuzz_include)
  target_link_libraries(${target}_findings PRIVATE folvane_store folvane_fake)
  add_test(NAME ${target}_findings COMMAND ${target}_findings ${findings})
endforeach()
