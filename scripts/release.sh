#!/usr/bin/env bash
# Builds the shipped 32-bit programs and lays out the release folder a user
# installs from: installer.exe beside every file of its file table and the
# user guide (guide\), and a zip of the folder.
#
#   scripts/release.sh                       build build/win32, write build/release and build/release.zip
#   scripts/release.sh --bin DIR --deps DIR [--out DIR]
#                                            lay out from programs already built in DIR and the
#                                            engine's libraries' prefix (no build)
#
# The engine's fonts, poppler-data and licence texts come from the prefix
# scripts/build-deps.sh builds for i686 (fonts\, poppler\, licenses\).
#
# The engine is this project's own. The installer's table also names files
# of the other maker's engine: the engine library and the uninstaller are
# this project's stand-ins, the maker's other libraries, data file and help
# files placeholder files, all listed in STANDINS.txt beside them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=""
deps=""
out="$top/build/release"
while [ $# -gt 0 ]; do
    case "$1" in
        --bin) bin=$2; shift 2 ;;
        --deps) deps=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        *) echo "usage: scripts/release.sh [--bin DIR --deps DIR] [--out DIR]" >&2; exit 2 ;;
    esac
done

if [ -n "$bin" ] && [ -z "$deps" ]; then
    echo "release: --bin needs --deps, the engine's libraries' prefix" >&2
    exit 2
fi
if [ -z "$bin" ]; then
    cd "$top"
    bash scripts/install-deps.sh
    deps=$(bash scripts/build-deps.sh i686 | tail -1)
    cmake -S . -B build/win32 -G Ninja -DZANDRIX_WERROR=ON -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release -DZANDRIX_DEPS_PREFIX="$deps" >/dev/null
    cmake --build build/win32 -j "$(nproc)"
    bin="$top/build/win32/bin"
fi

# Built file:name in the release:CMake target that builds it. The last two are stand-ins.
built=(installer.exe:installer.exe:installer zandrix_gui.exe:zandrix_gui.exe:zandrix_gui
       stopjob.exe:stopjob.exe:stopjob ombrello_zandrix.exe:Ombrello_zandrix.exe:ombrello_zandrix
       Otxtpdf.dll:Otxtpdf.dll:otxtpdf_standin uninst.exe:uninst.exe:uninst_standin)
missing=0
for entry in "${built[@]}"; do
    IFS=: read -r file _ target <<<"$entry"
    if [ ! -f "$bin/$file" ]; then
        echo "release: $bin/$file is missing; the i686 build's target $target makes it" >&2
        missing=1
    fi
done
[ "$missing" -eq 0 ] || exit 1

rm -rf "$out"
mkdir -p "$out"
for entry in "${built[@]}"; do
    IFS=: read -r file name _ <<<"$entry"
    cp "$bin/$file" "$out/$name"
done
cp "$top/resources/lang/001.lng" "$top/resources/lang/033.lng" "$top/resources/Ombrello_zandrix.ini" \
   "$top/resources/whatsnew.txt" "$out/"
cp -r "$top/resources/guide" "$out/"   # the user guide, which Help opens
bash "$top/scripts/copy-engine-files.sh" "$deps" "$out"

placeholders=(Ombrelloe_zandrix.hlp Ombrelloe_zandrix.cnt Ombrello_zandrix.dat Ograph.dll Ottf.dll Ojpeg.dll
              Ovector.dll Otiff.dll Olcms.dll Ozlib.dll Obzip.dll Opng.dll Oswf.dll Olibxml.dll)
for name in "${placeholders[@]}"; do
    printf 'Placeholder for %s, a file the conversion engine'"'"'s maker supplies.\r\n' "$name" >"$out/$name"
done
{
    printf 'Stand-ins in this folder\r\n\r\n'
    printf 'The installer'"'"'s file table names files of the engine maker'"'"'s own release.\r\n'
    printf 'The engine of this release, Ombrello_zandrix.exe, is this project'"'"'s and needs none\r\n'
    printf 'of them. They are stand-ins made by this project, so that the release installs and runs:\r\n\r\n'
    printf '  Otxtpdf.dll           the engine library: this project'"'"'s page counter\r\n'
    printf '  uninst.exe            stand-in uninstaller: it removes what installer.exe installed\r\n'
    for name in "${placeholders[@]}"; do printf '  %-21s placeholder file, one line of text\r\n' "$name"; done
} >"$out/STANDINS.txt"

# Every file of the installer's table must be in place.
names=$(grep -o '{"[^"]*", [01]}' "$top/installer/install_tables.cpp" | sed 's/{"\([^"]*\)".*/\1/')
[ "$(wc -l <<<"$names")" -eq 23 ] || { echo "release: cannot read the installer's file table" >&2; exit 1; }
for name in $names; do
    [ -f "$out/$name" ] || { echo "release: $name of the file table is missing from $out" >&2; exit 1; }
done

zip_file="$out.zip"
rm -f "$zip_file"
(cd "$(dirname "$out")" && zip -qrX "$zip_file" "$(basename "$out")")
echo "release folder: $out ($(find "$out" -type f | wc -l) files), zip: $zip_file"
