#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Usage: scripts/deps.sh run|test|windows
# Quiet and quick when everything is already there.
set -euo pipefail

# What building and running the saver needs.
run_pkgs=(
  cmake ninja-build g++ pkg-config ccache
  libx11-dev libxext-dev libxrandr-dev
  libgl1-mesa-dev libglu1-mesa-dev libegl-dev libegl1-mesa-dev libgl1-mesa-dri
  libjpeg62-turbo-dev libpng-dev libvorbis-dev libogg-dev libsdl2-dev
  libfreetype-dev fonts-dejavu-core
  zlib1g-dev libgtk-3-dev
)

# What the test suite, the sanitizer build, the fuzz targets and the benchmarks add.
test_pkgs=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-xserver-utils x11-utils libxfixes-dev
  nodejs libssl-dev
  dpkg-dev xscreensaver imagemagick
  build-essential debhelper lintian
)

# What the Windows build adds (scripts/build_windows.sh): the MinGW-w64 cross compilers, the
# tools that fetch and unpack Debian's sources of the libraries it cross-builds, the installer
# maker, and Wine with a virtual display to try the result.
windows_pkgs=(
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev mingw-w64-tools
  make dpkg-dev patch bzip2 xz-utils debian-archive-keyring
  nsis wine wine64 xvfb xauth xdotool
)

want=("${run_pkgs[@]}")
if [ "${1:-run}" = test ]; then
  want+=("${test_pkgs[@]}")
elif [ "${1:-run}" = windows ]; then
  want+=("${windows_pkgs[@]}")
fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
updated=no
install() {
  echo "Installing: $*" >&2
  if [ $updated = no ]; then
    $SUDO apt-get update -qq
    updated=yes
  fi
  $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

if [ ${#missing[@]} -gt 0 ]; then
  install "${missing[@]}"
fi

# Debian's own nodejs comes without npm (other builds of nodejs include it); the tests fetch
# the independent RAR extractor with it.
if [ "${1:-run}" = test ] && ! command -v npm >/dev/null; then
  install npm
fi
