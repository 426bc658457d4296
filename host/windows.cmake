# The Windows saver, plasmora.scr (included by host/CMakeLists.txt on Windows in place of the
# Linux program). The built-in pictures come from the native build (cmake/Windows.cmake): their
# C++ source for the code, their BMP and ICO files for the resource script.
target_compile_definitions(plasmora_host PRIVATE
  # Without a Path in the registry: data.sdd beside plasmora.scr, else the current folder.
  PLASMORA_DATA_DIR=""
  PLASMORA_INSTALLED_DATA_DIR=".")

plasmora_library(plasmora_builtin_art builtin_bitmaps.cpp ${PLASMORA_NATIVE_ART_SOURCE})

# The preview (/p N) and the program's icon, both from the built-in pictures.
plasmora_library(plasmora_preview preview_window.cpp program_icon.cpp
  LIBS plasmora_host plasmora_builtin_art plasmora_platform)

set(resource_script ${CMAKE_SOURCE_DIR}/platform/win32/resources/plasmora.rc)
if(NOT TARGET plasmora_platform_win32 OR NOT EXISTS ${resource_script})
  message(WARNING "plasmora.scr is not built: the Win32 platform services or the resource "
                  "script are missing")
  return()
endif()

# -mwindows (WIN32): no console window.
add_executable(plasmora.scr WIN32 main.cpp run_config_dialog.cpp ${resource_script})
set_target_properties(plasmora.scr PROPERTIES
  OUTPUT_NAME plasmora
  SUFFIX .scr
  RUNTIME_OUTPUT_DIRECTORY ${PLASMORA_DATA_DIR})
target_link_libraries(plasmora.scr PRIVATE plasmora_host plasmora_show plasmora_platform_win32
  plasmora_preview plasmora_builtin_art
  # The Win32 services again after the libraries that use them.
  plasmora_platform_win32)
# windres finds the pictures, the icon and the manifest through these folders.
target_include_directories(plasmora.scr PRIVATE ${CMAKE_SOURCE_DIR}/platform/win32/resources
  ${PLASMORA_NATIVE_ART_DIR})
# One version for the version resource and the installer (PLASMORA_VERSION).
string(REPLACE "." ";" version_parts ${PLASMORA_VERSION})
list(GET version_parts 0 version_major)
list(GET version_parts 1 version_minor)
list(GET version_parts 2 version_patch)
target_compile_definitions(plasmora.scr PRIVATE
  $<$<COMPILE_LANGUAGE:RC>:PLASMORA_VERSION_MAJOR=${version_major}>
  $<$<COMPILE_LANGUAGE:RC>:PLASMORA_VERSION_MINOR=${version_minor}>
  $<$<COMPILE_LANGUAGE:RC>:PLASMORA_VERSION_PATCH=${version_patch}>)
set_property(SOURCE ${resource_script} APPEND PROPERTY OBJECT_DEPENDS
  ${PLASMORA_NATIVE_ART_DIR}/dialog_107.bmp ${PLASMORA_NATIVE_ART_DIR}/preview_112.bmp
  ${PLASMORA_NATIVE_ART_DIR}/icon_111.ico
  ${CMAKE_SOURCE_DIR}/platform/win32/resources/plasmora.manifest)
# Playing music needs bass.dll beside the saver, and a run needs data.sdd.
add_dependencies(plasmora.scr plasmora_audio_module content)
