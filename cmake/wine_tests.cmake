# Tests that run under Wine: GoogleTest built with mingw, the tests of the Windows layer against
# the system (tests/wine), and the end-to-end driver that plays the user against Folvane.exe.
file(GLOB wine_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/wine/*.cpp)
file(GLOB e2e_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/e2e/*.cpp)

# GoogleTest from the Debian sources, compiled by the cross compiler; only the library.
set(FOLVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources built with mingw")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${FOLVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main)
  # Its own sources are not ours to keep warning-free; its headers are system headers to us.
  target_compile_options(${target} PRIVATE -w)
endforeach()

# The string table of the title forms' test: the file manager's forms where explorerframe.dll
# keeps them, in a module of the test's own.
add_executable(wine_tests ${wine_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/tests/wine/title_forms.rc)
target_link_libraries(wine_tests PRIVATE folvane_store folvane_dialogs folvane_win32 gtest_main)
# The tests of the built program's image read it from here.
add_dependencies(wine_tests Folvane)
add_test(NAME wine COMMAND wine_tests)
set_tests_properties(wine PROPERTIES TIMEOUT 300 ENVIRONMENT "FOLVANE_EXE=$<TARGET_FILE:Folvane>")

add_executable(folvane_e2e ${e2e_sources})
target_include_directories(folvane_e2e PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
# The layouts of the windows, to check them against where the program put its controls.
target_link_libraries(folvane_e2e PRIVATE folvane_forms gtest_main comdlg32)
add_dependencies(folvane_e2e Folvane)
# The driver copies the program from here into a fresh folder for every test.
add_test(NAME e2e COMMAND folvane_e2e --gtest_filter=-Package.*)
set_tests_properties(e2e PROPERTIES TIMEOUT 900 ENVIRONMENT "FOLVANE_EXE=$<TARGET_FILE:Folvane>")

# Not a test: plays the scenes of the README's pictures for scripts/screenshots.sh.
add_executable(folvane_shots WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/shots/shots.cpp
                                   ${CMAKE_CURRENT_SOURCE_DIR}/e2e/driver.cpp)
target_include_directories(folvane_shots PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(folvane_shots Folvane)
