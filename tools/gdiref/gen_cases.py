#!/usr/bin/env python3
"""Writes the drawing cases compared against the reference drawing interface.

One case a line: "<id> <family> | op args ; op args ...", 64x48 canvas,
white at the start, default pen (solid black, width 1, copy) and brush
(solid white). Ops (numbers decimal, colours 0xRRGGBB):
  P style width colour mode    pen: style 0 solid 1 dash 2 dot 3 dashdot
                               4 dashdotdot 5 clear 6 insideframe; mode is the
                               binary raster operation code 1..16
  B style colour               brush: 0 solid 1 clear 2 horizontal 3 vertical
                               4 fdiagonal 5 bdiagonal 6 cross 7 diagcross
  F l t r b colour             fill a rectangle with a solid colour
  R / E x1 y1 x2 y2            rectangle / ellipse
  RR x1 y1 x2 y2 w h           round rectangle
  A / PI / C x1 y1 x2 y2 x3 y3 x4 y4   arc / pie / chord
  L x1 y1 x2 y2                line (move, then line to)
  PL / PG n x y ...            polyline / polygon
  FM mode                      polygon fill mode: 1 alternate 2 winding
  FF x y colour surface        flood fill (surface 1: fill the colour,
                               0: fill up to a border of the colour)
The seed is fixed: the file only changes when this script does.
"""
import random
import sys

W, H = 64, 48
rng = random.Random(19)
PENS = [0x000000, 0xC00000, 0x0000C0, 0x008000, 0x808080]
BRUSHES = [0xFFFF00, 0x00C0C0, 0xC0C0FF, 0xFF8040, 0x60A060]
cases = []


def add(family, ops):
    cases.append((family, ops))


def c(v):
    return "0x%06X" % v


def pen(style=0, width=1, colour=0, mode=13):
    return "P %d %d %s %d" % (style, width, c(colour), mode)


def brush(style=0, colour=0xFFFFFF):
    return "B %d %s" % (style, c(colour))


def box(minsize=1, maxsize=40):
    w = rng.randint(minsize, maxsize)
    h = rng.randint(minsize, min(maxsize, 40))
    x = rng.randint(-4, W - w + 4)
    y = rng.randint(-4, H - h + 4)
    return [x, y, x + w, y + h]


def pt(margin=8):
    return [rng.randint(-margin, W + margin), rng.randint(-margin, H + margin)]


def nums(v):
    return " ".join(str(int(n)) for n in v)


def background():
    # Stripes of colour, so pen modes show what they do.
    ops = []
    for i, col in enumerate([0xFFFFFF, 0x3366CC, 0xCC3300, 0x00AA55, 0x000000, 0xF0E070]):
        ops.append("F %d 0 %d %d %s" % (i * 11, i * 11 + 11, H, c(col)))
    return ops


# Lines: every direction, ties, clipped ends.
for i in range(40):
    ops = [pen(0, 1, rng.choice(PENS))]
    for _ in range(6):
        a = pt(12) if i % 4 == 0 else [rng.randint(0, W - 1), rng.randint(0, H - 1)]
        d = [rng.randint(-30, 30), rng.randint(-30, 30)]
        if i % 3 == 0:  # exact half-pixel ties: minor delta odd over even major
            d = [rng.choice([-1, 1]) * rng.choice([2, 4, 6, 10]), rng.choice([-1, 1])]
            if rng.random() < 0.5:
                d = d[::-1]
        ops.append("L " + nums(a + [a[0] + d[0], a[1] + d[1]]))
    add("line", ops)

for i in range(12):
    n = rng.randint(3, 7)
    pts = sum((pt(4) for _ in range(n)), [])
    add("polyline", [pen(0, 1, rng.choice(PENS)), "PL %d %s" % (n, nums(pts))])

for i in range(36):
    width = [1, 1, 1, 2, 3, 4, 5][i % 7]
    style = [0, 0, 6, 5][i % 4]
    b = brush(rng.choice([0, 0, 1]), rng.choice(BRUSHES))
    bx = box(1, 40)
    if i % 5 == 0:
        bx = [bx[2], bx[3], bx[0], bx[1]]  # reversed corners
    add("rect", [pen(style, width, rng.choice(PENS)), b, "R " + nums(bx)])

for i in range(44):
    width = [1, 1, 1, 1, 2, 3, 4, 5][i % 8]
    style = [0, 0, 0, 6, 5][i % 5]
    bx = box(1, 6) if i % 4 == 0 else box(3, 46)
    add("ellipse", [pen(style, width, rng.choice(PENS)), brush(rng.choice([0, 0, 1]), rng.choice(BRUSHES)),
                    "E " + nums(bx)])

for i in range(28):
    width = [1, 1, 1, 2, 3][i % 5]
    style = [0, 0, 5, 6][i % 4]
    bx = box(4, 46)
    add("roundrect", [pen(style, width, rng.choice(PENS)), brush(rng.choice([0, 0, 1]), rng.choice(BRUSHES)),
                      "RR " + nums(bx + [rng.randint(0, 30), rng.randint(0, 30)])])


