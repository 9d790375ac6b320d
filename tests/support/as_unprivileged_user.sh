#!/bin/bash
# Runs a GoogleTest program as an unprivileged user when started as root (root may write every file, so a test of a
# read-only file would only skip), and fails when the program ran no test or skipped one.
# Usage: as_unprivileged_user.sh TEST_PROGRAM GTEST_ARGS...
set -euo pipefail
if [ "$(id -u)" = 0 ]; then
    home=$(mktemp -d)
    chmod 777 "$home"
    trap 'rm -rf "$home"' EXIT
    run=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" XDG_RUNTIME_DIR="$home" TMPDIR="$home")
else
    run=()
fi
output=$("${run[@]}" "$@" 2>&1) || { echo "$output"; exit 1; }
echo "$output"
grep -q '^\[  SKIPPED \]' <<<"$output" && { echo "FAIL: a test skipped" >&2; exit 1; }
grep -q '^\[  PASSED  \] [1-9]' <<<"$output" || { echo "FAIL: no test ran" >&2; exit 1; }
