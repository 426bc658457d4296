# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# C++20's threads and the static runtime need).
#
# Libraries come only from PLASMORA_WINDOWS_PREFIX (the dependencies that
# scripts/windows/build_deps.sh cross-builds) and the MinGW-w64 system folder; pkg-config reads
# only the prefix's .pc files, so nothing of the host's can leak into the link.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPLASMORA_WINDOWS_PREFIX=...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PLASMORA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PLASMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLASMORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PLASMORA_MINGW_TRIPLE}-windres)
find_program(CMAKE_AR ${PLASMORA_MINGW_TRIPLE}-ar REQUIRED)
find_program(CMAKE_RANLIB ${PLASMORA_MINGW_TRIPLE}-ranlib REQUIRED)

# The prefix: given on the command line, through the environment (try_compile projects see
# only that), or the default folder of scripts/build_windows.sh.
if(NOT PLASMORA_WINDOWS_PREFIX)
  if(DEFINED ENV{PLASMORA_WINDOWS_PREFIX})
    set(PLASMORA_WINDOWS_PREFIX "$ENV{PLASMORA_WINDOWS_PREFIX}")
  else()
    get_filename_component(PLASMORA_WINDOWS_PREFIX
                           "${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/prefix" ABSOLUTE)
  endif()
endif()
set(PLASMORA_WINDOWS_PREFIX "${PLASMORA_WINDOWS_PREFIX}" CACHE PATH
    "Prefix of the cross-built dependencies")
set(ENV{PLASMORA_WINDOWS_PREFIX} "${PLASMORA_WINDOWS_PREFIX}")

set(CMAKE_FIND_ROOT_PATH "${PLASMORA_WINDOWS_PREFIX}" /usr/${PLASMORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host's pkg-config, told to read the prefix's files and nothing else.
set(ENV{PKG_CONFIG_LIBDIR} "${PLASMORA_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(PKG_CONFIG_EXECUTABLE pkg-config CACHE FILEPATH "pkg-config of the build machine")
