#!/bin/bash
# The tile selection and the footer links on the real window, driven by the real pointer and keyboard.
# Usage: real_pointer_test.sh QUORVEL_BINARY ARTIFACT_DIR VENDOR_SERVICE_PY (run under xvfb-run -a).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/real_test_common.sh"
start_vendor_service "{\"routes\": {\"/vrs.php\": [{\"body\": \"$(version_answer 5.12 "")\"}]}}"

"$quorvel" &
pid=$!
pids+=("$pid")
window=$(wait_window '^ Quorvel$' 30) || fail "no launcher window"
sleep 2 # the reveal
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$X
top=$Y

pixel() { # colour of window pixel x y in the latest screenshot
    /usr/bin/convert "$artifacts/pointer-on-face.png" -format "%[pixel:p{$1,$2}]" info:
}

echo "# The pointer over the Face tile puts the selection frame behind it"
xdotool mousemove $((left + 21 + 64)) $((top + 145 + 64))
sleep 0.5
import -window "$window" "$artifacts/pointer-on-face.png"
# Inside the frame (10,135 154x186), left of the tile panel and above its caption.
colour=$(pixel 15 140)
case "$colour" in
    "srgb(189,181,180)" | "rgb(189,181,180)" | "#BDB5B4") ;;
    *) fail "frame colour at (15,140) is $colour" ;;
esac
colour=$(pixel 200 140) # no frame behind the next tile
[ "$colour" != "srgb(189,181,180)" ] || fail "a frame behind Insta too"

echo "# The Right arrow selects Insta and moves the pointer onto it"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Right
sleep 0.5
eval "$(xdotool getmouselocation --shell)"
# Insta's frame starts at (193-11, 145-10); the pointer goes 10 pixels into it.
expected_x=$((left + 182 + 10))
expected_y=$((top + 135 + 10))
[ "$X" = "$expected_x" ] && [ "$Y" = "$expected_y" ] || fail "pointer at $X,$Y, expected $expected_x,$expected_y"

echo "# A footer link opens its address in the browser"
xdotool mousemove $((left + 200)) $((top + 533 + 20)) click 1
for _ in $(seq 50); do [ -s "$work/opened.txt" ] && break; sleep 0.1; done
[ "$(cat "$work/opened.txt" 2>/dev/null)" = "https://$QUORVEL_HOST/contato#chat" ] ||
    fail "xdg-open received: $(cat "$work/opened.txt" 2>/dev/null)"

echo "1 passed, 0 failed"
