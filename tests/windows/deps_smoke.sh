#!/usr/bin/env bash
# Runs the smoke program of the engine's libraries under the build's Wine
# loader and checks what it wrote with the host's own decoders (ImageMagick):
# every file is a 200 x 100 picture whose dark pixels are the word the PDF
# draws in a Helvetica it does not embed, and nowhere else; the TIFF files
# use the compression they were asked for; the PNG is the host's pdftoppm's
# drawing.
#   deps_smoke.sh BUILD_DIR SMOKE_EXE DEPS_PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 exe=$2 prefix=$3
out=$build/deps_smoke
rm -rf "$out"
mkdir -p "$out"
fail=0
status=0
"$here/../wine/wine-exec.sh" "$build" "$exe" "Z:$out" "Z:$prefix/share/fonts" "Z:$prefix/share/poppler" || status=$?
[ "$status" -eq 0 ] || { echo "FAIL: the smoke program ended with status $status"; fail=1; }
dark() {  # file [crop]: the number of pixels darker than half grey
    local crop=()
    [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
    convert "$1" -flatten "${crop[@]}" -colorspace Gray -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:
}
# "HELLO" at 36 points, baseline 40 points above the bottom edge, from x = 20.
text_area=130x34+15+30
for f in smoke.png smoke.jpg smoke.gif smoke-g4.tif smoke-deflate.tif; do
    file=$out/$f
    [ -f "$file" ] || { echo "FAIL: $f was not written"; fail=1; continue; }
    size=$(identify -format '%w x %h' "$file")
    inside=$(dark "$file" "$text_area")
    outside=$(( $(dark "$file") - inside ))
    echo "$f: $size, $inside dark pixels in the text's area, $outside elsewhere"
    [ "$size" = "200 x 100" ] || { echo "FAIL: $f is $size, not 200 x 100"; fail=1; }
    [ "$inside" -gt 400 ] || { echo "FAIL: $f shows no text (the standard font was not found?)"; fail=1; }
    [ "$outside" -lt 20 ] || { echo "FAIL: $f has dark pixels outside the text"; fail=1; }
done
for pair in smoke-g4.tif:Group4 smoke-deflate.tif:Zip; do
    f=${pair%%:*} want=${pair#*:}
    [ -f "$out/$f" ] || continue
    got=$(identify -format '%C' "$out/$f")
    [ "$got" = "$want" ] || { echo "FAIL: $f is compressed with $got, not $want"; fail=1; }
done
# The same poppler and FreeType from the same sources, with the same font:
# the host's pdftoppm draws the page pixel for pixel alike.
if [ -f "$out/smoke.pdf" ] && [ -f "$out/smoke.png" ]; then
    pdftoppm -r 72 -png -singlefile "$out/smoke.pdf" "$out/host" &&
        differing=$(compare -metric AE "$out/smoke.png" "$out/host.png" null: 2>&1) || true
    echo "smoke.png: ${differing:-?} pixels differ from the host's pdftoppm"
    [ "${differing:-}" = 0 ] || { echo "FAIL: smoke.png differs from the host's pdftoppm"; fail=1; }
fi
[ "$fail" -eq 0 ] && echo "deps smoke: ok"
exit "$fail"
