#!/usr/bin/env python3
"""Writes golden/known_differences.txt from a comparison report: the cases
where TCanvas still differs from the reference, each with its family's
reason (see REASONS), so that make test holds every other case exact.

  known.py build/gdiref/report.txt > tools/gdiref/golden/known_differences.txt
"""
import sys

REASONS = {
    "arc": "arc ends: the reference stops at the pixel where the walk meets the end point; we stop by direction",
    "pie": "pie and chord ends and radii follow the reference's end points only approximately",
    "chord": "pie and chord ends and radii follow the reference's end points only approximately",
    "ellipse": "wide pens on ellipses (the reference strokes the path with a geometric pen), or the no-pen fill of a thin or flat box",
    "roundrect": "round rectangles: we draw wide pens one pixel wide; narrow corner ellipses differ",
    "wide": "wide lines: the reference fills the stroke polygon with its own rounding of the sides and caps",
    "styled": "styled pens on curves: we draw them solid",
    "penmode": "pen modes on figures whose outline or fill still differ",
    "degenerate": "wide pens on tiny ellipses and round rectangles, pies and chords with a start point at the centre or an empty sweep",
}

print("# Cases of cases.txt where TCanvas differs from the reference picture.")
print("# Written by known.py from a run.sh report; one case a line: id family reason.")
for line in open(sys.argv[1]):
    parts = line.split()
    if len(parts) > 3 and parts[0].isdigit() and parts[1].isdigit():
        fam = parts[2]
        print("%s %s %s" % (parts[1], fam, REASONS.get(fam, "differs")))
