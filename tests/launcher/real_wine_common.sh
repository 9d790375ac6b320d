# Sourced by the real-window tests under Wine after `set -euo pipefail`, in place of real_test_common.sh (which it
# sources): paths and variables as Windows sees them, and the simulated service as a Windows program reaches it.
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "run through scripts/test-windows.sh" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/real_test_common.sh"

# Wine's Z: drive is this machine's root.
windows_path() { winepath -w "$1" 2>/dev/null; }
unix_path() { winepath -u "$1" 2>/dev/null; }
windows_variable() { wine cmd /c echo "%$1%" 2>/dev/null </dev/null | tr -d '\r'; }

# start_wine_vendor_service: the simulated service as start_vendor_service starts it, named "localhost" (Schannel
# matches the certificate by DNS name only) and with its certificate by the Windows path the program reads.
start_wine_vendor_service() {
    start_vendor_service "{}"
    export QUORVEL_HOST=localhost:${QUORVEL_HOST##*:}
    export CURL_CA_BUNDLE=$(windows_path "$CURL_CA_BUNDLE")
}

# link_list ITEM ADDRESS: a link-list answer whose item ITEM is ADDRESS and whose other 20 items are empty ("x").
link_list() {
    local links=ok item
    for item in $(seq 1 21); do
        if [ "$item" = "$1" ]; then links+=";$2"; else links+=";x"; fi
    done
    printf '%s' "$links"
}
