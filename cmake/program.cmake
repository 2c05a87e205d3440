# Folvane.exe: the program with its resources, linked statically so that it needs no DLL beyond
# the system's own. The help page is copied next to it.
target_link_libraries(folvane_win32 PUBLIC user32 gdi32 comctl32 shell32 advapi32 ole32)
# The unsuffixed names of the system headers are the wide ones; no min/max macros.
target_compile_definitions(folvane_win32 PUBLIC UNICODE _UNICODE NOMINMAX)

add_executable(Folvane WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/app/main_win32.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.rc)
target_link_libraries(Folvane PRIVATE folvane_app folvane_win32)
# The program ships without symbols: half a megabyte instead of six.
target_link_options(Folvane PRIVATE -s)
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.ico;${CMAKE_CURRENT_SOURCE_DIR}/app/res/main.ico;${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.exe.manifest")

add_custom_command(TARGET Folvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.html
          $<TARGET_FILE_DIR:Folvane>/folvane.html)
