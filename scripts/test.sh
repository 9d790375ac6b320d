#!/bin/bash
# Builds the launcher with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
ensure_packages
ensure_runtime_dir

build=${QUORVEL_TEST_BUILD_DIR:-$root/build-tests}
cmake -S "$root" -B "$build" -G Ninja -DQUORVEL_SANITIZE=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
