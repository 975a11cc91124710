#!/usr/bin/env python3
"""Writes golden/known_differences.txt from a comparison report: the cases
where TCanvas still differs from the reference, each with its family's
reason (see REASONS), so that make test holds every other case exact.

  known.py build/gdiref/report.txt > tools/gdiref/golden/known_differences.txt
"""
import sys

REASONS = {
    "ellipse": "the no-pen fill of a thin or flat box, or an inside-frame pen on a box of one or two pixels",
    "roundrect": "corner ellipses much taller than wide: the reference paints stray brush runs beside the box",
    "degenerate": "a no-pen ellipse of 2x2 pixels",
    "arc": "kept on purpose: a sweep narrower than one outline pixel keeps that pixel; the reference draws the whole ellipse",
}

print("# Cases of cases.txt where TCanvas differs from the reference picture.")
print("# Written by known.py from a run.sh report; one case a line: id family reason.")
for line in open(sys.argv[1]):
    parts = line.split()
    if len(parts) > 3 and parts[0].isdigit() and parts[1].isdigit():
        fam = parts[2]
        print("%s %s %s" % (parts[1], fam, REASONS.get(fam, "differs")))
