#!/usr/bin/env bash
# Builds the Windows screensaver on Debian, in one command:
#   scripts/build_windows.sh [--native DIR]
# Result in build-windows/out/: plasmora.scr, bass.dll, data.sdd and the installer
# plasmora-setup.exe.
#
# Steps, each skipped when already done: the Debian packages (scripts/deps.sh windows); the
# native build that makes data.sdd and the built-in pictures (./build when it is a configured
# native build, else build-windows/native; --native names another); the cross-built libraries
# (scripts/windows/build_deps.sh); the cross build of build-windows with
# cmake/mingw-w64-x86_64.cmake; a check that the programs need no DLL beyond the system's.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
out_build=$repo/build-windows
jobs=${PLASMORA_JOBS:-2}
native=""
while [ $# -gt 0 ]; do
  case $1 in
    --native)
      native=$(realpath -m "$2")
      shift 2
      ;;
    *)
      echo "usage: scripts/build_windows.sh [--native DIR]" >&2
      exit 2
      ;;
  esac
done

step() { echo "== $*" >&2; }

step "Packages"
"$repo/scripts/deps.sh" windows

# A native build is one configured without a cross toolchain.
is_native_build() {
  [ -f "$1/CMakeCache.txt" ] && ! grep -q '^CMAKE_TOOLCHAIN_FILE:' "$1/CMakeCache.txt"
}
if [ -z "$native" ]; then
  if is_native_build "$repo/build"; then
    native=$repo/build
  else
    native=$out_build/native
  fi
fi
step "Native build: $native (data.sdd and the built-in pictures)"
if ! is_native_build "$native"; then
  cmake -S "$repo" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPLASMORA_TESTS=OFF -DPLASMORA_BENCH=OFF >/dev/null
fi
cmake --build "$native" -j"$jobs" --target content plasmora_builtin_art

step "Libraries for Windows"
"$repo/scripts/windows/build_deps.sh" "$out_build"

step "Cross build: $out_build"
prefix=$out_build/deps/prefix
configured_native=$(sed -n 's/^PLASMORA_NATIVE_BUILD_DIR:[A-Z]*=//p' \
  "$out_build/CMakeCache.txt" 2>/dev/null || true)
if [ ! -f "$out_build/build.ninja" ] || [ "$configured_native" != "$native" ]; then
  cmake -S "$repo" -B "$out_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DPLASMORA_WINDOWS_PREFIX="$prefix" -DPLASMORA_NATIVE_BUILD_DIR="$native" >/dev/null
fi
cmake --build "$out_build" -j"$jobs"

out=$out_build/out
for file in plasmora.scr bass.dll data.sdd plasmora-setup.exe; do
  if [ ! -s "$out/$file" ]; then
    echo "build_windows: $out/$file was not made" >&2
    exit 1
  fi
done

# Every DLL the programs import must come with Windows: Wine's own set of system DLLs is the
# list where it is installed; the compiler's runtimes and the libraries linked in statically
# must never appear.
step "Imports"
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
status=0
for program in plasmora.scr bass.dll; do
  imports=$(x86_64-w64-mingw32-objdump -p "$out/$program" | sed -n 's/^\tDLL Name: //p')
  echo "$program: $(echo $imports)" >&2
  for dll in $imports; do
    lower=${dll,,}
    if [[ $lower =~ ^(libstdc\+\+|libgcc|libwinpthread|sdl2|libogg|libvorbis|zlib|libjpeg) ]] ||
      { [ -d "$wine_dlls" ] && [ ! -e "$wine_dlls/$lower" ]; }; then
      echo "build_windows: $program imports $dll, which is not a system DLL" >&2
      status=1
    fi
  done
done
[ $status -eq 0 ] || exit 1

step "Done: $out"
ls -l "$out" >&2
