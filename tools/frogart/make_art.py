#!/usr/bin/env python3
"""Writes the frog frames, masks and preview still of sprites/art/ from the
character grids beside this script.

Each grid is 95 lines of 95 characters, one character per pixel, drawn with
the head pointing up. The other three headings are exact quarter turns of it.
Run again after editing a grid: ./tools/frogart/make_art.py
Only the Python standard library is used.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.join(HERE, '..', '..', 'sprites', 'art')

CELL = 95
SIT_PIXELS, LEAP_PIXELS = 1498, 1468

# One palette for both frogs' frames; index 0 must stay black.
FROG_PALETTE = [
    (0, 0, 0),        # 0 black: outside the silhouette, black skin spots
    (0, 255, 0),      # 1 green body
    (0, 124, 0),      # 2 green outline and leg lines
    (255, 255, 0),    # 3 eyes, toe tips, eye highlights
    (110, 135, 164),  # 4 pupil of a sitting green frog
    (160, 207, 169),  # 5 pupil of a leaping green frog
    (2, 1, 0),        # 6 skin spot of a turned frame
    (3, 0, 0),        # 7 near-black skin spot of the upright leap
    (255, 0, 0),      # 8 red head and body
    (0, 0, 255),      # 9 blue hind legs and rump patch
    (0, 0, 132),      # 10 outline of blue parts, eye rims
    (132, 0, 0),      # 11 red front legs and body outline
]
GREY = (128, 128, 128)
PREVIEW_PALETTE = FROG_PALETTE + [GREY]
GREY_INDEX = len(FROG_PALETTE)
MASK_PALETTE = [(0, 0, 0), (255, 255, 255)]

# Grid characters. '*' and '+' are skin spots; 'p' is the pupil, whose colour
# depends on the pose.
COMMON = {'.': 0, '*': 0, '+': 7, 'Y': 3}
GREEN_CHARS = dict(COMMON, G=1, o=2, p=None)
RED_CHARS = dict(COMMON, R=8, B=9, b=10, r=11)
SPOTS = '*+'
TURNED_SPOT = 6
PUPIL = {'sitting': 4, 'leaping': 5}

# Frame number of the upright pose; the next three are its quarter turns.
POSES = {'sitting': (1, SIT_PIXELS), 'leaping': (5, LEAP_PIXELS)}


def read_grid(name, chars):
    path = os.path.join(HERE, name + '.txt')
    with open(path) as fh:
        rows = fh.read().split('\n')
    rows = [r for r in rows if r != '']
    if len(rows) != CELL or any(len(r) != CELL for r in rows):
        sys.exit('%s: need %d lines of %d characters' % (path, CELL, CELL))
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch not in chars:
                sys.exit('%s:%d:%d: unknown character %r' % (path, y + 1, x + 1, ch))
    return rows


def silhouette(rows):
    return {(x, y) for y, row in enumerate(rows) for x, ch in enumerate(row) if ch != '.'}


def upright_indexes(rows, chars, pose):
    """Palette indexes of the upright frame, row by row."""
    pupil = PUPIL[pose]
    return [[pupil if ch == 'p' else chars[ch] for ch in row] for row in rows]


def turned_indexes(rows, chars, pose, quarters):
    """The upright frame turned clockwise; in a turned frame every skin spot
    becomes TURNED_SPOT."""
    upright = upright_indexes(rows, chars, pose)
    out = [[0] * CELL for _ in range(CELL)]
    for y in range(CELL):
        for x in range(CELL):
            tx, ty = x, y
            for _ in range(quarters):
                tx, ty = CELL - 1 - ty, tx  # one clockwise quarter turn
            index = upright[y][x]
            out[ty][tx] = TURNED_SPOT if quarters and rows[y][x] in SPOTS else index
    return out


def turn_points(points, quarters):
    for _ in range(quarters):
        points = {(CELL - 1 - y, x) for (x, y) in points}
    return points


def rle8(pixels, width):
    """BI_RLE8 without delta escapes: runs, absolute runs of 3 or more, an
    end-of-line after every row and an end-of-bitmap after the last."""
    out = bytearray()
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        i = 0
        while i < width:
            run = 1
            while i + run < width and run < 255 and row[i + run] == row[i]:
                run += 1
            if run >= 2:
                out += bytes((run, row[i]))
                i += run
                continue
            j = i
            while j < width and j - i < 255 and (j + 1 >= width or row[j + 1] != row[j]):
                j += 1
            literal = row[i:j] if j > i else row[i:i + 1]
            if len(literal) >= 3:
                out += bytes((0, len(literal))) + bytes(literal)
                if len(literal) % 2:
                    out += b'\0'  # absolute runs end on a word boundary
            else:
                for value in literal:
                    out += bytes((1, value))
            i += len(literal)
        out += b'\0\0'
    out[-2:] = b'\0\1'
    return bytes(out)


def uncompressed(pixels, width):
    stride = (width + 3) // 4 * 4
    return b''.join(bytes(row) + b'\0' * (stride - width) for row in reversed(pixels))


def write_bmp(name, pixels, palette, compress):
    height, width = len(pixels), len(pixels[0])
    data = rle8(pixels, width) if compress else uncompressed(pixels, width)
    table = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    table += b'\0' * (1024 - len(table))
    offset = 14 + 40 + len(table)
    pixels_per_metre = 3780  # 96 dots per inch
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 1 if compress else 0,
                       len(data), pixels_per_metre, pixels_per_metre, 256, 0)
    with open(os.path.join(ART, name), 'wb') as fh:
        fh.write(header + info + table + data)


def make_pose(pose, green_rows, red_rows):
    first, pixels = POSES[pose]
    shape = silhouette(green_rows)
    if shape != silhouette(red_rows):
        sys.exit('%s: the green and red grids differ in silhouette' % pose)
    if len(shape) != pixels:
        sys.exit('%s: silhouette has %d pixels, needs %d' % (pose, len(shape), pixels))
    for quarters in range(4):
        frame = first + quarters
        green = turned_indexes(green_rows, GREEN_CHARS, pose, quarters)
        red = turned_indexes(red_rows, RED_CHARS, pose, quarters)
        compress = pose == 'leaping'
        write_bmp('green-%d.bmp' % frame, green, FROG_PALETTE, compress)
        write_bmp('red-%d.bmp' % frame, red, FROG_PALETTE, compress)
        inside = turn_points(shape, quarters)
        mask = [[0 if (x, y) in inside else 1 for x in range(CELL)] for y in range(CELL)]
        write_bmp('mask-%d.bmp' % frame, mask, MASK_PALETTE, True)
        xs = [x for x, _ in inside]
        ys = [y for _, y in inside]
        print('frame %d: %d pixels, columns %d..%d, rows %d..%d'
              % (frame, len(inside), min(xs), max(xs), min(ys), max(ys)))


def make_preview(red_rows):
    """RedFrog's upright sitting frame on a grey ground, cell corner at (25, 10)."""
    width, height, left, top = 160, 120, 25, 10
    still = [[GREY_INDEX] * width for _ in range(height)]
    frame = upright_indexes(red_rows, RED_CHARS, 'sitting')
    for (x, y) in silhouette(red_rows):
        still[top + y][left + x] = frame[y][x]
    write_bmp('preview.bmp', still, PREVIEW_PALETTE, False)


def main():
    os.makedirs(ART, exist_ok=True)
    grids = {}
    for frog, chars in (('green', GREEN_CHARS), ('red', RED_CHARS)):
        for pose in POSES:
            grids[frog, pose] = read_grid('%s-%s' % (frog, pose), chars)
    for pose in POSES:
        make_pose(pose, grids['green', pose], grids['red', pose])
    make_preview(grids['red', 'sitting'])


if __name__ == '__main__':
    main()
