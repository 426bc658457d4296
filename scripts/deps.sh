#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Usage: scripts/deps.sh run|test
# Quiet and quick when everything is already there.
set -euo pipefail

# What building and running the saver needs.
run_pkgs=(
  cmake ninja-build g++ pkg-config ccache
  libx11-dev libxrandr-dev
  libgl1-mesa-dev libglu1-mesa-dev libegl-dev libegl1-mesa-dev libgl1-mesa-dri
  libjpeg62-turbo-dev libpng-dev libvorbis-dev libogg-dev
  libfreetype-dev fonts-dejavu-core
)

# What the test suite, the sanitizer build, the fuzz targets and the benchmarks add.
test_pkgs=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-xserver-utils x11-utils libxfixes-dev
  nodejs
)

want=("${run_pkgs[@]}")
if [ "${1:-run}" = test ]; then
  want+=("${test_pkgs[@]}")
fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
