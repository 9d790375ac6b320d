#!/bin/bash
# Builds the launcher and runs it against the demo vendor service; arguments are passed on (run.sh face opens Face).
#
#   bash scripts/run.sh [WORD [PARAMETERS...]]             the Linux build
#   bash scripts/run.sh --windows [WORD [PARAMETERS...]]   quorvel.exe under Wine, with Windows demo products
#
# Everything the demo writes lives in demo/ at the top of the repository: delete it to start over. Without a display
# the launcher runs in a virtual X server and its window is saved as a picture under demo/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
source "$root/scripts/wine-common.sh"

windows=false
if [ "${1:-}" = --windows ]; then
    windows=true
    shift
fi
words="face insta messages tele tik sms tube twit lx contact"

demo=$root/demo
if $windows; then
    state=$demo/windows
else
    state=$demo
fi
mkdir -p "$state/service"
ensure_packages
ensure_runtime_dir "$demo/runtime"

echo "== Building (the first time takes a few minutes)"
if $windows; then
    echo "   The Windows dependencies are built once when missing: about 40 minutes on two cores."
    sdk=$(bash "$root/scripts/windows-sdk.sh" | tail -n1)
    build=${QUORVEL_BUILD_DIR_WIN:-$root/build-win}
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DQUORVEL_WIN_SDK="$sdk" -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BUILD_TESTS=OFF -DQUORVEL_BUILD_DEMO=ON >/dev/null
else
    build=${QUORVEL_BUILD_DIR:-$root/build}
    cmake -S "$root" -B "$build" -G Ninja -DQUORVEL_BUILD_TESTS=OFF -DQUORVEL_BUILD_DEMO=ON >/dev/null
fi
cmake --build "$build" | grep -v '^\[' || true
[ "${PIPESTATUS[0]}" = 0 ] || { echo "The build failed." >&2; exit 1; }

headless=false
[ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && headless=true

# Whatever this script started ends with it, the launcher before the X server it draws on.
launcher_pid=
xvfb_pid=
service_pid=
cleanup() {
    if [ -n "$launcher_pid" ]; then kill "$launcher_pid" 2>/dev/null; wait "$launcher_pid" 2>/dev/null || true; fi
    # Without a display nobody sees the products either: they end too.
    if $headless && $windows; then end_wineserver; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true; fi
    if [ -n "$service_pid" ]; then kill "$service_pid" 2>/dev/null; wait "$service_pid" 2>/dev/null || true; fi
    rm -f "$state/xvfb.display" "$state/ready.json"
}
trap cleanup EXIT
trap 'echo; echo "Stopped."; exit 130' INT TERM

# Without a display, a virtual X server of our own: it ends with this script.
if $headless; then
    rm -f "$state/xvfb.display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/xvfb.display" >"$state/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 300); do [ -s "$state/xvfb.display" ] && break; sleep 0.1; done
    [ -s "$state/xvfb.display" ] || { echo "The virtual X server did not start." >&2; exit 1; }
    export DISPLAY=:$(head -n1 "$state/xvfb.display")
fi

# The demo vendor service: the project's simulated service, on a free loopback port with its own certificate.
[ -f "$state/service/vendor.json" ] || echo '{}' >"$state/service/vendor.json"
rm -f "$state/ready.json"
python3 "$root/tests/support/vendor_service.py" --config "$state/service/vendor.json" --log "$state/requests.log" \
    --ready "$state/ready.json" --cert-dir "$state/cert" &
service_pid=$!
for _ in $(seq 300); do [ -f "$state/ready.json" ] && break; sleep 0.1; done
[ -f "$state/ready.json" ] || { echo "The demo vendor service did not start." >&2; exit 1; }
port=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["port"])' "$state/ready.json")

# Products, installers and answers; built on first use, the answers follow the port. QUORVEL_DEMO_VERSIONS
# ("face=5.13") makes the service report other latest versions from now on; "default" goes back to the vendor's.
demo_options=()
for item in ${QUORVEL_DEMO_VERSIONS:-}; do
    if [ "$item" = default ]; then demo_options+=(--default-versions); else demo_options+=(--version "$item"); fi
