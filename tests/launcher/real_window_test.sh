#!/bin/bash
# Starts the real launcher in an X server as a user would and judges what can be seen: window titles and sizes,
# log.txt, which processes live, what reaches the browser.
# Usage: real_window_test.sh QUORVEL_BINARY ARTIFACT_DIR VENDOR_SERVICE_PY (run under xvfb-run -a).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/real_test_common.sh"

# Face's latest version is not known, so an installed Face counts as current. The first answer comes late, so that
# log.txt, which keeps only the newest line, still shows the start line when the first check reads it.
answer=$(version_answer "" "ad;1|Novo curso gratuito|http://cursos.test/novo")
start_vendor_service "{\"routes\": {\"/vrs.php\": [{\"wait\": 8, \"body\": \"$answer\"}, {\"body\": \"$answer\"}]}}"

echo "# Shift held at start: debug caption and log line"
xdotool keydown shift
"$quorvel" &
first=$!
pids+=("$first")
window=$(wait_window '^ Quorvel \(Debug\)$' 30) || fail "no window titled ' Quorvel (Debug)'"
xdotool keyup shift
title=$(xdotool getwindowname "$window")
[ "$title" = " Quorvel (Debug)" ] || fail "title is '$title'"
size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "861x702" ] || fail "window size is $size"
log="$XDG_DATA_HOME/Quorvel/log.txt"
[ -f "$log" ] || fail "no $log"
grep -qP '^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d Application start\r$' "$log" || fail "log.txt holds: $(cat -A "$log")"
[ "$(wc -l < "$log")" = 1 ] || fail "log.txt holds more than one line"
sleep 2 # the reveal takes about a second
import -window "$window" "$artifacts/main-window.png" || echo "note: no screenshot taken"

echo "# A second launcher ends the first"
"$quorvel" &
second=$!
pids+=("$second")
wait_end "$first" 10 || fail "the first launcher still runs"
wait_window '^ Quorvel$' 30 > /dev/null || fail "the second launcher shows no window titled ' Quorvel'"
alive "$second" || fail "the second launcher ended"
kill "$second"

echo "# A product word as argument 1 starts the installed product and the one-shot launcher ends by itself"
# Without a version answer an installed product counts as current, so it is started with the forwarded arguments.
mkdir -p "$QUORVEL_PROGRAM_FILES/Quorvel Face"
cat > "$QUORVEL_PROGRAM_FILES/Quorvel Face/quorface.exe" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" > "$work/face-arguments.txt"
SCRIPT
chmod +x "$QUORVEL_PROGRAM_FILES/Quorvel Face/quorface.exe"
"$quorvel" face pt-BR "C:\\x y" &
third=$!
pids+=("$third")
wait_window '^ Quorvel$' 30 > /dev/null || fail "no window for the product word run"
wait_end "$third" 30 || fail "the launcher did not end after handling its product"
status=0
wait "$third" || status=$?
[ "$status" = 0 ] || fail "the launcher ended with status $status"
for _ in $(seq 50); do [ -s "$work/face-arguments.txt" ] && break; sleep 0.1; done
[ "$(cat "$work/face-arguments.txt" 2>/dev/null)" = "$(printf 'pt-BR\nC:\\x y')" ] ||
    fail "the product received: $(cat "$work/face-arguments.txt" 2>/dev/null)"

echo "# The advertisement is typed into the footer and opens its link"
"$quorvel" &
fourth=$!
pids+=("$fourth")
window=$(wait_window '^ Quorvel$' 30) || fail "no window for the advertisement run"
sleep 2
import -window "$window" "$artifacts/advertisement.png" || echo "note: no screenshot taken"
eval "$(xdotool getwindowgeometry --shell "$window")"
rm -f "$work/opened.txt"
xdotool mousemove $((X + 100)) $((Y + 533 + 110 + 15)) click 1
for _ in $(seq 50); do [ -s "$work/opened.txt" ] && break; sleep 0.1; done
[ "$(cat "$work/opened.txt" 2>/dev/null)" = "https://cursos.test/novo" ] ||
    fail "a click on the advertisement opened: $(cat "$work/opened.txt" 2>/dev/null)"
kill "$fourth"

echo "# Without the vendor service: one message, then the manual download page once"
kill "$vendor_pid"
export QUORVEL_HOST=127.0.0.1:9
rm -f "$work/opened.txt"
"$quorvel" &
fifth=$!
pids+=("$fifth")
box=$(wait_window '^Quorvel Software$' 30) || fail "no message box about the connection"
import -window "$box" "$artifacts/connection-failure.png" || echo "note: no screenshot taken"
[ -s "$work/opened.txt" ] && fail "the browser opened before the message was answered"
# The OK button sits in the box's lower right corner.
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH - 45)) $((Y + HEIGHT - 24)) click 1
for _ in $(seq 50); do [ -s "$work/opened.txt" ] && break; sleep 0.1; done
sleep 1
[ "$(cat "$work/opened.txt" 2>/dev/null)" = "https://127.0.0.1:9/download?links" ] ||
    fail "the browser received: $(cat "$work/opened.txt" 2>/dev/null)"
alive "$fifth" || fail "the launcher ended after the message"
kill "$fifth"

echo "1 passed, 0 failed"