def radial(bx):
    cx, cy = (bx[0] + bx[2]) / 2, (bx[1] + bx[3]) / 2
    out = []
    for _ in range(2):
        k = rng.random() * 6.283185307179586
        import math
        out += [int(round(cx + 40 * math.cos(k))), int(round(cy - 40 * math.sin(k)))]
    return out


for fam, op in (("arc", "A"), ("pie", "PI"), ("chord", "C")):
    for i in range(28):
        width = [1, 1, 1, 2, 3][i % 5]
        style = [0, 0, 0, 5, 6][i % 5] if fam != "arc" else [0, 0, 6][i % 3]
        bx = box(6, 46)
        pts = radial(bx)
        if i == 3:
            pts = pts[:2] + pts[:2]  # the same direction twice: the whole ellipse
        if i == 7:
            pts = [(bx[0] + bx[2]) // 2, (bx[1] + bx[3]) // 2] + pts[2:]  # start at the centre
        add(fam, [pen(style, width, rng.choice(PENS)), brush(rng.choice([0, 0, 1]), rng.choice(BRUSHES)),
                  "%s %s" % (op, nums(bx + pts))])

for i in range(28):
    n = rng.randint(3, 8)
    pts = sum((pt(4) for _ in range(n)), [])
    style = [0, 0, 5][i % 3]
    add("polygon", [pen(style, 1, rng.choice(PENS)), brush(0, rng.choice(BRUSHES)), "FM %d" % (1 + i % 2),
                    "PG %d %s" % (n, nums(pts))])

for i in range(28):
    width = 2 + i % 4
    n = rng.randint(2, 4)
    pts = sum(([rng.randint(2, W - 3), rng.randint(2, H - 3)] for _ in range(n)), [])
    add("wide", [pen(0, width, rng.choice(PENS)), "PL %d %s" % (n, nums(pts))])

for i in range(30):
    style = 1 + i % 4
    opaque = i % 2 == 0
    b = brush(0, 0x80FFFF) if opaque else brush(1, 0)
    kind = (i // 4) % 5
    bx = box(8, 46)
    if kind == 0:
        fig = "L " + nums(pt(0) + pt(0))
    elif kind == 1:
        fig = "R " + nums(bx)
    elif kind == 2:
        fig = "E " + nums(bx)
    elif kind == 3:
        fig = "A " + nums(bx + radial(bx))
    else:
        fig = "RR " + nums(bx + [12, 10])
    add("styled", [pen(style, 1, rng.choice(PENS)), b, fig])

for mode in range(1, 17):
    for kind in range(3):
        ops = background() + [pen(0, 1 + (kind == 2), 0x0080FF, mode), brush(0, 0xFF00FF)]
        if kind == 0:
            ops += ["L 2 3 61 44", "L 60 2 3 40", "E 8 6 40 30"]
        elif kind == 1:
            ops += ["R 5 5 30 40", "PI 30 4 62 40 62 4 30 4", "RR 34 30 60 46 10 8"]
        else:
            ops += ["C 4 4 40 44 40 4 4 30", "PG 4 44 4 60 24 50 44 36 20"]
        add("penmode", ops)

for style in range(2, 8):
    for kind in range(3):
        ops = [pen(0 if kind else 5, 1, 0x000000), brush(style, rng.choice(PENS[1:]))]
        if kind == 0:
            ops.append("R 3 2 61 46")
        elif kind == 1:
            ops.append("E 2 2 62 46")
        else:
            ops.append("PG 5 10 2 60 10 50 44 6 40 30 24")
        add("hatch", ops)

for i in range(12):
    ops = [pen(0, 1, 0x000000), brush(1, 0), "E 4 4 40 40", "R 20 10 60 44", "L 0 24 64 30"]
    ops.append(brush(0, rng.choice(BRUSHES)) if i % 3 else brush(2 + i % 6, 0xC00000))
    surface = i % 2
    x, y = rng.randint(1, W - 2), rng.randint(1, H - 2)
    ops.append("FF %d %d %s %d" % (x, y, c(0xFFFFFF) if surface else c(0x000000), surface))
    add("flood", ops)

degenerate = [
    "R 10 10 11 11", "R 10 10 12 12", "R 10 10 10 20", "R 20 20 10 10", "E 10 10 11 11", "E 10 10 12 12",
    "E 10 10 13 13", "E 10 10 10 30", "E 30 30 10 10", "RR 10 10 11 11 4 4", "RR 10 10 30 30 0 0",
    "RR 10 10 30 30 60 60", "PI 10 10 40 40 25 25 40 10", "C 10 10 40 40 40 25 40 25", "A 10 10 12 12 0 0 20 20",
    "L 5 5 5 5", "PG 2 5 5 40 40", "PL 1 5 5",
]
for i, op in enumerate(degenerate):
    add("degenerate", [pen(0, 1 + (i % 3 == 2), 0xC00000), brush(0, 0x00C0C0), op])
    add("degenerate", [pen(5, 1, 0), brush(0, 0x00C0C0), op])

out = sys.stdout if len(sys.argv) < 2 else open(sys.argv[1], "w")
out.write("# Drawing cases for the reference comparison; written by gen_cases.py.\n")
for i, (family, ops) in enumerate(cases):
    out.write("%d %s | %s\n" % (i, family, " ; ".join(ops)))
