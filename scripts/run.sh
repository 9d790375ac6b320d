#!/bin/bash
# Builds the launcher and runs it against the demo vendor service; arguments are passed on (run.sh face opens Face).
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
mkdir -p "$demo/data" "$demo/programs" "$demo/service"
[ -f "$demo/service/vendor.json" ] || echo '{}' > "$demo/service/vendor.json"
rm -f "$demo/ready.json"

# The demo vendor service: the project's simulated service, on a free loopback port with its own certificate.
python3 "$root/tests/support/vendor_service.py" --config "$demo/service/vendor.json" --log "$demo/requests.log" \
    --ready "$demo/ready.json" --cert-dir "$demo/cert" &
service=$!
trap 'kill "$service" 2>/dev/null || true' EXIT
for _ in $(seq 300); do [ -f "$demo/ready.json" ] && break; sleep 0.1; done
[ -f "$demo/ready.json" ] || { echo "The demo vendor service did not start." >&2; exit 1; }
port=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["port"])' "$demo/ready.json")

# Products, installers and answers; built on first use, the answers follow the port. QUORVEL_DEMO_VERSIONS
# ("face=5.13 menu=1.79") makes the service report other latest versions.
overrides=()
for item in ${QUORVEL_DEMO_VERSIONS:-}; do overrides+=(--version "$item"); done
QT_QPA_PLATFORM=offscreen python3 "$root/tools/demo/make_demo.py" --product "$build/tools/demo/quorvel_demo_product" \
    --libcef "$root/tools/demo/libcef.dll" --out "$demo/service" --host "127.0.0.1:$port" "${overrides[@]}"

export XDG_DATA_HOME=$demo/data
export QUORVEL_PROGRAM_FILES=$demo/programs
export QUORVEL_HOST=127.0.0.1:$port
export CURL_CA_BUNDLE=$demo/cert/cert.pem

status=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running in a virtual X server (nothing will be visible)." >&2
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$build/src/quorvel/quorvel" "$@" || status=$?
else
    "$build/src/quorvel/quorvel" "$@" || status=$?
fi
exit "$status"
