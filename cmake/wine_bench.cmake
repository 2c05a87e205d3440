# Benchmarks of the real Folvane.exe under Wine: Windows programs that drive it with the
# end-to-end driver and print their figures. They are not tests; scripts/bench.sh runs them.
add_executable(folvane_lock_latency ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/lock_latency.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/e2e/driver.cpp)
target_include_directories(folvane_lock_latency PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
# The floor it measures the program against: the least guard that does the same job.
add_executable(folvane_null_guard WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/null_guard.cpp)
target_link_libraries(folvane_null_guard PRIVATE shell32)
# It finds both programs beside itself.
add_dependencies(folvane_lock_latency Folvane folvane_null_guard)
