# Sourced by the real-window tests: starts the simulated vendor service with an answer file and points the launcher
# at it. Needs $work and $vendor_service (the path of vendor_service.py).

# start_vendor_service CONFIG_JSON: the service runs until the test ends; QUORVEL_HOST and CURL_CA_BUNDLE follow it.
start_vendor_service() {
    printf '%s' "$1" > "$work/vendor.json"
    python3 "$vendor_service" --config "$work/vendor.json" --log "$work/requests.log" --ready "$work/ready.json" \
        --cert-dir "$work/cert" &
    vendor_pid=$!
    for _ in $(seq 300); do [ -f "$work/ready.json" ] && break; sleep 0.1; done
    [ -f "$work/ready.json" ] || { echo "FAIL: the vendor service did not start" >&2; exit 1; }
    local port
    port=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["port"])' "$work/ready.json")
    export QUORVEL_HOST=127.0.0.1:$port
    export CURL_CA_BUNDLE=$work/cert/cert.pem
}

# A version answer with every field present; $1 replaces Face's latest version, $2 is the advertisement section.
version_answer() {
    local answer="ok;2.41;$1;1.30;4.07;3.55;2.08;1.64;1.78;2.93;1.17;1.02;0;109" field
    for field in $(seq 14 41); do answer+=";0"; done
    printf '%s;000f;%s' "$answer" "$2"
}
