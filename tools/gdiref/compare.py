#!/usr/bin/env python3
"""Compares our pictures of the drawing cases with the reference ones.

  compare.py cases.txt ref.raw ours.raw outdir   report per family, side by
                                                 side pictures of the worst
  compare.py sheet cases.txt ref.raw out.png     all reference pictures as
                                                 one sheet (the golden data)
Raw files hold 64x48 pixels per case as little-endian 0x00RRGGBB words.
"""
import struct
import sys
import zlib
from collections import OrderedDict

W, H = 64, 48
COLUMNS = 16


def read_cases(path):
    cases = []
    for line in open(path):
        if not line.strip() or line.startswith("#"):
            continue
        head = line.split("|", 1)[0].split()
        cases.append((int(head[0]), head[1], line.split("|", 1)[1].strip()))
    return cases


def read_raw(path, count):
    data = open(path, "rb").read()
    n = W * H
    if len(data) != count * n * 4:
        sys.exit("%s: %d bytes, expected %d cases" % (path, len(data), count))
    words = struct.unpack("<%dI" % (count * n), data)
    return [words[i * n:(i + 1) * n] for i in range(count)]


def write_png(path, width, height, pixels):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            v = pixels[y * width + x]
            raw += bytes(((v >> 16) & 255, (v >> 8) & 255, v & 255))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(png)


def sheet(cases_path, ref_path, out_path):
    cases = read_cases(cases_path)
    pics = read_raw(ref_path, len(cases))
    rows = (len(pics) + COLUMNS - 1) // COLUMNS
    sw, sh = COLUMNS * W, rows * H
    px = [0xFFFFFF] * (sw * sh)
    for i, pic in enumerate(pics):
        ox, oy = (i % COLUMNS) * W, (i // COLUMNS) * H
        for y in range(H):
            px[(oy + y) * sw + ox:(oy + y) * sw + ox + W] = pic[y * W:(y + 1) * W]
    write_png(out_path, sw, sh, px)


def side_by_side(path, ref, ours, scale=4):
    # reference | ours | differences (red where they differ)
    gap = 4
    width, height = (3 * W + 2 * gap) * scale, H * scale
    px = [0x404040] * (width * height)
    diff = [0xFF0000 if a != b else ((a >> 2) & 0x3F3F3F) + 0xA0A0A0 for a, b in zip(ref, ours)]
    for k, pic in enumerate((ref, ours, diff)):
        ox = k * (W + gap) * scale
        for y in range(height):
            for x in range(W * scale):
                px[y * width + ox + x] = pic[(y // scale) * W + x // scale]
    write_png(path, width, height, px)


def compare(cases_path, ref_path, ours_path, outdir):
    import os
    cases = read_cases(cases_path)
    ref = read_raw(ref_path, len(cases))
    ours = read_raw(ours_path, len(cases))
    os.makedirs(outdir, exist_ok=True)
    families = OrderedDict()
    diffs = []
    for (cid, fam, ops), a, b in zip(cases, ref, ours):
        bad = sum(1 for p, q in zip(a, b) if p != q)
        f = families.setdefault(fam, [0, 0])
        f[1] += 1
        if bad == 0:
            f[0] += 1
        else:
            diffs.append((bad, cid, fam, ops))
    total = sum(f[0] for f in families.values())
    print("%-12s %6s %6s %7s" % ("family", "exact", "cases", "share"))
    for fam, (ok, n) in families.items():
        print("%-12s %6d %6d %6.1f%%" % (fam, ok, n, 100.0 * ok / n))
    print("%-12s %6d %6d %6.1f%%" % ("all", total, len(cases), 100.0 * total / len(cases)))
    print()
    print("differing cases (pixels, id, family, ops):")
    for bad, cid, fam, ops in sorted(diffs, key=lambda d: d[1]):
        print("%5d  %3d %-10s %s" % (bad, cid, fam, ops))
    # The worst case of every family, and the worst overall.
    worst = {}
    for d in diffs:
        if d[2] not in worst or d[0] > worst[d[2]][0]:
            worst[d[2]] = d
    for bad, cid, fam, ops in sorted(worst.values(), reverse=True):
        side_by_side(os.path.join(outdir, "worst-%s-%d.png" % (fam, cid)), ref[cid], ours[cid])
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "sheet":
        sheet(sys.argv[2], sys.argv[3], sys.argv[4])
    elif len(sys.argv) == 5:
        sys.exit(compare(*sys.argv[1:]))
    else:
        sys.exit(__doc__)
