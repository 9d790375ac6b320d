# Sourced by the scripts that run Windows programs under Wine in a prefix of their own ($WINEPREFIX).

# end_wineserver: ends the prefix's wineserver and removes the socket folder it keeps under the temporary folder
# (wine-XXXXXX/server-DEVICE-INODE, named after the prefix folder), which it leaves behind otherwise.
end_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
    [ -d "$WINEPREFIX" ] || return 0
    local server folder
    server=server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")
    for folder in "${TMPDIR:-/tmp}"/wine-*/"$server"; do
        [ -d "$folder" ] || continue
        rm -rf "$folder"
        rmdir "$(dirname "$folder")" 2>/dev/null || true
    done
}

# add_design_fonts: Windows has Tahoma, the font the windows are designed in; a prefix has it only from Wine's own
# copy, which its GDI does not find unless it is in the prefix's Fonts folder.
add_design_fonts() {
    cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}
