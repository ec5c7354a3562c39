# SPDX-License-Identifier: GPL-3.0-or-later
"""TopoJSON land (110m, 50m, 10m) into the program's compact file.

File: b"ZLAND1\\0\\0", u32 levels; per level: f64 scale x, scale y, translate x, translate y,
u32 polygons; per polygon: u32 rings; per ring: u32 points, then the points as zigzag
varint deltas of the quantized (x, y), the first from (0, 0). Little-endian throughout.
Longitude = translate x + x * scale x, latitude likewise.
"""
import json
import struct
import sys


def varint(n, out):
    n = (n << 1) ^ (n >> 63)  # zigzag
    while True:
        b = n & 0x7F
        n >>= 7
        if n:
            out.append(b | 0x80)
        else:
            out.append(b)
            return


def level(path, out):
    topo = json.load(open(path))
    scale, translate = topo["transform"]["scale"], topo["transform"]["translate"]
    arcs = []
    for arc in topo["arcs"]:  # delta-encoded: made absolute
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x, y))
        arcs.append(points)

    def ring(indices):
        points = []
        for i in indices:
            a = arcs[i] if i >= 0 else arcs[~i][::-1]
            points.extend(a if not points else a[1:])
        return points

    polygons = []
    for g in topo["objects"]["land"]["geometries"]:
        if g["type"] == "Polygon":
            polygons.append([ring(r) for r in g["arcs"]])
        elif g["type"] == "MultiPolygon":
            polygons.extend([[ring(r) for r in p] for p in g["arcs"]])
    out += struct.pack("<4d", scale[0], scale[1], translate[0], translate[1])
    out += struct.pack("<I", len(polygons))
    jumps = 0
    for polygon in polygons:
        out += struct.pack("<I", len(polygon))
        for r in polygon:
            out += struct.pack("<I", len(r))
            px = py = 0
            for x, y in r:
                if abs(x - px) * scale[0] > 180 and px:
                    jumps += 1
                varint(x - px, out)
                varint(y - py, out)
                px, py = x, y
    points = sum(len(r) for p in polygons for r in p)
    print(f"{path}: {len(polygons)} polygons, {points} points, {jumps} jumps across the antimeridian")


def main():
    folder, target = sys.argv[1], sys.argv[2]
    out = bytearray(b"ZLAND1\0\0")
    out += struct.pack("<I", 3)
    for name in ("land-110m.json", "land-50m.json", "land-10m.json"):
        level(f"{folder}/{name}", out)
    open(target, "wb").write(out)
    print(f"{target}: {len(out)} bytes")


main()
