#!/usr/bin/env bash
# The release as a user meets it: scripts/release.sh lays out the release
# from the i686 build's programs, the zip is unpacked into the downloads
# folder of a new Wine prefix, and release_e2e_test.exe installs it, runs a
# job with the configurator, the engine and the stop tool of the installed
# folder, and uninstalls it (tests/windows/release_e2e_test.cpp). The page
# the engine converted is then compared with poppler's own drawing of it.
#
#   release_e2e.sh RELEASE_E2E_TEST.EXE BUILD_DIR DEPS_PREFIX
#
# Its work folder, prefix included, is BUILD_DIR/release_e2e, made anew.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
driver=$1
build=$(cd "$2" && pwd)
deps=$3
work=$build/release_e2e

rm -rf "$work"
mkdir -p "$work"
bash "$top/scripts/release.sh" --bin "$build/bin" --deps "$deps" --out "$work/release" >"$work/release.log" 2>&1 ||
    { cat "$work/release.log" >&2; exit 1; }
# The prefix runs the build's programs with the build's loader.
cp "$build/wine-loader" "$work/wine-loader"

# A one-page PDF with a line of text, as a user's job would hold.
/usr/bin/python3 - "$work/sample.pdf" <<'PY'
import sys
import cairo
surface = cairo.PDFSurface(sys.argv[1], 595, 842)
context = cairo.Context(surface)
context.set_source_rgb(0.1, 0.3, 0.7)
context.rectangle(72, 72, 451, 120)
context.fill()
context.set_source_rgb(0, 0, 0)
context.select_font_face("Sans")
context.set_font_size(24)
context.move_to(72, 260)
context.show_text("Quarterly report")
surface.finish()
PY

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Inside the harness: the prefix is new, the release is unpacked in the
# user's Downloads folder, and the test program drives the rest.
"$top/tests/wine/harness.sh" "$work" -- bash -c '
    set -euo pipefail
    unzip -q "$1/release.zip" -d "$HOME"
    ZANDRIX_RELEASE_FOLDER="C:\\users\\$(id -un)\\Downloads\\release" ZANDRIX_SAMPLE_PDF="$3" \
        "$ZANDRIX_WINE" "$2"
    # What is left on the disk after the uninstaller, seen from outside Wine.
    if [ -e "$WINEPREFIX/drive_c/Program Files/Ombrello_zandrix" ]; then
        echo "FAIL: the install folder is still there:" >&2
        ls -la "$WINEPREFIX/drive_c/Program Files/Ombrello_zandrix" >&2
        exit 1
    fi
' release_e2e "$work" "$driver" "$(windows_path "$work/sample.pdf")"

# The converted page against poppler's drawing of the same page at the same
# size: the blue band, the text and the white around them.
page="$work/home/PDF out/report 2024_001.png"
read -r width height < <(identify -format '%w %h\n' "$page")
pdftoppm -png -singlefile -scale-to-x "$width" -scale-to-y "$height" "$work/sample.pdf" "$work/poppler"
# compare: status 0 alike, 1 different, 2 it could not compare.
status=0
differing=$(compare -metric AE -fuzz 10% "$page" "$work/poppler.png" null: 2>&1) || status=$?
[ "$status" -le 1 ] && [[ "$differing" =~ ^[0-9.e+]+$ ]] ||
    { echo "FAIL: cannot compare the converted page with poppler's: $differing" >&2; exit 1; }
differing=$(awk '{printf "%d", $1}' <<<"$differing")
pixels=$((width * height))
echo "converted page: $width x $height, $differing of $pixels pixels differ from poppler's by more than 10%"
[ "$differing" -le $((pixels / 1000)) ] || { echo "FAIL: the converted page differs from poppler's drawing" >&2; exit 1; }
