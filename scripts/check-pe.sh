#!/usr/bin/env bash
# Checks that each executable is a 32-bit (Intel 80386) Windows GUI program
# whose imports are system DLLs only, so it runs on a clean Windows without
# any MinGW runtime DLL.
#   check-pe.sh OBJDUMP EXE [EXE...]
set -euo pipefail
objdump=$1; shift
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|uxtheme|msvcrt|otxtpdf)\.dll$'
status=0
for exe in "$@"; do
    info=$("$objdump" -p "$exe")
    name=$(basename "$exe")
    grep -q 'file format pei-i386' <<<"$info" || { echo "$name: not a PE32 i386 image"; status=1; }
    grep -qE '^Subsystem[[:space:]]+0+2[[:space:]]' <<<"$info" || { echo "$name: not a Windows GUI program"; status=1; }
    while read -r dll; do
        if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -qE "$allowed"; then
            echo "$name: imports $dll, which a clean Windows does not have"; status=1
        fi
    done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info")
    [ "$status" -eq 0 ] && echo "$name: PE32 i386 GUI, system imports only"
done
exit "$status"
