#!/usr/bin/env bash
# Pictures of the configurator as a user sees it, to look at the layout
# without Windows: the main window on each of its 7 input tabs and 16 output
# tabs, in English and in French (input_N.png, output_NN.png, *_fr.png), and
# the window as it opens without a default job file (no_job_window.png).
# The main window, the monitor window, the install wizard and the file
# selection dialog are taken once more on a 150% screen (144 dpi, Wine's
# LogPixels setting), as dpi144_*.png.
#
#   scripts/screenshots.sh [OUT_DIR]      (default build/screenshots)
#
# It builds the Windows x86-64 programs, stages the program folder and runs
# the real zandrix_gui.exe under the Wine harness on its own Xvfb screen.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh
build=build/win64
out=${1:-build/screenshots}

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
bash scripts/stage.sh "$build" build/stage
rm -rf build/stage-no-job
cp -r build/stage build/stage-no-job
rm -f build/stage-no-job/Ombrello_zandrix.ini

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/*.bmp "$out"/*.png
# Windows paths of this machine's folders, as Wine's Z: drive shows them.
windows_path() { local p; p=$(cd "$1" && pwd); printf 'Z:%s' "${p//\//\\}"; }
shots=$(cd "$build/bin" && pwd)/window_shots.exe
stage=$(windows_path build/stage)
nojob=$(windows_path build/stage-no-job)
tests/wine/harness.sh "$build" -- bash -c '
    "$ZANDRIX_WINE" "$1" "$2\\zandrix_gui.exe" "$4/" &&
    "$ZANDRIX_WINE" "$1" "$3\\zandrix_gui.exe" "$4/no_job_"' _ "$shots" "$stage" "$nojob" "$out"
for picture in "$out"/*.bmp; do
    convert "$picture" "${picture%.bmp}.png"
    rm -f "$picture"
done
echo "pictures in $out"

# The monitor window halfway through a run of the engine stand-in
# (monitor_window.png) and the whole screen at that moment (launch_screen.png).
monitor_work="$top/build/monitor-shots"
rm -rf "$monitor_work"
mkdir -p "$monitor_work"
monitor_shots=$(cd "$build/bin" && pwd)/monitor_shots.exe
tests/wine/harness.sh "$build" -- bash -c '"$ZANDRIX_WINE" "$1" "$2\\zandrix_gui.exe" "$3" "$4/"' \
    _ "$monitor_shots" "$stage" "$(windows_path "$monitor_work")" "$out"
for picture in "$out"/monitor_window.bmp "$out"/launch_screen.bmp; do
    convert "$picture" "${picture%.bmp}.png"
    rm -f "$picture"
done
echo "monitor window pictures in $out"
# The install wizard: every page of an installation from a source folder laid
# out like the release (this build's programs, placeholders for the maker's
# files), and the failure dialog (install_*.png).
source_dir=build/install-shots/source
rm -rf build/install-shots
mkdir -p "$source_dir"
for name in stopjob.exe Ombrelloe_zandrix.hlp Ombrelloe_zandrix.cnt whatsnew.txt zandrix_gui.exe \
            Ombrello_zandrix.ini Ombrello_zandrix.dat Ombrello_zandrix.exe uninst.exe Ograph.dll Ottf.dll \
            Ojpeg.dll Ovector.dll Otiff.dll Olcms.dll Ozlib.dll Obzip.dll Opng.dll Oswf.dll Olibxml.dll \
            Otxtpdf.dll 001.lng 033.lng installer.exe; do
    if [ -f "$build/bin/$name" ]; then cp "$build/bin/$name" "$source_dir/"; else echo "placeholder" >"$source_dir/$name"; fi
done
install_shots=$(cd "$build/bin" && pwd)/installer_shots.exe
tests/wine/harness.sh "$build" -- bash -c '"$ZANDRIX_WINE" "$1" "$2\\installer.exe" "C:\\install-shots" "$3/"' \
    _ "$install_shots" "$(windows_path "$source_dir")" "$out"
for picture in "$out"/install_*.bmp; do
    convert "$picture" "${picture%.bmp}.png"
    rm -f "$picture"
done
echo "installer pictures in $out"
# The file selection dialog: as it opens, with the listing of a folder of
# PDF files, with a selection, and its duplicate message (select_*.png).
select_shots=$(cd "$build/bin" && pwd)/select_shots.exe
tests/wine/harness.sh "$build" -- bash -c '"$ZANDRIX_WINE" "$1" "$2\\"' _ "$select_shots" "$(windows_path "$out")"
for picture in "$out"/select_*.bmp; do
    convert "$picture" "${picture%.bmp}.png"
    rm -f "$picture"
done
echo "file selection pictures in $out"

# The same windows at 144 dpi. Wine reads its LogPixels setting when a
# program starts; it goes back to 96 afterwards, also when a step fails, as
# the tests share this Wine prefix.
set_dpi() {
    tests/wine/harness.sh "$build" -- "/usr/lib/wine/wine64" reg add 'HKCU\Control Panel\Desktop' \
        /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}
trap 'set_dpi 96' EXIT
set_dpi 144
tests/wine/harness.sh "$build" -- bash -c '"$ZANDRIX_WINE" "$1" "$2\\zandrix_gui.exe" "$3/dpi144_"' \
    _ "$shots" "$stage" "$out"
rm -rf "$monitor_work" && mkdir -p "$monitor_work"
tests/wine/harness.sh "$build" -- bash -c '"$ZANDRIX_WINE" "$1" "$2\\zandrix_gui.exe" "$3" "$4/dpi144_"' \
    _ "$monitor_shots" "$stage" "$(windows_path "$monitor_work")" "$out"
tests/wine/harness.sh "$build" -- bash -c '"$ZANDRIX_WINE" "$1" "$2\\installer.exe" "C:\\install-shots-144" "$3/dpi144_"' \
    _ "$install_shots" "$(windows_path "$source_dir")" "$out"
tests/wine/harness.sh "$build" -- bash -c '"$ZANDRIX_WINE" "$1" "$2\\dpi144_"' _ "$select_shots" "$(windows_path "$out")"
set_dpi 96
for picture in "$out"/dpi144_*.bmp; do
    convert "$picture" "${picture%.bmp}.png"
    rm -f "$picture"
done
echo "pictures at 144 dpi in $out (dpi144_*.png)"
