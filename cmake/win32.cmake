# The Windows builds: Folvane.exe (64-bit or 32-bit, static, no console) and the tests that
# run under Wine.
enable_language(RC)
add_link_options(-static -static-libgcc -static-libstdc++)

folvane_layer(folvane_win32 platform/win32 folvane_platform)

include(cmake/program.cmake)
include(cmake/wine_tests.cmake)
include(cmake/wine_bench.cmake)
