#!/bin/bash
# Rebuilds libcef.dll, the demo browser application's runtime library: a resource-only Windows DLL whose version
# resource the launcher reads. Needs Debian's binutils-mingw-w64-x86-64 and cpp.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-windres --preprocessor=cpp -O coff -o "$work/res.o" "$here/libcef.rc"
x86_64-w64-mingw32-ld --dll -e 0 -s -o "$here/libcef.dll" "$work/res.o"
