#!/usr/bin/env bash
# The engine's benchmark, run by hand: the native engine_bench (PNG at 100
# and 150 dpi beside pdftoppm, the image operations' cost, raw text beside
# pdftotext, peak memory), then the Windows engine under wine64 on the same
# files beside the host's pdftoppm, with every worker and with one.
#   scripts/engine-bench.sh FOLDER_OF_PDF_FILES [LARGE_PDF]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: scripts/engine-bench.sh FOLDER_OF_PDF_FILES [LARGE_PDF]" >&2; exit 2; }
folder=$(cd "$1" && pwd)
large=${2:+$(cd "$(dirname "$2")" && pwd)/$(basename "$2")}
cd "$top"

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZANDRIX_TESTS=OFF >/dev/null
cmake --build build/bench --target engine_bench >/dev/null
echo "== native engine"
build/bench/engine/engine_bench "$folder" ${large:+"$large"}

deps=$(bash scripts/build-deps.sh x86_64 | tail -1)
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DZANDRIX_DEPS_PREFIX="$deps" >/dev/null
cmake --build build/win64 --target ombrello_zandrix >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
echo
echo "== Windows engine under wine64 (wall-clock seconds; the Wine server already running)"
printf '%-12s %10s %12s %7s %13s %7s\n' output pdftoppm "all workers" ratio "one processor" ratio
for dpi in 100 150; do
    rm -rf "$scratch/tool" && mkdir -p "$scratch/tool"
    start=$(date +%s.%N)
    for file in "$folder"/*.pdf; do pdftoppm -cropbox -png -r "$dpi" "$file" "$scratch/tool/$(basename "$file" .pdf)"; done
    tool=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')
    times=()
    for workers in 0 1; do
        rm -rf "$scratch/out"
        printf '[PARAMS]\r\nimage_type=7\r\ndensity=%s\r\n[PNG]\r\nquality=65\r\n[FOLDERS]\r\nsource=%s\r\ntarget=%s\r\n' \
            "$dpi" "$(windows_path "$folder")" "$(windows_path "$scratch/out")" >"$scratch/job.ini"
        # One processor for the engine's process: its workers then share it.
        affinity=""
        [ "$workers" = 1 ] && affinity="taskset -c 0"
        times+=("$(tests/wine/harness.sh build/win64 -- bash -c '
            "$ZANDRIX_WINE" cmd /c exit >/dev/null 2>&1
            start=$(date +%s.%N)
            '"$affinity"' "$ZANDRIX_WINE" build/win64/bin/ombrello_zandrix.exe "G|$1"
            awk -v a="$(date +%s.%N)" -v b="$start" "BEGIN { print a - b }"' _ "$(windows_path "$scratch/job.ini")" 2>/dev/null | tail -1)")
    done
    awk -v dpi="$dpi" -v tool="$tool" -v all="${times[0]}" -v one="${times[1]}" \
        'BEGIN { printf "PNG %3d dpi  %10.2f %12.2f %7.2f %13.2f %7.2f\n", dpi, tool, all, all / tool, one, one / tool }'
done
