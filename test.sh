#!/usr/bin/env bash
# Installs what the tests need, builds the project twice (normal, and clang with
# AddressSanitizer + UndefinedBehaviorSanitizer, which also builds the fuzz targets)
# and runs the whole suite in both, plus the audio module's tests under ThreadSanitizer.
# Exit status is the suite's.
#   ./test.sh --soak     also runs the slow tier: the saver for 10 minutes under Xvfb (memory
#                        flat, no GL errors), the screensaver daemon test and the Debian
#                        package (dpkg-buildpackage, lintian), in the normal build only.
#   ./test.sh --windows  also builds the Windows screensaver (scripts/build_windows.sh, which
#                        installs MinGW-w64, Wine and NSIS) and runs it under Wine.
set -euo pipefail
cd "$(dirname "$0")"

soak_minutes=""
windows=no
for option in "$@"; do
  case $option in
    --soak) soak_minutes=10 ;;
    --windows) windows=yes ;;
    *) echo "usage: ./test.sh [--soak] [--windows]" >&2; exit 2 ;;
  esac
done

scripts/deps.sh test

jobs=$(nproc)
# Compiler cache hits across clones of the same sources (paths are taken relative to here).
export CCACHE_BASEDIR="$PWD"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

# The independent RAR extractor that the packer's archives are checked against (an npm
# package, used as a black box). Without it those tests skip.
node_modules=$PWD/build/node/node_modules
if [ ! -d "$node_modules/node-unrar-js" ] && command -v npm >/dev/null; then
  mkdir -p build/node
  npm install --prefix build/node --no-audit --no-fund --loglevel=error node-unrar-js@2.0.2 \
    >/dev/null || echo "test.sh: could not install node-unrar-js; its tests will skip" >&2
fi

cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPLASMORA_SANITIZE=ON -DPLASMORA_FUZZ=ON -DPLASMORA_NODE_MODULES="$node_modules" >/dev/null
cmake --build build-san -j "$jobs"

# The audio module's output thread under ThreadSanitizer: only the module and its tests.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLASMORA_TSAN=ON \
  -DPLASMORA_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target audio_module_test

status=0
# A build that found no tests is a failure, not a pass.
PLASMORA_SOAK_MINUTES=$soak_minutes \
  ctest --test-dir build --output-on-failure --no-tests=error -j "$jobs" || status=1
ctest --test-dir build-san --output-on-failure --no-tests=error -j "$jobs" || status=1
ctest --test-dir build-tsan -R '^audio_module_test[.]' --output-on-failure --no-tests=error \
  || status=1
if [ $windows = yes ]; then
  # The saver for Windows from the same tree, its data from the normal build above.
  scripts/build_windows.sh --native build || status=1
  tests/windows/wine_test.sh build-windows/out build-windows/tests/windows \
    build-windows/shots || status=1
  tests/windows/installer_test.sh build-windows || status=1
fi
exit $status
