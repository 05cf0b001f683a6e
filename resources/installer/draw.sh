#!/usr/bin/env bash
# Draws the installer's pictures with ImageMagick and writes them beside this
# script: the welcome page's side picture (bitmap 10551, 120 x 258, 256
# colours: a computer, an open box, discs and a globe on a teal ground), the
# other pages' side picture (bitmap 103, 127 x 251, 16 colours: a computer,
# an open software box, floppy disks, a disc and a pencil on a teal ground)
# and the icons of the wizard window, the finish page and the failure dialog.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

computer="
  fill '#d8d0c0' stroke '#303030' stroke-width 1 roundrectangle 20,20 100,82 4,4
  fill '#103860' rectangle 27,27 93,72
  fill '#4080c0' stroke none polygon 27,27 70,27 27,60
  fill '#c8c0b0' stroke '#303030' polygon 48,82 72,82 78,92 42,92
  fill '#d8d0c0' roundrectangle 16,92 104,104 3,3
  fill '#303030' stroke none rectangle 78,97 96,99"

disc() {  # centre x, centre y, radius
    local x=$1 y=$2 r=$3
    echo "fill '#e8e8f0' stroke '#404050' stroke-width 1 circle $x,$y $((x + r)),$y
      fill '#c0d8f0' stroke none circle $x,$y $((x + r * 2 / 3)),$y
      fill '#f0e0f8' circle $x,$y $((x + r / 3)),$y
      fill '#008080' stroke '#404050' circle $x,$y $((x + r / 6 + 1)),$y"
}

# Welcome page: computer, open box, discs, globe.
convert -size 120x258 gradient:'#00a0a0'-'#005858' -draw "$computer
  fill '#c89050' stroke '#5a3a10' stroke-width 1 polygon 18,150 78,150 78,206 18,206
  fill '#e0b070' polygon 18,150 6,128 58,128 78,150
  fill '#b07830' polygon 78,150 98,132 98,186 78,206
  fill '#e8c080' polygon 18,150 30,168 90,168 78,150
  fill '#5a3a10' stroke none font-size 9 text 28,190 'SETUP'
  $(disc 92 132 16) $(disc 30 232 14)
  fill '#2060c0' stroke '#102040' stroke-width 1 circle 82,228 82,208
  fill '#40a040' stroke none polygon 70,214 80,212 84,222 74,232 68,226
  fill '#40a040' polygon 88,218 98,222 96,236 88,240 86,228
  fill none stroke '#a0c0f0' ellipse 82,228 8,20 0,360 line 62,228 102,228" \
  "$work/welcome.png"
convert "$work/welcome.png" -dither None -colors 256 -type Palette -compress None BMP3:"$here/welcome.bmp"

# The other pages: computer, open software box, floppy disks, disc, pencil.
convert -size 127x251 xc:'#008080' -draw "$computer
  fill '#f0f0f0' stroke '#202020' stroke-width 1 polygon 14,140 70,140 70,196 14,196
  fill '#ffff00' polygon 14,140 4,120 52,120 70,140
  fill '#c0c0c0' polygon 70,140 88,124 88,178 70,196
  fill '#ff0000' stroke none rectangle 20,150 64,160
  fill '#0000ff' rectangle 20,166 54,172
  fill '#000080' stroke '#000000' rectangle 80,190 112,222
  fill '#c0c0c0' stroke none rectangle 88,190 104,202
  fill '#ffffff' rectangle 84,208 108,220
  fill '#000080' stroke '#000000' rectangle 92,202 120,232
  fill '#c0c0c0' stroke none rectangle 99,202 113,212
  fill '#ffffff' rectangle 96,220 116,230
  $(disc 34 222 17)
  fill '#ffff00' stroke '#000000' polygon 96,100 116,80 122,86 102,106
  fill '#ff8080' polygon 116,80 120,76 126,82 122,86
  fill '#ffffc0' polygon 96,100 102,106 90,110
  fill '#000000' stroke none polygon 90,110 92,106 94,108" \
  "$work/page.png"
convert "$work/page.png" -dither None -remap netscape: -colors 16 -type Palette -compress None BMP3:"$here/page.bmp"

icon() {  # name, drawing on a 32-unit grid
    local name=$1 drawing=$2
    for s in 16 32; do
        f=$(awk "BEGIN { print $s / 32 }")
        convert -size "${s}x${s}" xc:none -draw "scale $f,$f $drawing" "$work/${name}_$s.png"
    done
    convert "$work/${name}_16.png" "$work/${name}_32.png" "$here/$name.ico"
}

# The wizard window: an open box with a disc going in.
icon setup "fill '#c89050' stroke '#5a3a10' stroke-width 1.5 polygon 4,14 24,14 24,30 4,30
  fill '#e0b070' polygon 4,14 1,8 20,8 24,14
  fill '#b07830' polygon 24,14 30,9 30,25 24,30
  fill '#e8e8f0' stroke '#404050' circle 20,9 28,9
  fill '#008080' stroke none circle 20,9 22,9"
# The configurator's item: a window with option sliders.
icon gui_setup "fill '#f0f0f0' stroke '#303030' stroke-width 1.5 rectangle 2,4 30,28
  fill '#2060c0' stroke none rectangle 3,5 29,10
  fill '#808080' rectangle 6,14 26,15 rectangle 6,19 26,20 rectangle 6,24 26,25
  fill '#c02020' rectangle 10,12 13,17 rectangle 19,17 22,22 rectangle 13,22 16,27"
# Help: a blue circle with a question mark.
icon help "fill '#2060d0' stroke '#103070' stroke-width 1.5 circle 16,16 16,2
  fill none stroke white stroke-width 3 path 'M 10.5,11 A 5.5,5.5 0 0,1 21.5,11 Q 21.5,14.5 16,17 L 16,21'
  fill white stroke none circle 16,25.5 16,27.3"
# Read me: a page with lines of text.
icon readme "fill white stroke '#404040' stroke-width 1.5 path 'M 6,2 L 20,2 L 26,8 L 26,30 L 6,30 Z'
  fill '#d0d0d0' path 'M 20,2 L 20,8 L 26,8 Z'
  stroke none fill '#606060' rectangle 9,12 23,13 rectangle 9,16 23,17 rectangle 9,20 20,21 rectangle 9,24 22,25"
# The failure dialog: a red disc with a white cross.
icon failed "fill '#d02020' stroke '#701010' stroke-width 1.5 circle 16,16 16,2
  stroke white stroke-width 4 line 10,10 22,22 line 22,10 10,22"
