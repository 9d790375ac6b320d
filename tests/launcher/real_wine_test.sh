#!/bin/bash
# quorvel.exe under Wine against the simulated vendor service over HTTPS: the main window and its reveal, then
# `quorvel.exe face` with nothing installed downloads the archive, extracts and runs its installer and ends, and a
# second run starts the installed product with the forwarded parameters; all of it as Windows 10 and as Windows 7.
# Runs inside scripts/test-windows.sh (its Wine prefix, wineserver and X server).
# Usage: real_wine_test.sh QUORVEL_EXE ARTIFACT_DIR VENDOR_SERVICE_PY TEST_INSTALLER_EXE TEST_PRODUCT_EXE
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/real_wine_common.sh"
installer=$4
product=$5

# The product's archive.
mkdir -p "$work/served/app"
cp "$installer" "$work/instalar.exe"
(cd "$work" && zip -q "$work/served/app/quorface.zip" instalar.exe)

start_wine_vendor_service
cat >"$work/vendor.json" <<JSON
{"files": "$work/served",
 "routes": {"/vrs.php": [{"body": "$(version_answer 5.12 "ad;1|Novo curso gratuito|http://cursos.test/novo")"}],
            "/ldl.php": [{"body": "$(link_list 3 "https://$QUORVEL_HOST/app/quorface.zip")"}]}}
JSON

export QUORVEL_TEST_PRODUCT=$(windows_path "$product")
export QUORVEL_INSTALLER_RECORD=$(windows_path "$work/installer.txt")
export QUORVEL_INSTALLER_STAY_MS=3000
export QUORVEL_RECORD_FILE=$(windows_path "$work/product.txt")
export QUORVEL_RECORD_STAY_MS=2000
program_files=$WINEPREFIX/drive_c/Program\ Files\ \(x86\)
installed=$program_files/Quorvel\ Face/quorface.exe
data_folder=$(unix_path "$(windows_variable APPDATA)")/Quorvel
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
    pids+=("$window_pid")
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
    grep -q "https /app/quorface.zip" "$work/requests.log" ||
        fail "the archive was not fetched: $(cat "$work/requests.log")"
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
