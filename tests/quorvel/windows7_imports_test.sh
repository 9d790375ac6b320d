#!/bin/bash
# Fails when the Windows program imports anything Windows 7 SP1 lacks: a missing static import stops a program
# before its first line, so such a call must be looked up at run time instead.
#   windows7_imports_test.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1
program=$2

imports=$("$objdump" -p "$program" | awk '
    /^[[:space:]]*DLL Name:/ { dll = $3; print "dll " dll; next }
    dll != "" && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_]/ { print "fn " dll " " $3 }
')
[ -n "$imports" ] || { echo "no import table read from $program" >&2; exit 1; }

# DLLs and functions that arrived with Windows 8 or later.
newer_dlls='^(shcore\.dll|api-ms-win-.*|ext-ms-win-.*|d3d12\.dll|dxgi1_[3-9]\.dll)$'
newer_functions='^(GetDpiFor(Window|System|Monitor)|.*ForDpi|.*DpiAwarenessContext.*|EnableNonClientDpiScaling'
newer_functions+='|SetProcessDpiAwareness|GetProcessDpiAwareness|GetPointer.*|WaitOnAddress|WakeByAddress.*'
newer_functions+='|GetSystemTimePreciseAsFileTime|CreateFile2|GetCurrentThreadStackLimits|SetThreadDescription'
newer_functions+='|GetThreadDescription|PrefetchVirtualMemory|SetFileInformationByHandle2)$'

found=0
while read -r kind dll function; do
    if [ "$kind" = dll ] && grep -qiE "$newer_dlls" <<<"$dll"; then
        echo "imports $dll, which Windows 7 lacks"
        found=1
    elif [ "$kind" = fn ] && grep -qE "$newer_functions" <<<"$function"; then
        echo "imports $function from $dll, which Windows 7 lacks"
        found=1
    fi
done <<<"$imports"

echo "$(grep -c '^dll ' <<<"$imports") DLLs, $(grep -c '^fn ' <<<"$imports") functions imported"
exit "$found"
