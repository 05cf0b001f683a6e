#!/usr/bin/env bash
# Checks that each executable is a 32-bit (Intel 80386) Windows GUI program
# whose imports are system DLLs only, so it runs on a clean Windows without
# any MinGW runtime DLL. The one other DLL allowed is the engine library
# Otxtpdf.dll, installed beside the programs, and only its export ordinal 3
# (it has no names). DLL names compare case-blind, as Windows does.
#   check-pe.sh [--console] OBJDUMP EXE [EXE...]
# --console accepts console programs too (test tools).
set -euo pipefail
subsystem='0+2'
if [ "${1:-}" = --console ]; then subsystem='0+[23]'; shift; fi
objdump=$1; shift
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|uxtheme|msvcrt|otxtpdf)\.dll$'
status=0
for exe in "$@"; do
    info=$("$objdump" -p "$exe")
    name=$(basename "$exe")
    ok=1
    grep -q 'file format pei-i386' <<<"$info" || { echo "$name: not a PE32 i386 image"; ok=0; }
    grep -qE "^Subsystem[[:space:]]+$subsystem[[:space:]]" <<<"$info" || { echo "$name: not a Windows GUI program"; ok=0; }
    while read -r dll; do
        if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -qE "$allowed"; then
            echo "$name: imports $dll, which a clean Windows does not have"; ok=0
        fi
    done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info")
    # Each import from the engine library as "hint-or-ordinal name".
    while read -r entry; do
        if [ "$entry" != "3 <none>" ]; then
            echo "$name: imports '$entry' from Otxtpdf.dll, which exports ordinal 3 only"; ok=0
        fi
    done < <(awk '/DLL Name:/ { dll = tolower($3); listing = 0; next }
                  /vma:.*Hint\/Ord/ { listing = 1; next }
                  /^[[:space:]]*$/ { listing = 0; next }
                  listing && dll == "otxtpdf.dll" { print $2, $3 }' <<<"$info")
    if [ "$ok" -eq 1 ]; then echo "$name: PE32 i386, system imports only"; else status=1; fi
done
exit "$status"
