#!/usr/bin/env bash
# Checks the engine library stand-in as the programs need it: a DLL that
# exports one function, ordinal 3, with no name, and imports system DLLs only.
#   check-exports.sh OBJDUMP Otxtpdf.dll
set -euo pipefail
objdump=$1 dll=$2
info=$("$objdump" -p "$dll")
fail() { echo "$(basename "$dll"): $1"; exit 1; }
grep -qE '^[[:space:]]+DLL$' <<<"$info" || fail "not a DLL"
ordinals=$(awk '/^Export Address Table -- Ordinal Base/ { listing = 1; next }
                /^$/ { listing = 0 }
                listing && /Export RVA/ { gsub(/[][]/, " "); print $3 }' <<<"$info")
[ "$ordinals" = 3 ] || fail "exports ordinals '$(tr '\n' ' ' <<<"$ordinals")', not 3 alone"
grep -qE '\[Name Pointer/Ordinal\] Table[[:space:]]+0+$' <<<"$info" || fail "exports names"
bash "$(dirname "$0")/../../scripts/check-pe.sh" --console "$objdump" "$dll" >/dev/null ||
    fail "imports more than system DLLs"
echo "$(basename "$dll"): ordinal 3 only, no names, system imports only"
