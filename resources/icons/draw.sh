#!/usr/bin/env bash
# Draws the configurator's icons with ImageMagick and writes the .ico files
# beside this script: the program icon (a page turning into an arrow), its
# small version for the window caption, and the folder on the browse button.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Drawn on a 48-unit grid, scaled to each size.
for s in 16 24 32 48; do
    f=$(awk "BEGIN { print $s / 48 }")
    convert -size "${s}x${s}" xc:none -draw "scale $f,$f
      fill white stroke '#404040' stroke-width 2 path 'M 8,3 L 28,3 L 36,11 L 36,45 L 8,45 Z'
      fill '#d0d0d0' stroke '#404040' stroke-width 2 path 'M 28,3 L 28,11 L 36,11 Z'
      stroke none fill '#c02020' rectangle 12,16 32,22
      fill '#808080' rectangle 12,26 32,28 rectangle 12,32 28,34 rectangle 12,38 30,40
      fill '#2060d0' stroke '#103070' stroke-width 1.5 path 'M 24,26 L 36,26 L 36,19 L 46,31 L 36,43 L 36,36 L 24,36 Z'" \
      "$work/main_$s.png"
done
convert "$work"/main_{16,24,32,48}.png "$here/zandrix.ico"
convert "$work"/main_{16,32}.png "$here/zandrix_small.ico"

# Drawn on a 32-unit grid.
for s in 16 32; do
    f=$(awk "BEGIN { print $s / 32 }")
    convert -size "${s}x${s}" xc:none -draw "scale $f,$f
      fill '#e0b030' stroke '#806010' stroke-width 2 path 'M 2,8 L 12,8 L 15,11 L 30,11 L 30,27 L 2,27 Z'
      fill '#f8d860' stroke '#806010' stroke-width 2 path 'M 2,14 L 30,14 L 30,27 L 2,27 Z'" \
      "$work/folder_$s.png"
done
convert "$work"/folder_{16,32}.png "$here/folder.ico"
