#!/usr/bin/env python3
"""The stalk drawn above the printed grape cluster.

The drawing is defined here once, as filled outlines made of straight and
cubic Bezier segments in a 1000 x 200 box (the 10 R x 2 R box the figure
stretches it into). Running the script writes:
  raspoprn.svg  the drawing as SVG (curves kept), for editing and viewing;
  raspoprn.wmf  the same drawing as a placeable Windows metafile (curves
                flattened into polygons), the file the program prints.
"""
import math
import struct
import sys
from pathlib import Path

W, H = 1000, 200

BARK = (0x6B, 0x45, 0x23)
BARK_DARK = (0x3F, 0x27, 0x12)
LEAF = (0x4C, 0x8C, 0x2B)
LEAF_DARK = (0x2E, 0x5E, 0x18)

# Each shape: (fill, outline, outline width, closed, segments). A segment is
# ("M", p) to start, ("L", p) a line, ("C", c1, c2, p) a cubic curve.
SHAPES = [
    # The stem the bunch hangs from, down to the bottom edge (under the branch).
    (BARK, BARK_DARK, 4, True, [
        ("M", (430, 70)), ("C", (440, 110), (425, 150), (432, 200)),
        ("L", (468, 200)), ("C", (462, 150), (476, 110), (470, 72))]),
    # The branch, thicker to the left where it was cut from the vine.
    (BARK, BARK_DARK, 4, True, [
        ("M", (15, 40)), ("C", (200, 20), (520, 70), (985, 48)),
        ("L", (990, 62)), ("C", (560, 92), (260, 70), (20, 88)),
        ("C", (8, 75), (8, 55), (15, 40))]),
    # The cut end of the branch.
    (BARK_DARK, BARK_DARK, 2, True, [
        ("M", (15, 40)), ("C", (2, 50), (2, 78), (20, 88)),
        ("C", (28, 72), (28, 55), (15, 40))]),
    # A leaf to the right, on its own short stalk.
    (BARK, BARK_DARK, 3, True, [
        ("M", (600, 70)), ("C", (620, 95), (640, 105), (662, 112)),
        ("L", (660, 122)), ("C", (635, 114), (612, 100), (592, 74))]),
    (LEAF, LEAF_DARK, 4, True, [
        ("M", (660, 116)),
        ("C", (690, 70), (740, 60), (770, 78)),
        ("C", (790, 50), (840, 45), (860, 70)),
        ("C", (900, 72), (930, 100), (905, 130)),
        ("C", (920, 160), (880, 190), (840, 175)),
        ("C", (810, 196), (760, 192), (745, 165)),
        ("C", (700, 170), (665, 150), (660, 116))]),
    # The leaf's veins.
    (None, LEAF_DARK, 4, False, [
        ("M", (662, 118)), ("C", (720, 118), (800, 120), (900, 110))]),
    (None, LEAF_DARK, 3, False, [
        ("M", (730, 119)), ("C", (760, 100), (790, 85), (812, 62))]),
    (None, LEAF_DARK, 3, False, [
        ("M", (760, 120)), ("C", (790, 140), (815, 160), (830, 178))]),
    # A curled tendril on the left.
    (None, LEAF_DARK, 5, False, [
        ("M", (300, 78)), ("C", (290, 120), (250, 150), (220, 140)),
        ("C", (190, 130), (200, 95), (228, 105)),
        ("C", (248, 112), (240, 132), (226, 126))]),
]


def hexcolor(c):
    return "#%02x%02x%02x" % c


def svg():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           f'<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" '
           f'viewBox="0 0 {W} {H}">',
           '  <title>Stalk of the printed grape cluster</title>']
    for fill, stroke, width, closed, segs in SHAPES:
        d = []
        for s in segs:
            if s[0] in "ML":
                d.append(f"{s[0]} {s[1][0]} {s[1][1]}")
            else:
                d.append("C " + " ".join(f"{x} {y}" for x, y in s[1:]))
        if closed:
            d.append("Z")
        out.append(f'  <path d="{" ".join(d)}" fill="{hexcolor(fill) if fill else "none"}" '
                   f'stroke="{hexcolor(stroke)}" stroke-width="{width}" '
                   f'stroke-linejoin="round" stroke-linecap="round"/>')
    out.append("</svg>")
    return "\n".join(out) + "\n"


def flatten(segs, steps=16):
    pts = []
    for s in segs:
        if s[0] in "ML":
            pts.append(s[1])
            continue
        p0 = pts[-1]
        c1, c2, p3 = s[1], s[2], s[3]
        for i in range(1, steps + 1):
            t = i / steps
            u = 1 - t
            x = u**3 * p0[0] + 3 * u * u * t * c1[0] + 3 * u * t * t * c2[0] + t**3 * p3[0]
            y = u**3 * p0[1] + 3 * u * u * t * c1[1] + 3 * u * t * t * c2[1] + t**3 * p3[1]
            pts.append((round(x), round(y)))
    return pts


def record(function, *words):
    body = b"".join(struct.pack("<h" if w < 0 else "<H", w) for w in words)
    size = 3 + len(body) // 2
    return struct.pack("<IH", size, function) + body


def colorref(c):
    r, g, b = c
    return [r | (g << 8), b]


def wmf():
    recs = []
    recs.append(record(0x020B, 0, 0))          # SETWINDOWORG y, x
    recs.append(record(0x020C, H, W))          # SETWINDOWEXT y, x
    recs.append(record(0x0102, 1))             # SETBKMODE transparent
    recs.append(record(0x0106, 2))             # SETPOLYFILLMODE winding
    for fill, stroke, width, closed, segs in SHAPES:
        pts = flatten(segs)
        # Objects 0 (pen) and 1 (brush), deleted after each shape.
        recs.append(record(0x02FA, 0, width, 0, *colorref(stroke)))  # CREATEPENINDIRECT
        if fill:
            recs.append(record(0x02FC, 0, *colorref(fill), 0))       # CREATEBRUSHINDIRECT solid
        else:
            recs.append(record(0x02FC, 1, 0, 0, 0))                  # hollow brush
        recs.append(record(0x012D, 0))         # SELECTOBJECT pen
        recs.append(record(0x012D, 1))         # SELECTOBJECT brush
        flat = [v for p in pts for v in p]
        recs.append(record(0x0324 if closed else 0x0325, len(pts), *flat))
        recs.append(record(0x01F0, 0))         # DELETEOBJECT
        recs.append(record(0x01F0, 1))
    recs.append(record(0x0000))                # EOF
    body = b"".join(recs)
    max_record = max(struct.unpack_from("<I", r)[0] for r in recs)
    total_words = (18 + len(body)) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, total_words, 2, max_record, 0)
    # Placeable header: 1000 x 200 units at 1440 units per inch.
    words = [0xCDD7, 0x9AC6, 0, 0, 0, W, H, 1440, 0, 0]
    checksum = 0
    for w in words:
        checksum ^= w
    placeable = struct.pack("<IHhhhhHIH", 0x9AC6CDD7, 0, 0, 0, W, H, 1440, 0, checksum)
    return placeable + header + body


def main():
    here = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    (here / "raspoprn.svg").write_text(svg())
    (here / "raspoprn.wmf").write_bytes(wmf())


if __name__ == "__main__":
    main()
