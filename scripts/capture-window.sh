#!/usr/bin/env bash
# Saves a picture of one top-level window of the X display as a PNG file:
#
#   scripts/capture-window.sh TITLE OUTPUT.png [SECONDS]
#
# It waits (up to SECONDS, default 20) for a window of that exact title to be
# mapped and viewable, lets it paint, then captures it with ImageMagick's
# import, trying again when the X server refuses the read (a window that is
# still being drawn or remapped). Exit status 0 only when OUTPUT holds a
# picture; otherwise a message on stderr and status 1, and no OUTPUT.
set -uo pipefail
title=$1
output=$2
seconds=${3:-20}
rm -f "$output"

attempts=$((seconds * 5))
id=""
for _ in $(seq 1 "$attempts"); do
    id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | head -n 1 | awk '{print $1}')
    if [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then break; fi
    id=""
    sleep 0.2
done
[ -n "$id" ] || { echo "no window \"$title\" was shown within $seconds s" >&2; exit 1; }

# Its first paint follows the mapping.
sleep 1
for try in 1 2 3 4 5 6; do
    partial="$output.part.png"
    if import -window "$id" "$partial" 2>/dev/null && [ -s "$partial" ] && identify "$partial" >/dev/null 2>&1; then
        mv -f "$partial" "$output"
        exit 0
    fi
    rm -f "$partial"
    echo "capture of \"$title\" failed (try $try), trying again" >&2
    sleep 1
done
echo "the picture of \"$title\" could not be taken" >&2
exit 1
