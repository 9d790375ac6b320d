#!/bin/bash
# The keyboard walk over the tiles on the real window, with the real pointer: each walk starts from a fresh
# launcher with the pointer outside the window, and Enter must start the product the walk ends on. The launcher
# moves the pointer onto the selection itself, so the motion that follows must not undo the selection.
# Usage: real_keyboard_test.sh QUORVEL_BINARY ARTIFACT_DIR VENDOR_SERVICE_PY (run under xvfb-run -a).
# QUORVEL_KEYBOARD_ROUNDS repeats every walk (default 1).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/real_test_common.sh"
start_vendor_service "{\"routes\": {\"/vrs.php\": [{\"body\": \"$(version_answer 5.12 "")\"}]}}"

# Every reachable product installed as a program without a version text, which counts as current; each start is
# recorded under the program's file name.
install_product() { # WORD FILE
    mkdir -p "$QUORVEL_PROGRAM_FILES/Quorvel $1"
    printf '#!/bin/sh\necho %s >> "%s"\n' "$2" "$work/started.txt" > "$QUORVEL_PROGRAM_FILES/Quorvel $1/$2"
    chmod 755 "$QUORVEL_PROGRAM_FILES/Quorvel $1/$2"
}
install_product Face quorface.exe
install_product Insta quorinst.exe
install_product Tele quortele.exe
install_product Tik quortik.exe
install_product Whats quorwhat.exe
install_product SMS quorsms.exe
install_product Tube quortube.exe
install_product Twit quortwit.exe

# walk "KEYS" EXPECTED_FILE: a fresh launcher, the keys about as fast as a person types them, then Enter.
passed=0
failed=0
walk() {
    local keys=$1 expected=$2 window pid started
    rm -f "$work/started.txt"
    xdotool mousemove 1270 1010 # outside the centred window
    "$quorvel" &
    pid=$!
    pids+=("$pid")
    window=$(wait_window '^ Quorvel$' 30) || fail "no launcher window"
    sleep 2 # the reveal and the version answer
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    local key
    for key in $keys Return; do
        xdotool key "$key"
        sleep 0.3
    done
    for _ in $(seq 100); do [ -s "$work/started.txt" ] && break; sleep 0.1; done
    started=
    [ -f "$work/started.txt" ] && started=$(tr '\n' ' ' < "$work/started.txt")
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [ "$started" = "$expected " ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: keys '$keys' then Enter started '$started', expected $expected" >&2
        failed=$((failed + 1))
    fi
}

for _ in $(seq "${QUORVEL_KEYBOARD_ROUNDS:-1}"); do
    echo "# The first key of every direction selects Face"
    walk "Left" quorface.exe
    walk "Right" quorface.exe
    walk "Up" quorface.exe
    walk "Down" quorface.exe
    echo "# From Face: Left wraps to the eighth tile (Twit), Up stays"
    walk "Left Left" quortwit.exe
    walk "Right Up" quorface.exe
    echo "# Down from Messages and Right from the eighth tile come back to Face"
    walk "Down Down Down" quorface.exe
    walk "Left Left Right" quorface.exe
    echo "# A longer walk: Face, Insta, SMS, Messages, Face, Insta, Tele"
    walk "Right Right Down Left Up Right Right" quortele.exe
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
