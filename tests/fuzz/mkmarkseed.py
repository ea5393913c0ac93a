#!/usr/bin/env python3
"""Writes a seed for fuzz_markreader: a prepared 850 x 1400 page with the anchor and reference
boxes, a ScanItem table of the 113 rows the reader walks, and a few marked bubbles."""
import math
import struct
import sys

W, H = 850, 1400
page = [bytearray(b'\xff' * W) for _ in range(H)]


def box(x, y, w, h, grey=0):
    for yy in range(y, y + h):
        for xx in range(x, x + w):
            page[yy][xx] = grey


anchor = (20, 40)
box(anchor[0], anchor[1], 20, 20)
box(anchor[0] + 770, anchor[1], 20, 20)

rows = []


def row(x, y, dx, dy, dimx, dimy, name):
    # Positions relative to the anchor, as polar coordinates in degrees.
    r = math.hypot(x, y)
    theta = math.degrees(math.atan2(y, x)) if x else 90.0
    rows.append((r, theta, dx, dy, dimx, dimy, name))


# SSN 9, date of birth 6, BAC 3, arrest date 6: columns of ten vertical bubbles.
col = 0
for name, n in (('SSN', 9), ('DOB', 6), ('BAC', 3), ('Arrest', 6)):
    for k in range(n):
        x, y = 60 + 22 * col, 120
        row(x, y, 0, 18, 1, 10, name)
        mark = (col * 7) % 10
        box(anchor[0] + x, anchor[1] + y + 18 * mark, 12, 12)
        col += 1
# Gender, race, education, marital and the eight counts: horizontal rows of bubbles.
for i, name in enumerate(['Gender', 'Race', 'Education', 'Marital'] +
                         ['Count%d' % c for c in range(8)]):
    x, y = 60, 330 + 20 * i
    row(x, y, 22, 0, 10, 1, name)
    box(anchor[0] + x + 22 * (i % 4), anchor[1] + y, 12, 12)
for k, name in enumerate(['StBAC1', 'StBAC2', 'StBAC3', 'StPriorDUI']):
    x, y = 600 + 22 * k, 120
    row(x, y, 0, 18, 1, 10, name)
# The 73 items: five bubbles each.
for item in range(73):
    x, y = 60 + 260 * (item // 25), 600 + 18 * (item % 25)
    row(x, y, 22, 0, 5, 1, 'Item%d' % (item + 1))
    box(anchor[0] + x + 22 * (item % 2), anchor[1] + y, 12, 12)

CELL = 2  # pixels a side of one cell of the packed page
out = bytearray(struct.pack('<HHBBB', W - 1, H - 1, 0, CELL - 1, len(rows)))
for r, theta, dx, dy, dimx, dimy, name in rows:
    nb = name.encode()
    out += struct.pack('<ddddhhB', r, theta, dx, dy, dimx, dimy, len(nb)) + nb
# Runs of cells of one grey, row of cells by row of cells; a cell takes its top-left pixel.
cells = bytes(page[y][x] for y in range(0, H, CELL) for x in range(0, W, CELL))
i = 0
while i < len(cells):
    j = i
    while j < len(cells) and cells[j] == cells[i] and j - i < 256:
        j += 1
    out += struct.pack('<BB', cells[i], j - i - 1)
    i = j
sys.stdout.buffer.write(out)
