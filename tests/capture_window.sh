#!/usr/bin/env bash
# scripts/capture-window.sh against stand-ins for xwininfo and import: it
# waits for the window to be mapped, tries the capture again when the X
# server refuses it, and reports a saved picture only when there is one.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v convert >/dev/null || { echo "ImageMagick is missing"; exit 77; }

mkdir -p "$scratch/bin"
# The window is listed from the third look on and viewable from the second look at it.
cat >"$scratch/bin/xwininfo" <<'TOOL'
#!/usr/bin/env bash
count() { local n; n=$(cat "$STATE/$1" 2>/dev/null || echo 0); echo $((n + 1)) >"$STATE/$1"; echo $((n + 1)); }
if [ "$1" = "-root" ]; then
    [ "$(count listed)" -ge 3 ] && echo '     0x600005 "Ombrello_zandrix Monitor": ("zandrix_gui.exe" "Wine")  800x600+0+0'
    echo '     0x400001 "Other": ()  10x10+0+0'
else
    [ "$2" = 0x600005 ] || exit 1
    if [ "$(count mapped)" -ge 2 ]; then echo '  Map State: IsViewable'; else echo '  Map State: IsUnMapped'; fi
fi
TOOL
# Refuses the read FAILURES times, leaving an empty file as a failed import can.
cat >"$scratch/bin/import" <<'TOOL'
#!/usr/bin/env bash
n=$(cat "$STATE/imports" 2>/dev/null || echo 0); echo $((n + 1)) >"$STATE/imports"
if [ "$n" -lt "$FAILURES" ]; then
    : >"${@: -1}"
    echo "import: unable to read X window image \`$3': Resource temporarily unavailable" >&2
    exit 1
fi
convert -size 4x3 xc:red "${@: -1}"
TOOL
chmod +x "$scratch/bin/xwininfo" "$scratch/bin/import"

run() {  # failures, then the script's arguments
    rm -rf "$scratch/state" && mkdir "$scratch/state"
    STATE=$scratch/state FAILURES=$1 PATH="$scratch/bin:$PATH" bash "$top/scripts/capture-window.sh" "${@:2}"
}

picture=$scratch/shot.png
run 2 "Ombrello_zandrix Monitor" "$picture" 10 2>"$scratch/log" || fail "two refused reads ended the capture: $(cat "$scratch/log")"
[ "$(identify -format '%wx%h' "$picture")" = 4x3 ] || fail "the picture is not the window's"
[ "$(cat "$scratch/state/imports")" = 3 ] || fail "captured before the window was viewable, or not retried"
[ "$(cat "$scratch/state/mapped")" -ge 2 ] || fail "did not wait for the window to be mapped"
ls "$scratch" | grep -q part && fail "a partial picture was left behind"

echo "old picture" >"$picture"
if run 99 "Ombrello_zandrix Monitor" "$picture" 10 2>"$scratch/log"; then fail "every read refused, yet success"; fi
[ ! -e "$picture" ] || fail "a picture file is left although none was taken"
grep -q 'could not be taken' "$scratch/log" || fail "no message for the failed capture"

if run 0 "No such window" "$picture" 1 2>"$scratch/log"; then fail "a missing window counted as captured"; fi
[ ! -e "$picture" ] || fail "a picture of a missing window"
echo "capture-window: ok"
