#!/usr/bin/env python3
"""Draws the required-attribute mark (a small red five-pointed star) as a 16x16 RGBA PNG.

Usage: draw-required-star.py OUT.png
"""
import math
import sys

from pngfile import write_png

SIZE = 16
SAMPLES = 4  # per axis, for smooth edges


def star(cx, cy, outer, inner):
    points = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


def inside(x, y, poly):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def main():
    poly = star(8.0, 8.6, 7.6, 3.1)
    rows = b""
    for py in range(SIZE):
        row = b"\x00"
        for px in range(SIZE):
            n = sum(inside(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES, poly)
                    for sx in range(SAMPLES) for sy in range(SAMPLES))
            row += bytes((0xE0, 0x10, 0x10, round(255 * n / SAMPLES ** 2)))
        rows += row

    write_png(sys.argv[1], SIZE, rows)

if __name__ == "__main__":
    main()
