#!/usr/bin/env python3
"""Renders a corvan line-drawing plot file (gridplot., backplot., extplot.)
to a PNG image, with the standard library only.

    tools/plot_to_png.py gridplot.hole hole.png [size]

Grid sides are drawn in grey, boundary segments (colour 1) in black and the
flagged halves of over-long sides (colours 4 and 6) in red and blue.
"""
import struct
import sys
import zlib

COLOURS = {0: (150, 150, 150), 1: (0, 0, 0), 4: (220, 0, 0), 6: (0, 0, 220)}


def read_blocks(path):
    blocks, colour, pts = [], 0, []
    for line in open(path):
        t = line.split()
        if not t or line.lstrip().startswith("$") or "equalscale" in line or "boundary =" in line:
            continue
        if t[0] == "%" and t[1] == "linecolor":
            if pts:
                blocks.append((colour, pts))
            colour, pts = int(t[3]), []
            continue
        pts.append((float(line[0:15]), float(line[15:30])))
    if pts:
        blocks.append((colour, pts))
    return blocks


def write_png(path, w, h, rows):
    raw = b"".join(b"\x00" + bytes(r) for r in rows)
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(png)


def main():
    src, dst = sys.argv[1], sys.argv[2]
    size = int(sys.argv[3]) if len(sys.argv) > 3 else 900
    blocks = read_blocks(src)
    xs = [p[0] for _, ps in blocks for p in ps]
    ys = [p[1] for _, ps in blocks for p in ps]
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    span = max(x1 - x0, y1 - y0) or 1.0
    margin = 10
    scale = (size - 2 * margin) / span
    w = int((x1 - x0) * scale) + 2 * margin + 1
    h = int((y1 - y0) * scale) + 2 * margin + 1
    rows = [bytearray(b"\xff" * (3 * w)) for _ in range(h)]

    def plot(x, y, c):
        if 0 <= x < w and 0 <= y < h:
            rows[y][3 * x:3 * x + 3] = bytes(c)

    for colour, ps in sorted(blocks, key=lambda b: b[0] == 1):
        c = COLOURS.get(colour, (0, 160, 0))
        for (ax, ay), (bx, by) in zip(ps, ps[1:]):
            px0 = int(round((ax - x0) * scale)) + margin
            py0 = h - 1 - (int(round((ay - y0) * scale)) + margin)
            px1 = int(round((bx - x0) * scale)) + margin
            py1 = h - 1 - (int(round((by - y0) * scale)) + margin)
            n = max(abs(px1 - px0), abs(py1 - py0), 1)
            for k in range(n + 1):
                plot(px0 + (px1 - px0) * k // n, py0 + (py1 - py0) * k // n, c)
    write_png(dst, w, h, rows)


if __name__ == "__main__":
    main()