done

if $windows; then
    # A Wine prefix of the demo's own; Schannel matches the certificate by DNS name, and the program reads it by its
    # Windows path (Wine's Z: drive is this machine's root).
    export WINEPREFIX=$state/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "== Making the demo's Wine prefix (once)"
        mkdir -p "$WINEPREFIX"
        wine wineboot --init >"$state/wineboot.log" 2>&1 </dev/null
        add_design_fonts
    fi
    wine "$build/tools/demo/quorvel_demo_catalogue_print.exe" 2>/dev/null </dev/null | tr -d '\r' >"$state/catalogue.json"
    package=$build/src/quorvel/quorvel-package
    python3 "$root/tools/demo/make_demo.py" --windows --product "$build/tools/demo/quorvel_demo_product.exe" \
        --installer "$build/tools/demo/quorvel_demo_installer.exe" --catalogue "$state/catalogue.json" \
        --launcher-archive "$(ls "$package"/quorvel-*.zip)" --libcef "$root/tools/demo/libcef.dll" \
        --out "$state/service" --host "localhost:$port" "${demo_options[@]}"
    export QUORVEL_HOST=localhost:$port
    export CURL_CA_BUNDLE=$(winepath -w "$state/cert/cert.pem" 2>/dev/null)
    # The launcher as a user has it: put in place by its own installer, into the user's programs folder.
    appdata=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null </dev/null | tr -d '\r')" 2>/dev/null)
    installed=$appdata/Programs/Quorvel/quorvel.exe
    if ! cmp -s "$installed" "$build/src/quorvel/quorvel.exe"; then
        echo "== Installing quorvel.exe with its installer"
        wine "$package/instalar.exe" /VERYSILENT >/dev/null 2>&1 </dev/null
    fi
    program_files=$WINEPREFIX/drive_c/Program\ Files\ \(x86\)
    launcher=(wine "$installed")
else
    QT_QPA_PLATFORM=offscreen python3 "$root/tools/demo/make_demo.py" --product "$build/tools/demo/quorvel_demo_product" \
        --libcef "$root/tools/demo/libcef.dll" --out "$state/service" --host "127.0.0.1:$port" "${demo_options[@]}"
    mkdir -p "$demo/data" "$demo/programs"
    export XDG_DATA_HOME=$demo/data
    export QUORVEL_PROGRAM_FILES=$demo/programs
    export QUORVEL_HOST=127.0.0.1:$port
    export CURL_CA_BUNDLE=$state/cert/cert.pem
    program_files=$demo/programs
    launcher=("$build/src/quorvel/quorvel")
fi

echo "== Starting the launcher${1:+ with $*}"
if ! $headless; then
    status=0
    "${launcher[@]}" "$@" || status=$?
    exit "$status"
fi

# No display: show what happened as pictures. The reveal takes about two seconds.
"${launcher[@]}" "$@" >"$state/launcher.log" 2>&1 </dev/null &
launcher_pid=$!
sleep 4
picture=$state/launcher-window.png
import -window root "$picture" 2>/dev/null || true
echo "No display: the launcher runs in a virtual X server. Its window after the reveal: ${picture#"$root"/}"
if [ $# -eq 0 ]; then
    echo "Nothing can click it here, so it ends now. Try a product: bash scripts/run.sh $($windows && echo "--windows ")face"
    echo "(words: $words)"
    exit 0
fi
echo "Waiting for the launcher to do its job (a download takes a few seconds)..."
for _ in $(seq 1200); do kill -0 "$launcher_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$launcher_pid" 2>/dev/null; then
    echo "The launcher has not ended after two minutes; its window now: ${picture#"$root"/}"
    import -window root "$picture" 2>/dev/null || true
    exit 1
fi
wait "$launcher_pid" && status=0 || status=$?
launcher_pid=
sleep 1 # the product's window
picture=$state/product-window.png
import -window root "$picture" 2>/dev/null || true
echo "The launcher ended (status $status). The screen now, with the product it started: ${picture#"$root"/}"
echo "Installers run so far: ${program_files#"$root"/}/instalar.log"
exit "$status"
