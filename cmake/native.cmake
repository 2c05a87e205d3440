# The native build: the core with the fake platform, unit tests and benchmarks.
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

folvane_layer(folvane_fake platform/fake folvane_platform)

# One test program per folder of tests/, linked against the layer of the same name (and what
# that layer builds on), or against the whole program when no layer has that name.
file(GLOB test_dirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/tests/*)
foreach(dir ${test_dirs})
  if(IS_DIRECTORY ${dir})
    get_filename_component(layer ${dir} NAME)
    # tests/wine belongs to the Windows build and runs under Wine (cmake/wine_tests.cmake).
    if(layer STREQUAL "wine")
      continue()
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(sources)
      add_executable(${layer}_tests ${sources})
      set(under_test folvane_app)
      if(TARGET folvane_${layer})
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
