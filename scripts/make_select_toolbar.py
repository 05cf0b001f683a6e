#!/usr/bin/env python3
"""Draws resources/select_toolbar.bmp, the picture strip of the file selection
dialog's toolbar: eight 16 x 16 pictures side by side, 4 bits per pixel with
the 16 standard colours, on the light grey that toolbars show as the button
face. Each picture is drawn below as rows of palette letters.

    python3 scripts/make_select_toolbar.py [OUT]
"""
import struct
import sys

PALETTE = [  # letter: (red, green, blue)
    ('k', (0, 0, 0)), ('m', (128, 0, 0)), ('g', (0, 128, 0)), ('o', (128, 128, 0)),
    ('n', (0, 0, 128)), ('p', (128, 0, 128)), ('t', (0, 128, 128)), ('.', (192, 192, 192)),
    ('d', (128, 128, 128)), ('r', (255, 0, 0)), ('l', (0, 255, 0)), ('y', (255, 255, 0)),
    ('b', (0, 0, 255)), ('f', (255, 0, 255)), ('c', (0, 255, 255)), ('w', (255, 255, 255)),
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}

PAGES = [  # two document pages, the back one offset; an arrow goes over rows 9-13
    "................",
    ".kkkkkk.........",
    ".kwwwwkk........",
    ".kwkkkkkkkk.....",
    ".kwkwwwwwkwk....",
    ".kwkwddddkkkk...",
    ".kwkwwwwwwwwk...",
    ".kwkwddddddwk...",
    ".kkkwwwwwwwwk...",
    "...kwddddddwk...",
    "...kwwwwwwwwk...",
    "...kwddddddwk...",
    "...kwwwwwwwwk...",
    "...kkkkkkkkkk...",
    "................",
    "................",
]


def overlay(base, marks):
    rows = [list(r) for r in base]
    for y, x, letter in marks:
        rows[y][x] = letter
    return ["".join(r) for r in rows]


def arrow(right):
    marks = []
    for x in range(7, 14):  # the shaft, rows 10 and 11
        marks += [(10, x, 'n'), (11, x, 'n')]
    for i in range(4):      # the head
        x = 14 - i if right else 6 + i
        for y in range(10 - i, 12 + i):
            marks.append((y, x, 'n'))
    return marks


def plus():
    return [(0, 13, 'n'), (1, 13, 'n'), (2, 13, 'n'), (3, 13, 'n'), (4, 13, 'n'),
            (2, 11, 'n'), (2, 12, 'n'), (2, 14, 'n'), (2, 15, 'n')]


def shifted(marks, dx):
    return [(y, x + dx, c) for y, x, c in marks if 0 <= x + dx < 16]


ARROW_RIGHT = shifted(arrow(True), 1)
ARROW_LEFT = shifted(arrow(False), 1)

GRID = ["................"] + [
    ".kkkkkkkkkkkkkk." if y in (1, 5, 9, 13) else ".k...k...k...k.."[:15] + "." for y in range(1, 14)
] + ["................", "................"]

CROSS = [
    "................",
    ".rr.........rr..",
    ".rrr.......rrr..",
    "..rrr.....rrr...",
    "...rrr...rrr....",
    "....rrr.rrr.....",
    ".....rrrrr......",
    "......rrr.......",
    ".....rrrrr......",
    "....rrr.rrr.....",
    "...rrr...rrr....",
    "..rrr.....rrr...",
    ".rrr.......rrr..",
    ".rr.........rr..",
    "................",
    "................",
]

DOOR = [  # a door frame, the door swung open toward the viewer, an arrow going in
    "................",
    "......kkkkkkkkk.",
    "......k.......k.",
    "..ttt.k.......k.",
    "..tttkk.......k.",
    "..ttttk.......k.",
    "..ttttk.......k.",
    "cc..ctk.......k.",
    "ccccccc.......k.",
    "ccccccc.......k.",
    "cc..ctk.......k.",
    "..ttttk.......k.",
    "..ttttk.......k.",
    "..tttkk.......k.",
    "..ttt.kkkkkkkkk.",
    "................",
]

BOOK = [
    "................",
    "...ppppppppppp..",
    "..pppppppppppp..",
    "..pppyyyyyppwp..",
    "..ppyyppyyypwp..",
    "..ppppppyyppwp..",
    "..pppppyyppwwp..",
    "..ppppyyppppwp..",
    "..ppppyypppwwp..",
    "..pppppppppppwp.",
    "..ppppyyppppwwp.",
    "..ppppyyppppwp..",
    "..pppppppppwwp..",
    "..wwwwwwwwwwwp..",
    "...ppppppppppp..",
    "................",
]

PICTURES = [
    overlay(PAGES, ARROW_RIGHT),           # 0 add the folder
    overlay(PAGES, ARROW_RIGHT + plus()),  # 1 add the folder and its children
    overlay(PAGES, ARROW_LEFT),            # 2 remove the selected files
    GRID,                                  # 3 grid lines
    DOOR,                                  # 4 close with the selection
    CROSS,                                 # 5 close without a selection
    overlay(PAGES, ARROW_LEFT + plus()),   # 6 remove all the files
    BOOK,                                  # 7 help
]


def write_bmp(path):
    width, height = 16 * len(PICTURES), 16
    for picture in PICTURES:
        assert len(picture) == 16 and all(len(row) == 16 for row in picture), picture
    stride = (width // 2 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = "".join(picture[y] for picture in PICTURES)
        line = bytearray()
        for x in range(0, width, 2):
            line.append(INDEX[row[x]] << 4 | INDEX[row[x + 1]])
        pixels += line + bytes(stride - len(line))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    with open(path, "wb") as out:
        out.write(header + info + palette + pixels)


if __name__ == "__main__":
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else "resources/select_toolbar.bmp")
