# The Windows build (cross-compiled with cmake/mingw-w64-x86_64.cmake; scripts/build_windows.sh
# drives it): the screensaver plasmora.scr, its audio module bass.dll and the installer. The
# build-time tools are not built here: data.sdd and the built-in pictures come from a native
# build of this tree, named by PLASMORA_NATIVE_BUILD_DIR.
set(PLASMORA_NATIVE_BUILD_DIR "" CACHE PATH
    "Native build of this tree that made data.sdd and the built-in pictures")
if(NOT PLASMORA_NATIVE_BUILD_DIR)
  message(FATAL_ERROR "The Windows build needs -DPLASMORA_NATIVE_BUILD_DIR=<a native build "
                      "with data/data.sdd and the built-in pictures>; scripts/build_windows.sh "
                      "makes one")
endif()
get_filename_component(PLASMORA_NATIVE_BUILD_DIR "${PLASMORA_NATIVE_BUILD_DIR}" ABSOLUTE)
set(PLASMORA_NATIVE_DATA_SDD ${PLASMORA_NATIVE_BUILD_DIR}/data/data.sdd)
set(PLASMORA_NATIVE_ART_SOURCE ${PLASMORA_NATIVE_BUILD_DIR}/host/builtin_art_data.cpp)
set(PLASMORA_NATIVE_ART_DIR ${PLASMORA_NATIVE_BUILD_DIR}/builtin_art)
foreach(needed ${PLASMORA_NATIVE_DATA_SDD} ${PLASMORA_NATIVE_ART_SOURCE})
  if(NOT EXISTS ${needed})
    message(FATAL_ERROR "${needed} is missing: build the native targets content and "
                        "plasmora_builtin_art first (scripts/build_windows.sh does)")
  endif()
endforeach()

set(PLASMORA_VERSION ${PROJECT_VERSION})

# What the installer ships, side by side: the saver, bass.dll and data.sdd.
set(PLASMORA_DATA_DIR ${CMAKE_BINARY_DIR}/out)
file(MAKE_DIRECTORY ${PLASMORA_DATA_DIR})

# No DLL of the compiler's runtime beside the saver: the C, C++ and thread runtimes are linked
# in, so the programs import system DLLs only.
add_link_options(-static -static-libgcc -static-libstdc++)
# The released files without their symbol tables (half the size).
add_link_options($<$<CONFIG:Release>:-s>)

# The resource script of plasmora.scr, compiled by windres.
enable_language(RC)

find_package(OpenGL REQUIRED)
find_package(PkgConfig REQUIRED)

foreach(dir platform settings render assets anim scenes audio show host)
  add_subdirectory(${dir})
endforeach()

add_custom_command(OUTPUT ${PLASMORA_DATA_DIR}/data.sdd
  COMMAND ${CMAKE_COMMAND} -E copy ${PLASMORA_NATIVE_DATA_SDD} ${PLASMORA_DATA_DIR}/data.sdd
  DEPENDS ${PLASMORA_NATIVE_DATA_SDD}
  COMMENT "Copying data.sdd from the native build"
  VERBATIM)
add_custom_target(content ALL DEPENDS ${PLASMORA_DATA_DIR}/data.sdd)

add_subdirectory(packaging/windows)
# The helper of the Wine tests (tests/windows/wine_test.sh).
add_subdirectory(tests/windows)
