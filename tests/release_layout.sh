#!/usr/bin/env bash
# The release folder laid out by scripts/release.sh from a scratch bin folder
# of dummy programs: every file of the installer's table, the installer, the
# stand-in list and the zip; and a clear refusal when a stand-in is missing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

bin=$scratch/bin
mkdir -p "$bin"
for f in installer.exe zandrix_gui.exe stopjob.exe ombrello_zandrix.exe Otxtpdf.dll uninst.exe; do
    echo "built $f" >"$bin/$f"
done
bash "$top/scripts/release.sh" --bin "$bin" --out "$scratch/release" >"$scratch/log" 2>&1 || fail "$(cat "$scratch/log")"

expected="001.lng 033.lng installer.exe Obzip.dll Ograph.dll Ojpeg.dll Olcms.dll Olibxml.dll
Ombrello_zandrix.dat Ombrello_zandrix.exe Ombrello_zandrix.ini Ombrelloe_zandrix.cnt Ombrelloe_zandrix.hlp
Opng.dll Oswf.dll Otiff.dll Ottf.dll Otxtpdf.dll Ovector.dll Ozlib.dll STANDINS.txt stopjob.exe uninst.exe
whatsnew.txt zandrix_gui.exe"
got=$(cd "$scratch/release" && ls | sort | tr '\n' ' ')
want=$(tr ' \n' '\n\n' <<<"$expected" | grep -v '^$' | sort | tr '\n' ' ')
[ "$got" = "$want" ] || fail "release folder holds: $got; expected: $want"
[ "$(cat "$scratch/release/Ombrello_zandrix.exe")" = "built ombrello_zandrix.exe" ] || fail "engine stand-in not copied"
cmp -s "$top/resources/Ombrello_zandrix.ini" "$scratch/release/Ombrello_zandrix.ini" || fail "default job file differs"
grep -q 'uninst.exe  *stand-in uninstaller' "$scratch/release/STANDINS.txt" || fail "STANDINS.txt does not name uninst.exe"
grep -q 'Ograph.dll  *placeholder' "$scratch/release/STANDINS.txt" || fail "STANDINS.txt does not name Ograph.dll"
zipped=$(unzip -Z1 "$scratch/release.zip" | grep -v '/$' | sed 's|^release/||' | sort | tr '\n' ' ')
[ "$zipped" = "$want" ] || fail "zip holds: $zipped"

rm "$bin/Otxtpdf.dll"
if bash "$top/scripts/release.sh" --bin "$bin" --out "$scratch/release" >"$scratch/log" 2>&1; then
    fail "a missing engine library went unnoticed"
fi
grep -q "Otxtpdf.dll is missing" "$scratch/log" || fail "no clear message: $(cat "$scratch/log")"
echo "release layout: ok"
