#!/bin/bash
# The launcher's main job against the demo vendor service, as a user meets it: real archives of stamped demo
# products, installers that install and start them, tiles clicked and the tile menu used with the real pointer.
# Judged only by what can be seen: windows, files in the program folder, what products and installers recorded, the
# service's request log, and the launcher's process.
# Usage: real_demo_test.sh QUORVEL_BINARY ARTIFACT_DIR VENDOR_SERVICE_PY DEMO_PRODUCT DEMO_TOOLS_DIR
# (run under xvfb-run -a).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/real_test_common.sh"
demo_product=$4
demo_tools=$5
programs=$QUORVEL_PROGRAM_FILES
installs=$programs/instalar.log
face_starts="$programs/Quorvel Face/quorface.exe.starts"
silent="/VERYSILENT /SUPPRESSMSGBOXES /NORESTART $quorvel $quorvel"

start_vendor_service '{}'
# demo_content [KEY=VERSION ...]: the demo's archives and answers, with these latest versions reported.
demo_content() {
    local overrides=() item
    for item in "$@"; do overrides+=(--version "$item"); done
    QT_QPA_PLATFORM=offscreen python3 "$demo_tools/make_demo.py" --product "$demo_product" \
        --libcef "$demo_tools/libcef.dll" --out "$work" --host "$QUORVEL_HOST" "${overrides[@]}"
}
demo_content

lines() { if [ -f "$1" ]; then wc -l < "$1"; else echo 0; fi; }
requests_since() { tail -n +$(($1 + 1)) "$work/requests.log"; }

# wait_lines FILE COUNT SECONDS: until FILE has COUNT lines.
wait_lines() {
    for _ in $(seq $(($3 * 10))); do [ "$(lines "$1")" -ge "$2" ] && return 0; sleep 0.1; done
    return 1
}

# start_launcher ARGS...: sets $launcher.
start_launcher() {
    "$quorvel" "$@" &
    launcher=$!
    pids+=("$launcher")
}

# main_window: waits for the launcher's window and its reveal; sets $left and $top.
main_window() {
    local window
    window=$(wait_window '^ Quorvel$' 30) || fail "no launcher window"
    sleep 2
    eval "$(xdotool getwindowgeometry --shell "$window")"
    left=$X
    top=$Y
    main=$window
}

# tile_menu ITEM_INDEX: opens the Face tile's menu with the right button and picks its n-th item.
tile_menu() {
    xdotool mousemove $((left + 85)) $((top + 209)) click 3
    sleep 0.5
    for _ in $(seq "$1"); do xdotool key Down; done
    xdotool key Return
}

echo "# First install of a product from a tile click"
start_launcher
main_window
import -window "$main" "$artifacts/demo-main-window.png" || echo "note: no screenshot taken"
before=$(lines "$work/requests.log")
xdotool mousemove $((left + 85)) $((top + 209)) click 1
dialog=$(wait_window '^ Baixando Face, aguarde\.\.\.$' 30) || fail "no download dialog for Face"
import -window "$dialog" "$artifacts/demo-download-dialog.png" || echo "note: no screenshot taken"
wait_window '^Quorvel Face 5\.1\.2\.0$' 60 > /dev/null || fail "Face 5.1.2.0 did not start"
wait_end "$launcher" 20 || fail "the launcher did not end after installing"
[ "$(cat "$installs")" = "quorface.exe 5.1.2.0: $silent" ] || fail "installers recorded: $(cat "$installs")"
[ "$(lines "$face_starts")" = 1 ] || fail "Face started $(lines "$face_starts") times"
[ "$(requests_since "$before")" = "$(printf 'https /ldl.php\nhttps /app/quorface-5.12.zip')" ] ||
    fail "requests: $(requests_since "$before")"

echo "# A current product starts at once, the window hides and the launcher ends"
before=$(lines "$work/requests.log")
start_launcher face
wait_lines "$face_starts" 2 30 || fail "Face was not started again"
started=$(date +%s)
sleep 0.5
xdotool search --onlyvisible --name '^ Quorvel$' > /dev/null 2>&1 && fail "the launcher window is still shown"
wait_end "$launcher" 10 || fail "the launcher did not end"
ended=$(($(date +%s) - started))
[ "$ended" -ge 1 ] && [ "$ended" -le 4 ] || fail "the launcher ended $ended s after starting Face"
requests_since "$before" | grep -q ldl.php && fail "a current product asked for the link list"
[ "$(lines "$installs")" = 1 ] || fail "an installer ran for a current product"

echo "# An outdated product is updated (argument in capitals)"
demo_content face=5.13
before=$(lines "$work/requests.log")
start_launcher FACE
wait_window '^ Atualizando Face, aguarde\.\.\.$' 30 > /dev/null || fail "no update dialog for Face"
wait_window '^Quorvel Face 5\.1\.3\.0$' 60 > /dev/null || fail "Face 5.1.3.0 did not start"
wait_end "$launcher" 20 || fail "the launcher did not end after updating"
[ "$(tail -n1 "$installs")" = "quorface.exe 5.1.3.0: $silent" ] || fail "installers recorded: $(cat "$installs")"
requests_since "$before" | grep -qx 'https /app/quorface-5.13.zip' || fail "requests: $(requests_since "$before")"

echo "# Atualizar on the tile menu: the browser application, then the product"
before=$(lines "$work/requests.log")
start_launcher
main_window
tile_menu 1
wait_window '^Atualizando navegador , aguarde\.\.\.$' 30 > /dev/null || fail "no dialog for the browser application"
wait_window '^ Atualizando Face, aguarde\.\.\.$' 60 > /dev/null || fail "no reinstall dialog for Face"
wait_end "$launcher" 60 || fail "the launcher did not end after Atualizar"
[ -f "$programs/Quorvel/Navigator/libcef.dll" ] || fail "no libcef.dll installed"
[ "$(tail -n2 "$installs")" = "$(printf 'libcef.dll 109: %s\nquorface.exe 5.1.3.0: %s' "$silent" "$silent")" ] ||
    fail "installers recorded: $(cat "$installs")"
[ "$(requests_since "$before" | grep /app/)" = "$(printf 'https /app/quornav_109.exe\nhttps /app/quorface-5.13.zip')" ] ||
    fail "requests: $(requests_since "$before")"

echo "# Fechar on the tile menu ends the product and the launcher"
pgrep -f "Quorvel Face/quorface.exe" > /dev/null || fail "no Face running before Fechar"
start_launcher
main_window
tile_menu 2
wait_end "$launcher" 20 || fail "the launcher did not close"
sleep 0.5
pgrep -f "Quorvel Face/quorface.exe" > /dev/null && fail "Face still runs after Fechar"

echo "# Argument messages installs the Messages product"
start_launcher messages
wait_window '^Quorvel Messages 3\.5\.5\.0$' 60 > /dev/null || fail "Messages did not start"
wait_end "$launcher" 20 || fail "the launcher did not end after installing Messages"
[ -x "$programs/Quorvel Whats/quorwhat.exe" ] || fail "Messages is not in its folder"

echo "# The launcher updates itself when the service reports 1.79"
demo_content face=5.13 menu=1.79
before=$(lines "$work/requests.log")
start_launcher
wait_end "$launcher" 60 || fail "the launcher did not end after updating itself"
[ "$(tail -n1 "$installs")" = "quorvel 1.79: $silent" ] || fail "installers recorded: $(cat "$installs")"
requests_since "$before" | grep -qx 'https /app/quorvel-1.79.zip' || fail "requests: $(requests_since "$before")"

echo "1 passed, 0 failed"
