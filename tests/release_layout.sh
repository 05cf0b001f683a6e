#!/usr/bin/env bash
# The release folder laid out by scripts/release.sh from a scratch bin folder
# of dummy programs and a scratch prefix of the engine's libraries: every
# file of the installer's table, the installer, the stand-in list, the
# engine's fonts, poppler-data and licences, the user guide in both
# languages with its pictures, and the zip; and a clear refusal
# when a stand-in or the prefix is missing.
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
deps=$scratch/deps
mkdir -p "$deps/share/fonts" "$deps/share/poppler/cMap/Adobe-Japan1" "$deps/licenses"
echo font >"$deps/share/fonts/NimbusSans-Regular.otf"
echo cmap >"$deps/share/poppler/cMap/Adobe-Japan1/90ms-RKSJ-H"
echo licence >"$deps/licenses/poppler.txt"
bash "$top/scripts/release.sh" --bin "$bin" --deps "$deps" --out "$scratch/release" >"$scratch/log" 2>&1 ||
    fail "$(cat "$scratch/log")"

expected="001.lng 033.lng installer.exe Obzip.dll Ograph.dll Ojpeg.dll Olcms.dll Olibxml.dll
Ombrello_zandrix.dat Ombrello_zandrix.exe Ombrello_zandrix.ini Ombrelloe_zandrix.cnt Ombrelloe_zandrix.hlp
Opng.dll Oswf.dll Otiff.dll Ottf.dll Otxtpdf.dll Ovector.dll Ozlib.dll STANDINS.txt stopjob.exe uninst.exe
whatsnew.txt zandrix_gui.exe fonts poppler licenses guide"
got=$(cd "$scratch/release" && ls | sort | tr '\n' ' ')
want=$(tr ' \n' '\n\n' <<<"$expected" | grep -v '^$' | sort | tr '\n' ' ')
[ "$got" = "$want" ] || fail "release folder holds: $got; expected: $want"
[ "$(cat "$scratch/release/Ombrello_zandrix.exe")" = "built ombrello_zandrix.exe" ] || fail "engine not copied"
cmp -s "$top/resources/Ombrello_zandrix.ini" "$scratch/release/Ombrello_zandrix.ini" || fail "default job file differs"
grep -q 'uninst.exe  *stand-in uninstaller' "$scratch/release/STANDINS.txt" || fail "STANDINS.txt does not name uninst.exe"
grep -q 'Ograph.dll  *placeholder' "$scratch/release/STANDINS.txt" || fail "STANDINS.txt does not name Ograph.dll"
grep -q "^  Ombrello_zandrix.exe" "$scratch/release/STANDINS.txt" && fail "STANDINS.txt lists the engine, which is the project's own"
for f in fonts/NimbusSans-Regular.otf poppler/cMap/Adobe-Japan1/90ms-RKSJ-H licenses/poppler.txt; do
    [ -f "$scratch/release/$f" ] || fail "$f is missing from the release folder"
done
for page in guide_en.html guide_fr.html; do
    cmp -s "$top/resources/guide/$page" "$scratch/release/guide/$page" || fail "guide/$page differs or is missing"
done
[ "$(cd "$top/resources/guide" && find . -type f | sort)" = "$(cd "$scratch/release/guide" && find . -type f | sort)" ] ||
    fail "the release's guide folder does not hold the guide's files"
zipped=$(unzip -Z1 "$scratch/release.zip" | grep -v '/$' | sed 's|^release/||' | sort | tr '\n' ' ')
files=$(cd "$scratch/release" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
[ "$zipped" = "$files" ] || fail "zip holds: $zipped; the folder: $files"

rm -r "$deps/licenses"
if bash "$top/scripts/release.sh" --bin "$bin" --deps "$deps" --out "$scratch/release" >"$scratch/log" 2>&1; then
    fail "a prefix without licences went unnoticed"
fi
grep -q "licenses is missing" "$scratch/log" || fail "no clear message: $(cat "$scratch/log")"

rm "$bin/Otxtpdf.dll"
if bash "$top/scripts/release.sh" --bin "$bin" --deps "$deps" --out "$scratch/release" >"$scratch/log" 2>&1; then
    fail "a missing engine library went unnoticed"
fi
grep -q "Otxtpdf.dll is missing" "$scratch/log" || fail "no clear message: $(cat "$scratch/log")"
echo "release layout: ok"
