#!/usr/bin/env python3
"""Makes the program's icons in icons/ from the red-and-blue frog's upright
sitting frame (sprites/art/red-1.bmp, outlined by mask-1.bmp):

  lilywade-32.png   32 x 32: every icon pixel stands for a 2 x 2 block of the
                    frame and takes the block's most common frog colour
  lilywade-128.png  128 x 128: the frame doubled, each pixel as a 2 x 2 block

Both are palette PNGs holding only the frame's own colours and a transparent
ground: no new colours, so no blur, and at most 16 in the small one.

Usage: tools/make_icons.py          writes the icons
       tools/make_icons.py --check  exits 1 if the committed icons are stale
Only the Python standard library is used; the output is the same on a rerun.
"""
import os
import struct
import sys
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
ART = os.path.join(ROOT, 'sprites', 'art')
ICONS = os.path.join(ROOT, 'icons')

MASK_GROUND = 1     # white in a mask: outside the frog
TRANSPARENT = None  # an icon pixel outside the frog
MAX_COLOURS = 16


def read_bmp(path):
    """(rows top-down of palette indexes, palette of (r, g, b)) of an 8-bit BMP,
    uncompressed or BI_RLE8."""
    with open(path, 'rb') as fh:
        data = fh.read()
    offset, = struct.unpack_from('<I', data, 10)
    size, width, height, _, bits, compression = struct.unpack_from('<IiiHHI', data, 14)
    if bits != 8 or compression not in (0, 1) or height <= 0:
        sys.exit('%s: need a bottom-up 8-bit BMP, plain or RLE8' % path)
    table = data[14 + size:offset]
    palette = [(table[i + 2], table[i + 1], table[i]) for i in range(0, len(table), 4)]
    pixels = data[offset:]
    if compression == 0:
        stride = (width + 3) // 4 * 4
        rows = [list(pixels[y * stride:y * stride + width]) for y in range(height)]
    else:
        rows = decode_rle8(pixels, width, height)
    return rows[::-1], palette


def decode_rle8(data, width, height):
    """Bottom-up rows of a BI_RLE8 bitmap; pixels never written stay 0."""
    rows = [[0] * width for _ in range(height)]
    x = y = i = 0
    while i + 1 < len(data) and y < height:
        count, value = data[i], data[i + 1]
        i += 2
        if count:
            for _ in range(count):
                put(rows, x, y, value)
                x += 1
        elif value == 0:
            x, y = 0, y + 1
        elif value == 1:
            break
        elif value == 2:
            x, y = x + data[i], y + data[i + 1]
            i += 2
        else:
            for v in data[i:i + value]:
                put(rows, x, y, v)
                x += 1
            i += value + value % 2  # absolute runs end on a word boundary
    return rows


def put(rows, x, y, value):
    if y < len(rows) and x < len(rows[y]):
        rows[y][x] = value


def frog_colours():
    """The frame as rows of (r, g, b) or TRANSPARENT, cropped to the frog."""
    frame, palette = read_bmp(os.path.join(ART, 'red-1.bmp'))
    mask, _ = read_bmp(os.path.join(ART, 'mask-1.bmp'))
    rows = [[TRANSPARENT if m == MASK_GROUND else palette[p] for p, m in zip(fr, mr)]
            for fr, mr in zip(frame, mask)]
    inside = [(x, y) for y, row in enumerate(rows) for x, c in enumerate(row) if c is not TRANSPARENT]
    left, right = min(x for x, _ in inside), max(x for x, _ in inside)
    top, bottom = min(y for _, y in inside), max(y for _, y in inside)
    return [row[left:right + 1] for row in rows[top:bottom + 1]]


def halved(rows):
    """Each 2 x 2 block becomes one pixel: transparent unless the frog covers
    at least half of it, else its most common colour, the darkest on a tie,
    so that outlines survive."""
    def block(x, y):
        cells = [rows[y + dy][x + dx] for dy in (0, 1) for dx in (0, 1)
                 if y + dy < len(rows) and x + dx < len(rows[0])]
        frog = [c for c in cells if c is not TRANSPARENT]
        if 2 * len(frog) < 4:
            return TRANSPARENT
        return max(frog, key=lambda c: (frog.count(c), -sum(c), c))
    return [[block(x, y) for x in range(0, len(rows[0]), 2)] for y in range(0, len(rows), 2)]


def doubled(rows):
    return [[c for c in row for _ in (0, 1)] for row in rows for _ in (0, 1)]


def centred(rows, side):
    height, width = len(rows), len(rows[0])
    if height > side or width > side:
        sys.exit('the frog (%d x %d) does not fit %d x %d' % (width, height, side, side))
    top, left = (side - height) // 2, (side - width) // 2
    out = [[TRANSPARENT] * side for _ in range(side)]
    for y, row in enumerate(rows):
        out[top + y][left:left + width] = row
    return out


def png(rows):
    """A 4-bit palette PNG; index 0 is the transparent ground."""
    colours = sorted({c for row in rows for c in row if c is not TRANSPARENT})
    if len(colours) + 1 > MAX_COLOURS:
        sys.exit('%d colours do not fit a 16-colour palette' % (len(colours) + 1))
    index = {c: i + 1 for i, c in enumerate(colours)}
    index[TRANSPARENT] = 0
    raw = b''
    for row in rows:
        nibbles = [index[c] for c in row] + [0] * (len(row) % 2)
        raw += b'\0' + bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, len(nibbles), 2))
    height, width = len(rows), len(rows[0])
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 4, 3, 0, 0, 0))
            + chunk(b'PLTE', bytes([0, 0, 0]) + b''.join(bytes(c) for c in colours))
            + chunk(b'tRNS', b'\0')
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))


def icons():
    frog = frog_colours()
    return {'lilywade-32.png': png(centred(halved(frog), 32)),
            'lilywade-128.png': png(centred(doubled(frog), 128))}


def main():
    check = sys.argv[1:] == ['--check']
    stale = []
    for name, data in icons().items():
        path = os.path.join(ICONS, name)
        if check:
            with open(path, 'rb') as fh:
                if fh.read() != data:
                    stale.append(name)
        else:
            os.makedirs(ICONS, exist_ok=True)
            with open(path, 'wb') as fh:
                fh.write(data)
    if stale:
        sys.exit('stale, rerun tools/make_icons.py: ' + ', '.join(stale))


if __name__ == '__main__':
    main()
