#!/usr/bin/env python3
"""Draws each module's MAINICON images: icon16.bmp and icon32.bmp, 24-bit. Shapes are described in unit coordinates and rendered with
4x4 supersampling, so both sizes come from one drawing.

Run from anywhere: python3 modules/icons/draw_icons.py
"""
import math
import struct
from pathlib import Path

MODULES_DIR = Path(__file__).resolve().parent.parent

WHITE = (255, 255, 255)
DARK = (40, 40, 48)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= w / 2


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def segment(x0, y0, x1, y1, w):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= w / 2
    return inside


def arc(cx, cy, r, w, start, end):
    def inside(x, y):
        angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return start <= angle <= end and ring(cx, cy, r, w)(x, y)
    return inside


# Each icon: background colour, then (shape, colour) layers painted in order.
ICONS = {
    "visagor": ((52, 120, 200), [
        (disc(.5, .5, .4), (250, 210, 160)),
        (disc(.36, .42, .06), DARK), (disc(.64, .42, .06), DARK),
        (arc(.5, .52, .2, .06, 20, 160), DARK)]),
    "vocatrix": ((40, 150, 110), [
        (box(.4, .12, .6, .55), WHITE), (disc(.5, .12, .1), WHITE), (disc(.5, .55, .1), WHITE),
        (arc(.5, .5, .24, .06, 0, 180), WHITE), (segment(.5, .74, .5, .88, .06), WHITE),
        (segment(.34, .88, .66, .88, .06), WHITE)]),
    "palmetry": ((230, 140, 40), [
        (box(.28, .45, .72, .85), (250, 215, 170)),
        (segment(.33, .48, .33, .2, .1), (250, 215, 170)), (segment(.45, .48, .45, .12, .1), (250, 215, 170)),
        (segment(.57, .48, .57, .14, .1), (250, 215, 170)), (segment(.68, .5, .68, .24, .1), (250, 215, 170)),
        (segment(.3, .65, .14, .45, .11), (250, 215, 170))]),
    "figurant": ((120, 80, 180), [
        (disc(.5, .18, .1), WHITE), (segment(.5, .28, .5, .6, .09), WHITE),
        (segment(.5, .36, .22, .5, .08), WHITE), (segment(.5, .36, .78, .5, .08), WHITE),
        (segment(.5, .6, .3, .9, .08), WHITE), (segment(.5, .6, .7, .9, .08), WHITE)]),
    "moodaris": ((210, 60, 90), [
        (disc(.5, .5, .4), (255, 220, 90)),
        (segment(.28, .3, .42, .36, .06), DARK), (segment(.72, .3, .58, .36, .06), DARK),
        (disc(.36, .44, .05), DARK), (disc(.64, .44, .05), DARK),
        (arc(.5, .82, .2, .06, 200, 340), DARK)]),
    "voxident": ((30, 110, 150), [
        (disc(.36, .95, .3), WHITE), (disc(.36, .36, .19), (30, 110, 150)), (disc(.36, .36, .14), WHITE),
        (arc(.6, .35, .14, .05, 300, 360), WHITE), (arc(.6, .35, .14, .05, 0, 60), WHITE),
        (arc(.6, .35, .26, .05, 300, 360), WHITE), (arc(.6, .35, .26, .05, 0, 60), WHITE)]),
    "parlomat": ((70, 160, 200), [
        (box(.12, .18, .88, .66), WHITE), (segment(.28, .64, .22, .88, .12), WHITE),
        (disc(.32, .42, .06), DARK), (disc(.5, .42, .06), DARK), (disc(.68, .42, .06), DARK)]),
    "titulane": ((90, 90, 100), [
        (box(.12, .12, .88, .88), WHITE), (box(.2, .2, .8, .34), DARK),
        (box(.2, .44, .8, .5), (150, 150, 160)), (box(.2, .58, .8, .64), (150, 150, 160)),
        (box(.2, .72, .6, .78), (150, 150, 160))]),
}


def render(background, layers, size, samples=4):
    """Rows from top to bottom of (r, g, b) pixels."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + .5) / samples) / size
                    y = (py + (sy + .5) / samples) / size
                    colour = background
                    for shape, layer_colour in layers:
                        if shape(x, y):
                            colour = layer_colour
                    for i in range(3):
                        acc[i] += colour[i]
            row.append(tuple(round(c / samples / samples) for c in acc))
        rows.append(row)
    return rows


def bmp_file(rows):
    """A 24-bit uncompressed BMP file, rows stored bottom-up."""
    size = len(rows)
    stride = (size * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def main():
    for module, (background, layers) in ICONS.items():
        for size in (16, 32):
            (MODULES_DIR / module / f"icon{size}.bmp").write_bytes(bmp_file(render(background, layers, size)))


if __name__ == "__main__":
    main()
