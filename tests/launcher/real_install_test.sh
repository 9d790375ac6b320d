#!/bin/bash
# A product that is not installed, end to end: the real launcher under an X server fetches the link list and the
# archive from the simulated vendor service, extracts the installer, starts it, sees its process and ends.
# Usage: real_install_test.sh QUORVEL_BINARY ARTIFACT_DIR VENDOR_SERVICE_PY (run under xvfb-run -a).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/real_test_common.sh"
mkdir -p "$work/served/app" "$work/archive"

# The product's archive: an installer that records its arguments and stays a moment, stored executable.
cat > "$work/archive/instalar.exe" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" > "$work/installer-arguments.txt"
sleep 3
SCRIPT
chmod 755 "$work/archive/instalar.exe"
(cd "$work/archive" && zip -q "$work/served/app/quorface.zip" instalar.exe)

links="ok"
for item in $(seq 1 21); do
    if [ "$item" = 3 ]; then links+=";https://HOST/app/quorface.zip"
    elif [ $((item % 2)) = 1 ]; then links+=";https://HOST/app/other$item.zip"
    else links+=";x"; fi
done
start_vendor_service "{}"
links=${links//HOST/$QUORVEL_HOST}
cat > "$work/vendor.json" <<JSON
{"files": "$work/served",
 "routes": {"/vrs.php": [{"body": "$(version_answer 5.12 "")"}],
            "/ldl.php": [{"body": "$links"}]}}
JSON

echo "# quorvel face with nothing installed downloads, installs and ends"
started=$(date +%s)
"$quorvel" face &
pid=$!
pids+=("$pid")
if dialog=$(wait_window 'Face' 30); then
    import -window "$dialog" "$artifacts/install-dialog.png" 2>/dev/null || true
fi
wait_end "$pid" 60 || fail "the launcher did not end after installing"
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || fail "the launcher ended with status $status"
echo "ended after $(( $(date +%s) - started )) s"

grep -q "https /app/quorface.zip" "$work/requests.log" || fail "the archive was not fetched: $(cat "$work/requests.log")"
own=$(readlink -f "$quorvel")
expected=$(printf '/VERYSILENT\n/SUPPRESSMSGBOXES\n/NORESTART\n%s\n%s' "$own" "$own")
[ "$(cat "$work/installer-arguments.txt" 2>/dev/null)" = "$expected" ] ||
    fail "the installer received: $(cat "$work/installer-arguments.txt" 2>/dev/null)"
data=$XDG_DATA_HOME/Quorvel
[ -x "$data/instalar.exe" ] || fail "no executable instalar.exe in the data folder"
ls "$data"/quorface_*.zip >/dev/null 2>&1 && fail "the archive was left behind: $(ls "$data")"
[ -s "$work/opened.txt" ] && fail "the browser was opened: $(cat "$work/opened.txt")"

echo "1 passed, 0 failed"
