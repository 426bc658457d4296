#!/usr/bin/env bash
# Installs what the tests need, builds the project twice (normal, and clang with
# AddressSanitizer + UndefinedBehaviorSanitizer, which also builds the fuzz targets)
# and runs the whole suite in both, plus the audio module's tests under ThreadSanitizer.
# Exit status is the suite's.
#   ./test.sh --soak   also runs the slow tier: the saver for 10 minutes under Xvfb (memory
#                      flat, no GL errors), in the normal build only.
set -euo pipefail
cd "$(dirname "$0")"

soak_minutes=""
if [ "${1:-}" = --soak ]; then
  soak_minutes=10
fi

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
exit $status
