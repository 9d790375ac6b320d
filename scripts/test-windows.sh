#!/bin/bash
# Builds the Windows program and its tests with mingw-w64 (the cached Windows dependencies are built first when
# missing, about 40 minutes once) and runs them under Wine: one private Wine prefix, one wineserver and one X
# server for the whole run, never the user's own prefix.
#
#   bash scripts/test-windows.sh      (called by scripts/test.sh; QUORVEL_TEST_BUILD_DIR_WIN picks the build folder)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" != --inside-x ]; then
    source "$root/scripts/packages.sh"
    ensure_packages
    sdk=$(bash "$root/scripts/windows-sdk.sh" | tail -n1)
    build=${QUORVEL_TEST_BUILD_DIR_WIN:-$root/build-tests-win}
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DQUORVEL_WIN_SDK="$sdk" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build"
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "${BASH_SOURCE[0]}" --inside-x "$build"
fi
build=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine.XXXXXX")
# No debugger on a crash: the test fails at once instead of waiting on it.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
source "$root/scripts/wine-common.sh"
cleanup() {
    end_wineserver
    # The simulated vendor service is a process of this machine that Wine cannot signal; its tests end it by
    # removing its lease file, and one a crashed test left behind ends here.
    pkill -f "vendor_service.py --config [A-Za-z]:" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# The browser Wine hands web addresses to is xdg-open: a recording one goes first on the path. The test names its
# record as Windows sees it (Wine's Z: drive is this machine's root).
mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<'SCRIPT'
#!/bin/sh
echo "$*" >> "${QUORVEL_BROWSER_RECORD#Z:}"
SCRIPT
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH
export QUORVEL_BROWSER_RECORD="Z:$work/browser.txt"

# Output to files and no terminal input: the wineserver outlives its first client and would hold them open.
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 </dev/null
echo "== Wine prefix"
wine wineboot --init >"$work/wineboot.log" 2>&1 </dev/null || { cat "$work/wineboot.log"; exit 1; }
add_design_fonts

# Left out under Wine, each with its reason:
excluded=(
    # they install and start shell-script products; quorvel_real_wine starts real Windows ones
    '^LaunchDecision\.'
    # symbolic links need rights a Windows user does not have
    '^LeftoverFiles\.PartFoldersThatAreLinksAreRemovedNotFollowed$|^FileVersion\.LinkedAndLargeFiles$'
    # the archives are made by Linux tools (bsdtar, zip) through sh
    '^ZipExtractor\.ArchivesAsRealToolsWriteThem$'
    # open fault: in these unit tests the download dialog opened from the launch decision crashes under Wine
    # while its memo lays out its scroll bars (Qt's reference count released on what is a scroll-bar container,
    # in QWidget::raise); not yet understood, and quorvel.exe itself shows the same dialog in quorvel_real_wine
    # and quorvel_real_wine_update without it
    '^ProgramEnd\.|^InstalledProduct\.AnOlderProductOpensTheUpdateDialogInstead$'
)
filter=$(IFS='|'; echo "${excluded[*]}")
echo "== Windows build under Wine: unit suites, the Win32 layer, the import check and the real-window test"
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 ${filter:+-E "$filter"} </dev/null
