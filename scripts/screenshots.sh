#!/usr/bin/env bash
# Pictures of the main dialog on each of its pages, to look at the layout:
# input_0.png to input_6.png and output_00.png to output_15.png.
#
#   scripts/screenshots.sh [BUILD_DIR [OUT_DIR]]
#
# BUILD_DIR is a configured Windows x86-64 build (default build/win64); the
# pictures go to OUT_DIR (default BUILD_DIR/screenshots). The program runs
# under the Wine harness, on its own Xvfb screen.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/win64}
out=${2:-$build/screenshots}

cmake --build "$build" --target page_shots
mkdir -p "$out"
out=$(cd "$out" && pwd)
exe=$(cd "$build/bin" && pwd)/page_shots.exe
rm -f "$out"/*.bmp "$out"/*.png
"$top/tests/wine/harness.sh" "$build" -- bash -c 'cd "$1" && "$ZANDRIX_WINE" "$2"' _ "$out" "$exe"
for picture in "$out"/*.bmp; do
    convert "$picture" "${picture%.bmp}.png"
    rm -f "$picture"
done
echo "pictures in $out"
