#!/bin/bash
# quorvel.exe under Wine against the simulated vendor service over HTTPS: the main window and its reveal, then
# `quorvel.exe face` with nothing installed downloads the archive, extracts and runs its installer and ends, and a
# second run starts the installed product with the forwarded parameters; all of it as Windows 10 and as Windows 7.
# Runs inside scripts/test-windows.sh (its Wine prefix, wineserver and X server).
# Usage: real_wine_test.sh QUORVEL_EXE ARTIFACT_DIR VENDOR_SERVICE_PY TEST_INSTALLER_EXE TEST_PRODUCT_EXE
set -euo pipefail
quorvel=$1
artifacts=$2
vendor_service=$3
installer=$4
product=$5
mkdir -p "$artifacts"
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "run through scripts/test-windows.sh" >&2; exit 1; }

work=$(mktemp -d)
vendor_pid=
cleanup() {
    [ -n "$vendor_pid" ] && kill "$vendor_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Wine's Z: drive is this machine's root.
windows_path() { winepath -w "$1" 2>/dev/null; }

# The product's archive.
mkdir -p "$work/served/app"
cp "$installer" "$work/instalar.exe"
(cd "$work" && zip -q "$work/served/app/quorface.zip" instalar.exe)

python3 "$vendor_service" --config "$work/vendor.json" --log "$work/requests.log" --ready "$work/ready.json" \
    --cert-dir "$work/cert" </dev/null &
vendor_pid=$!
for _ in $(seq 300); do [ -f "$work/ready.json" ] && break; sleep 0.1; done
[ -f "$work/ready.json" ] || fail "the vendor service did not start"
port=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["port"])' "$work/ready.json")
# Schannel matches the certificate by DNS name only.
host=localhost:$port
answer="ok;2.41;5.12;1.30;4.07;3.55;2.08;1.64;1.78;2.93;1.17;1.02;0;109"
for _ in $(seq 14 41); do answer+=";0"; done
answer+=";000f;ad;1|Novo curso gratuito|http://cursos.test/novo"
links=ok
for item in $(seq 1 21); do
    if [ "$item" = 3 ]; then links+=";https://$host/app/quorface.zip"; else links+=";x"; fi
done
cat >"$work/vendor.json" <<JSON
{"files": "$work/served",
 "routes": {"/vrs.php": [{"body": "$answer"}], "/ldl.php": [{"body": "$links"}]}}
JSON

export QUORVEL_HOST=$host
export CURL_CA_BUNDLE=$(windows_path "$work/cert/cert.pem")
export QUORVEL_TEST_PRODUCT=$(windows_path "$product")
export QUORVEL_INSTALLER_RECORD=$(windows_path "$work/installer.txt")
export QUORVEL_INSTALLER_STAY_MS=3000
export QUORVEL_RECORD_FILE=$(windows_path "$work/product.txt")
export QUORVEL_RECORD_STAY_MS=2000
# The recording browser of the test script writes here.
export QUORVEL_BROWSER_RECORD=Z:$work/opened.txt
program_files=$WINEPREFIX/drive_c/Program\ Files\ \(x86\)
installed=$program_files/Quorvel\ Face/quorface.exe
data_folder=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null </dev/null | tr -d '\r')")/Quorvel
launcher=$(windows_path "$quorvel")

# run_launcher SECONDS ARGS...: quorvel.exe to its end; fails when it outlives SECONDS.
run_launcher() {
    local seconds=$1
    shift
    timeout "$seconds" wine "$quorvel" "$@" >"$work/wine.log" 2>&1 </dev/null || {
        local status=$?
        [ "$status" = 124 ] && fail "quorvel.exe $* did not end within $seconds s"
        fail "quorvel.exe $* ended with status $status: $(tail -5 "$work/wine.log")"
    }
}

# wait_window REGEX SECONDS: prints the id of the first visible window whose title matches.
wait_window() {
    local id
    for _ in $(seq $(($2 * 10))); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

passed=0
for release in win10 win7; do
    echo "# as $release"
    wine winecfg /v "$release" >/dev/null 2>&1 </dev/null
    # A fresh user each time.
    rm -rf "$program_files/Quorvel Face" "$data_folder" "$work"/{installer,product}.txt
    : >"$work/requests.log"

    echo "# the main window, revealed"
    wine "$quorvel" >"$work/wine-window.log" 2>&1 </dev/null &
    window_pid=$!
    window=$(wait_window '^ Quorvel$' 30) || fail "no window \" Quorvel\""
    sleep 3 # the reveal and the typed advertisement
    import -window root "$artifacts/wine-main-window-$release.png" 2>/dev/null || true
    eval "$(xdotool getwindowgeometry --shell "$window")"
    geometry=${WIDTH}x$HEIGHT
    # The advertisement typed into the footer opens its link, made https.
    rm -f "$work/opened.txt"
    xdotool mousemove $((X + 100)) $((Y + 533 + 110 + 15)) click 1
    for _ in $(seq 50); do [ -s "$work/opened.txt" ] && break; sleep 0.1; done
    opened=$(cat "$work/opened.txt" 2>/dev/null || true)
    kill "$window_pid" 2>/dev/null || true
    wait "$window_pid" 2>/dev/null || true
    [ "$geometry" = 861x702 ] || fail "the client area is $geometry, not 861x702"
    [ "$opened" = "https://cursos.test/novo" ] || fail "a click on the advertisement opened: $opened"
    grep -q "https /vrs.php" "$work/requests.log" || fail "the version query did not reach the service"

    echo "# quorvel.exe face with nothing installed installs it and ends"
    : >"$work/requests.log"
    run_launcher 120 face
    # Products keep their link on old releases too; only their browser fallback and the launcher's own
    # archive carry "_w7".
    archive=quorface.zip
    grep -q "https /app/$archive" "$work/requests.log" || fail "$archive was not fetched: $(cat "$work/requests.log")"
    expected=$(printf '/VERYSILENT\n/SUPPRESSMSGBOXES\n/NORESTART\n%s\n%s' "$launcher" "$launcher")
    [ "$(tr -d '\r' <"$work/installer.txt" 2>/dev/null)" = "$expected" ] ||
        fail "the installer received: $(cat "$work/installer.txt" 2>/dev/null)"
    [ -f "$installed" ] || fail "nothing installed under Program Files (x86)"

    echo "# a second run starts the installed product with the forwarded parameters"
    : >"$work/requests.log"
    # The third argument is a path and goes on quoted.
    run_launcher 60 face pt-BR 'C:\x y'
    for _ in $(seq 50); do [ -s "$work/product.txt" ] && break; sleep 0.1; done
    [ "$(tr -d '\r' <"$work/product.txt" 2>/dev/null)" = "$(printf 'pt-BR\nC:\\x y')" ] ||
        fail "the product received: $(cat "$work/product.txt" 2>/dev/null)"
    grep -q "/ldl.php" "$work/requests.log" && fail "a current product was downloaded again"
    passed=$((passed + 3))
done
echo "$passed passed, 0 failed"
