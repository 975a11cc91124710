#!/usr/bin/env python3
"""Writes golden/known_differences.txt from a comparison report: the cases
where TCanvas still differs from the reference, each with its family's
reason (see REASONS), so that make test holds every other case exact.

  known.py build/gdiref/report.txt > tools/gdiref/golden/known_differences.txt
"""
import sys

REASONS = {
    "arc": "arc ends: the reference picks the end pixels of some arcs by a rule we have not found (a pixel before or after the one the direction gives)",
    "pie": "pie ends as for arcs, a sweep narrower than one outline pixel, or the fill of a flat pie",
    "chord": "chord ends as for arcs, so the closing line starts or ends one pixel off",
    "ellipse": "the no-pen fill of a thin or flat box, or an inside-frame pen on a box of one or two pixels",
    "roundrect": "corner ellipses much taller than wide (the reference's corner walk breaks up), or a corner height of two without a pen",
    "wide": "wide lines: the reference fills the stroke polygon with its own rounding of the sides and caps",
    "styled": "styled pens on arcs: the pattern's phase at an arc end",
    "penmode": "pen modes on figures whose outline or fill still differ",
    "degenerate": "a no-pen ellipse of 2x2 pixels, pies with a start point on the centre, a full-sweep chord without a pen",
}

print("# Cases of cases.txt where TCanvas differs from the reference picture.")
print("# Written by known.py from a run.sh report; one case a line: id family reason.")
for line in open(sys.argv[1]):
    parts = line.split()
    if len(parts) > 3 and parts[0].isdigit() and parts[1].isdigit():
        fam = parts[2]
        print("%s %s %s" % (parts[1], fam, REASONS.get(fam, "differs")))
