# The fuzz build (clang, -DFOLVANE_FUZZ=ON, in its own build folder): the core with the fake
# platform, and one libFuzzer program per fuzz/*_fuzz.cpp. scripts/fuzz.sh builds and runs them.
folvane_layer(folvane_fake platform/fake folvane_platform)

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(source ${fuzz_sources})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE folvane_store folvane_fake)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()
