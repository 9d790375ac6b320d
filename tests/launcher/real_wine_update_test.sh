#!/bin/bash
# The launcher's self-update under Wine, end to end: the launcher's own installer puts quorvel.exe 1.78 into the
# user's programs folder; started, it hears of a newer launcher from the simulated vendor service, downloads the
# update archive built from a second launcher carrying that version, runs its installer and ends; the installer
# replaces the launcher once it has ended, the data folder stays as it was, and the launcher started next carries
# the new version and does not update again.
# Runs inside scripts/test-windows.sh (its Wine prefix, wineserver and X server).
# Usage: real_wine_update_test.sh QUORVEL_EXE ARTIFACT_DIR VENDOR_SERVICE_PY INSTALLER_EXE NEXT_EXE NEXT_ARCHIVE
#        NEXT_VERSION NEXT_FILE_VERSION
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/real_wine_common.sh"
installer=$4
next_launcher=$5
next_archive=$6
next_version=$7
next_file_version=$8

# The FileVersion text of a PE file's version resource: the String entry whose key is "FileVersion" (header of
# three 16-bit words, the UTF-16 key, padding to 32 bits, then the value), up to its terminating zero.
file_version() {
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
key = "FileVersion\0".encode("utf-16-le")
at = data.find(key)
while at >= 6:
    length, value_length, kind = struct.unpack_from("<HHH", data, at - 6)
    value_at = at + len(key) + (-(at + len(key)) % 4)
    if kind == 1 and value_length and value_at + 2 * value_length <= at - 6 + length:
        print(data[value_at:value_at + 2 * value_length].decode("utf-16-le").split("\0")[0])
        sys.exit(0)
    at = data.find(key, at + 1)
print("")
PY
}

wine winecfg /v win10 >/dev/null 2>&1 </dev/null
local_appdata=$(unix_path "$(windows_variable LOCALAPPDATA)")
data_folder=$(unix_path "$(windows_variable APPDATA)")/Quorvel
programs=$local_appdata/Programs/Quorvel
rm -rf "$programs" "$data_folder"

echo "# the launcher's installer, silent, installs quorvel.exe 1.78 for the user"
timeout 60 wine "$installer" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART >"$work/installer.log" 2>&1 </dev/null ||
    fail "the installer failed: $(tail -5 "$work/installer.log")"
installed=$programs/quorvel.exe
[ "$(file_version "$installed")" = 1.7.8.0 ] || fail "installed: $(file_version "$installed")"
[ -f "$programs/desinstalar.exe" ] || fail "no uninstaller"
start_menu=$(unix_path "$(windows_variable APPDATA)")/Microsoft/Windows/Start\ Menu/Programs/Quorvel.lnk
[ -f "$start_menu" ] || fail "no Start-menu entry"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel' /v DisplayVersion 2>/dev/null \
    </dev/null | grep -q "1\.78" || fail "no uninstaller entry of version 1.78"

# What the user already has in the data folder.
mkdir -p "$data_folder"
printf 'C:\\Program Files (x86)\\Quorvel Face\\quorface.exe\r\n' >"$data_folder/path.dat"
before=$(sha256sum <"$data_folder/path.dat")

start_wine_vendor_service
mkdir -p "$work/served/app"
archive_name=$(basename "$next_archive")
cp "$next_archive" "$work/served/app/$archive_name"
cat >"$work/vendor.json" <<JSON
{"files": "$work/served",
 "routes": {"/vrs.php": [{"body": "$(version_answer 5.12 "ad;1|Novo curso|https://cursos.test/novo" "$next_version")"}],
            "/ldl.php": [{"body": "$(link_list 15 "https://$QUORVEL_HOST/app/$archive_name")"}]}}
JSON

echo "# started, the launcher updates itself to $next_version and ends"
timeout 120 wine "$installed" >"$work/wine.log" 2>&1 </dev/null || fail "quorvel.exe 1.78 did not end by itself"
grep -q "https /app/$archive_name" "$work/requests.log" || fail "the update was not fetched: $(cat "$work/requests.log")"
for _ in $(seq 300); do
    cmp -s "$installed" "$next_launcher" && break
    sleep 0.1
done
cmp -s "$installed" "$next_launcher" || fail "the installed launcher was not replaced by the new one"
[ "$(file_version "$installed")" = "$next_file_version" ] ||
    fail "the new launcher's version resource says $(file_version "$installed"), not $next_file_version"
[ "$(sha256sum <"$data_folder/path.dat")" = "$before" ] || fail "path.dat changed"
[ ! -e "$programs/quorvel.exe.new" ] || fail "the installer left its new file behind"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel' /v DisplayVersion 2>/dev/null \
    </dev/null | grep -q "$next_version" || fail "the uninstaller entry does not carry $next_version"

echo "# started next, the new launcher is current"
: >"$work/requests.log"
wine "$installed" >"$work/wine-next.log" 2>&1 </dev/null &
pids+=($!)
for _ in $(seq 300); do grep -q "/vrs.php" "$work/requests.log" && break; sleep 0.1; done
grep -q "/vrs.php" "$work/requests.log" || fail "the new launcher asked for no version"
sleep 4 # the self-update would start half a second after the answer
grep -q "/app/" "$work/requests.log" && fail "the new launcher updated itself again"
wait_window '^ Quorvel$' 5 >/dev/null || fail "the new launcher shows no window"
echo "3 passed, 0 failed"
