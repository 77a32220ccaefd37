#!/usr/bin/env python3
"""Draws the SKU table's apply button (a blue rounded square with a white downward triangle,
the mark of a menu) as a 14x14 RGBA PNG.

Usage: draw-sku-apply-button.py OUT.png
"""
import sys

from pngfile import write_png

SIZE = 14
SAMPLES = 4  # per axis, for smooth edges
BLUE = (0x2F, 0x6F, 0xC0)
WHITE = (0xFF, 0xFF, 0xFF)


def in_rounded_square(x, y, margin=0.5, radius=3.0):
    lo, hi = margin, SIZE - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_triangle(x, y):
    # Apex down: from (3.5, 5) to (10.5, 5) to (7, 9.5).
    if y < 5.0 or y > 9.5:
        return False
    half = 3.5 * (9.5 - y) / 4.5
    return 7.0 - half <= x <= 7.0 + half


def main():
    rows = b""
    for py in range(SIZE):
        row = b"\x00"
        for px in range(SIZE):
            square = triangle = 0
            for sx in range(SAMPLES):
                for sy in range(SAMPLES):
                    x, y = px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES
                    if in_rounded_square(x, y):
                        square += 1
                        triangle += in_triangle(x, y)
            t = triangle / square if square else 0.0
            colour = tuple(round(b * (1 - t) + w * t) for b, w in zip(BLUE, WHITE))
            row += bytes(colour + (round(255 * square / SAMPLES ** 2),))
        rows += row

    write_png(sys.argv[1], SIZE, rows)

if __name__ == "__main__":
    main()
