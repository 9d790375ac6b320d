# Sourced by the real-window tests after `set -euo pipefail`. Takes the test's arguments
# (QUORVEL_BINARY ARTIFACT_DIR VENDOR_SERVICE_PY), makes a private work folder that every launcher folder points into,
# records addresses handed to the browser instead of opening them, and cleans up when the test ends.
# Every process a test starts goes into `pids` so the clean-up can stop it.

quorvel=$1
artifacts=$2
vendor_service=$3
mkdir -p "$artifacts"

work=$(mktemp -d)
pids=()
cleanup() {
    xdotool keyup shift 2>/dev/null || true
    local pid
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    # Products and installers started by the launcher run in their own sessions.
    pkill -9 -f "$work/" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
export QUORVEL_PROGRAM_FILES=$work/programs
mkdir -p "$XDG_DATA_HOME" "$QUORVEL_PROGRAM_FILES" "$work/bin"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

cat > "$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
echo "\$*" >> "$work/opened.txt"
SCRIPT
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

alive() { kill -0 "$1" 2>/dev/null; }

# wait_end PID SECONDS: until the process has ended.
wait_end() {
    for _ in $(seq $(($2 * 10))); do alive "$1" || return 0; sleep 0.1; done
    return 1
}

# wait_window REGEX SECONDS: prints the id of the first visible window whose title matches.
wait_window() {
    local pattern=$1 seconds=$2 id
    for _ in $(seq $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# start_vendor_service CONFIG_JSON: the simulated service runs until the test ends (its answer file is
# $work/vendor.json, reread on every request); QUORVEL_HOST and CURL_CA_BUNDLE follow it.
start_vendor_service() {
    printf '%s' "$1" > "$work/vendor.json"
    python3 "$vendor_service" --config "$work/vendor.json" --log "$work/requests.log" --ready "$work/ready.json" \
        --cert-dir "$work/cert" &
    vendor_pid=$!
    pids+=("$vendor_pid")
    for _ in $(seq 300); do [ -f "$work/ready.json" ] && break; sleep 0.1; done
    [ -f "$work/ready.json" ] || fail "the vendor service did not start"
    local port
    port=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["port"])' "$work/ready.json")
    export QUORVEL_HOST=127.0.0.1:$port
    export CURL_CA_BUNDLE=$work/cert/cert.pem
}

# version_answer FACE_VERSION AD_SECTION [LAUNCHER_VERSION]: a version answer with every field present.
version_answer() {
    local answer="ok;2.41;$1;1.30;4.07;3.55;2.08;1.64;${3:-1.78};2.93;1.17;1.02;0;109" field
    for field in $(seq 14 41); do answer+=";0"; done
    printf '%s;000f;%s' "$answer" "$2"
}
