#!/usr/bin/env bash
# The main job: builds the Windows programs, stages the program folder
# (build/stage) and opens the configurator under Wine. With a display it
# opens there; without one it runs on a virtual X server and saves a picture
# of the window it opened as build/configurator.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh

build=build/win64
deps=$(bash scripts/build-deps.sh x86_64 | tail -1)
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DZANDRIX_DEPS_PREFIX="$deps" >/dev/null
cmake --build "$build" -j "$(nproc)"
bash scripts/stage.sh "$build" build/stage
stage=$(cd build/stage && pwd)
echo "Program folder staged in build/stage: $(ls build/stage | tr '\n' ' ')"

# A first job to launch: the default job names a source folder of a few
# invoices (PDF files made here with groff, in fonts they do not embed) and
# a target folder, and asks for PNG pages at 100 pixels per inch, so Launch
# converts them at once into build/run-demo/out.
demo="$top/build/run-demo"
rm -rf "$demo"
mkdir -p "$demo/in" "$demo/out"
for number in 1 2 3 4; do
    groff -t -ms -Tpdf >"$demo/in/invoice_00$number.pdf" 2>/dev/null <<INVOICE
.TL
Invoice 2024-00$number
.AU
Ombrello Office Supplies
.PP
Thank you for your order. This invoice lists the goods delivered
to the Riverside branch in March 2024.
.TS
box tab(;);
l r r.
Item;Quantity;Price
_
Paper, A4, 500 sheets;$((number * 5));$((number * 21)).00
Toner cartridge;$number;$((number * 52)).00
Archive boxes;12;36.00
.TE
.PP
Payment is due within 30 days.
.bp
.PP
Terms and conditions: goods remain our property until paid in full.
INVOICE
done
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
printf '[PARAMS]\r\nimage_type=7\r\ndensity=100\r\n[FOLDERS]\r\nsource=%s\r\ntarget=%s\r\n' \
    "$(windows_path "$demo/in")" "$(windows_path "$demo/out")" >> build/stage/Ombrello_zandrix.ini
echo "Launch converts the PDF files of build/run-demo/in to PNG pages in build/run-demo/out"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export WINEPREFIX="$top/$build/wineprefix" WINEDEBUG=-all
    exec /usr/lib/wine/wine64 "$stage/zandrix_gui.exe"
fi

# No display: open it on the harness' virtual screen and take its picture.
picture="$top/build/configurator.png"
tests/wine/harness.sh "$build" -- bash -c '
    "$ZANDRIX_WINE" "$1/zandrix_gui.exe" &
    if bash "$3" "Ombrello_zandrix Monitor" "$2"; then
        echo "The configurator opened; its picture is in $2"
    else
        echo "The configurator did not open, or its picture could not be taken" >&2
        exit 1
    fi' _ "$stage" "$picture" "$top/scripts/capture-window.sh"
