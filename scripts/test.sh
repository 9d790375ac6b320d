#!/bin/bash
# Builds and runs every test: the Qt 6 build with AddressSanitizer and UndefinedBehaviorSanitizer (unit suites and
# real-window tests), then the unit suites of a plain Qt 5.15 build, then the Windows program and its tests under Wine
# (the first run also builds the cached Windows dependencies: about 40 minutes once).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
ensure_packages
ensure_runtime_dir "${QUORVEL_TEST_BUILD_DIR:-$root/build-tests}/runtime"

status=0
build=${QUORVEL_TEST_BUILD_DIR:-$root/build-tests}
cmake -S "$root" -B "$build" -G Ninja -DQUORVEL_SANITIZE=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 || status=1

echo "== Qt 5.15 build: unit suites"
build5=${QUORVEL_TEST_BUILD_DIR_QT5:-$root/build-tests-qt5}
cmake -S "$root" -B "$build5" -G Ninja -DQUORVEL_QT=5 -DQUORVEL_BUILD_DEMO=OFF
cmake --build "$build5"
ctest --test-dir "$build5" --output-on-failure -j2 --timeout 600 -E '^quorvel_real_' || status=1

echo "== Windows build: tests under Wine"
bash "$root/scripts/test-windows.sh" || status=1
exit "$status"
