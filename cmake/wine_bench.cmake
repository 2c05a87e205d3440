# Benchmarks of the real Folvane.exe under Wine: Windows programs that drive it with the
# end-to-end driver and print their figures. They are not tests; scripts/bench.sh runs them.
if(NOT TARGET Folvane)
  return()
endif()

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/lock_latency.cpp)
  add_executable(folvane_lock_latency ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/lock_latency.cpp
                                      ${CMAKE_CURRENT_SOURCE_DIR}/e2e/driver.cpp)
  target_include_directories(folvane_lock_latency PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  # The floor it measures the program's idle cost against.
  add_executable(folvane_null_program WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/null_program.cpp)
  # It finds both programs beside itself.
  add_dependencies(folvane_lock_latency Folvane folvane_null_program)
endif()
