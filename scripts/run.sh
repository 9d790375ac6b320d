#!/bin/bash
# Builds the launcher and runs it against the demo folder; arguments are passed on (run.sh face opens Face).
# Everything the demo writes lives in demo/ at the top of the repository: delete it to start over.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
ensure_packages
ensure_runtime_dir

build=$root/build
cmake -S "$root" -B "$build" -G Ninja -DQUORVEL_BUILD_TESTS=OFF > /dev/null
cmake --build "$build"

demo=$root/demo
mkdir -p "$demo/data" "$demo/programs"
export XDG_DATA_HOME=$demo/data
export QUORVEL_PROGRAM_FILES=$demo/programs
# No demo vendor service yet: a closed loopback port stands in for the vendor's host.
export QUORVEL_HOST=${QUORVEL_HOST:-127.0.0.1:9}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running in a virtual X server (nothing will be visible)." >&2
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$build/src/quorvel/quorvel" "$@"
fi
exec "$build/src/quorvel/quorvel" "$@"
