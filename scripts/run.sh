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
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
bash scripts/stage.sh "$build" build/stage
stage=$(cd build/stage && pwd)
echo "Program folder staged in build/stage: $(ls build/stage | tr '\n' ' ')"

# A first job to launch: the default job names a source folder of a few PDF
# files and a target folder, so Launch runs the engine stand-in at once and
# its monitor window moves (the stand-in converts nothing).
demo="$top/build/run-demo"
mkdir -p "$demo/in" "$demo/out"
for name in invoice_001 invoice_002 invoice_003 invoice_004; do
    printf '%%PDF-1.4\n%%%%EOF\n' > "$demo/in/$name.pdf"
done
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
printf '[FOLDERS]\r\nsource=%s\r\ntarget=%s\r\n' "$(windows_path "$demo/in")" "$(windows_path "$demo/out")" \
    >> build/stage/Ombrello_zandrix.ini
echo "Launch runs the engine stand-in on the PDF files of build/run-demo/in"

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
