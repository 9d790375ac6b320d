#!/bin/bash
# Builds the libFuzzer targets with clang and runs each for a while (default 60 s each).
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
source "$root/scripts/packages.sh"
QUORVEL_PACKAGES+=(clang libclang-rt-dev)
ensure_packages

build=${QUORVEL_FUZZ_BUILD_DIR:-$root/build-fuzz}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_FUZZ=ON -DQUORVEL_BUILD_TESTS=OFF
cmake --build "$build" --target fuzz_file_version fuzz_field_split

# The corpora grow in the build folder; the test fixtures seed the version reader's.
mkdir -p "$build/corpus/file_version" "$build/corpus/field_split"
"$build/fuzz/fuzz_file_version" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    "$build/corpus/file_version" "$root/tests/update/fixtures"
"$build/fuzz/fuzz_field_split" -max_total_time="$seconds" -max_len=8192 -timeout=10 "$build/corpus/field_split"
