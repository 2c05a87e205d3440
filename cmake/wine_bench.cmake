# Benchmarks of the real Folvane.exe under Wine: Windows programs that drive it with the
# end-to-end driver and print their figures. They are not tests; scripts/bench.sh runs them.
add_executable(folvane_lock_latency ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/lock_latency.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/e2e/driver.cpp)
target_include_directories(folvane_lock_latency PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
# The floor it measures the program against: the least guard that does the same job.
add_executable(folvane_null_guard WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/null_guard.cpp)
target_link_libraries(folvane_null_guard PRIVATE shell32)
# The same floor asking the Shell about folder windows through Folvane's own asker, built from
# the asker's sources alone so that it loads nothing else of Folvane's.
add_executable(folvane_null_shell_guard WIN32
  ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/null_guard.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/win32_shell_asker.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/win32_shell_folders.cpp)
target_include_directories(folvane_null_shell_guard PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(folvane_null_shell_guard PRIVATE FOLVANE_NULL_GUARD_ASKS_SHELL NOMINMAX)
target_link_libraries(folvane_null_shell_guard PRIVATE shell32 ole32 oleaut32 uuid)
# It finds the programs beside itself.
add_dependencies(folvane_lock_latency Folvane folvane_null_guard folvane_null_shell_guard)
# The same for another program's file dialogs: the stand-in common item dialog and the system's
# own Open dialog.
add_executable(folvane_dialog_latency ${CMAKE_CURRENT_SOURCE_DIR}/bench/wine/dialog_latency.cpp
                                      ${CMAKE_CURRENT_SOURCE_DIR}/e2e/driver.cpp
                                      ${CMAKE_CURRENT_SOURCE_DIR}/e2e/file_dialogs.cpp)
target_include_directories(folvane_dialog_latency PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(folvane_dialog_latency PRIVATE comdlg32)
add_dependencies(folvane_dialog_latency Folvane folvane_null_guard)
