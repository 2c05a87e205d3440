# Folvane.exe: the program with its resources, linked statically so that it needs no DLL beyond
# the system's own. The help page is copied next to it.
target_link_libraries(folvane_win32 PUBLIC user32 gdi32 comctl32 shell32 advapi32 ole32 oleaut32
                                           uuid wtsapi32)
# The unsuffixed names of the system headers are the wide ones; no min/max macros.
target_compile_definitions(folvane_win32 PUBLIC UNICODE _UNICODE NOMINMAX)

# The manifest names the architecture of this build: Windows refuses to start a program whose
# manifest names another one.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "64")
  set(FOLVANE_MANIFEST_ARCH amd64)
else()
  set(FOLVANE_MANIFEST_ARCH x86)
endif()
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.exe.manifest.in
               ${FOLVANE_GENERATED}/folvane.exe.manifest @ONLY)

add_executable(Folvane WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/app/main_win32.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.rc)
# The resource compiler finds the generated manifest and version header on its include path.
target_include_directories(Folvane PRIVATE ${FOLVANE_GENERATED})
target_link_libraries(Folvane PRIVATE folvane_app folvane_win32)
# The program ships without symbols: half a megabyte instead of six.
target_link_options(Folvane PRIVATE -s)
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.ico;${CMAKE_CURRENT_SOURCE_DIR}/app/res/main.ico;${FOLVANE_GENERATED}/folvane.exe.manifest;${FOLVANE_GENERATED}/folvane_version.h")

add_custom_command(TARGET Folvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/app/res/folvane.html
          $<TARGET_FILE_DIR:Folvane>/folvane.html)
