#!/usr/bin/env python3
"""Draws the program's icon, a model cube inside its collision sphere, at the
sizes the desktop asks for, and writes the PNG files and the Windows .ico.

Run it from this folder after changing the artwork; the output is committed so
that building needs no Python."""

import math
import struct
import zlib

SIZES = (16, 32, 48)
SAMPLES = 8  # per pixel side, for smooth edges without an imaging library

BACKGROUND = (31, 78, 95)
CUBE_TOP = (244, 184, 96)
CUBE_LEFT = (217, 130, 43)
CUBE_RIGHT = (168, 90, 28)
SPHERE = (126, 224, 129)


def inside_polygon(x, y, points):
    inside = False
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def inside_rounded_square(x, y, margin, radius):
    low, high = margin + radius, 1 - margin - radius
    dx = max(low - x, 0, x - high)
    dy = max(low - y, 0, y - high)
    return margin <= x <= 1 - margin and margin <= y <= 1 - margin and dx * dx + dy * dy <= radius * radius


def cube_faces():
    cx, cy, s = 0.5, 0.55, 0.25
    w = s * math.sqrt(3) / 2
    top, bottom, centre = (cx, cy - s), (cx, cy + s), (cx, cy)
    upper_left, upper_right = (cx - w, cy - s / 2), (cx + w, cy - s / 2)
    lower_left, lower_right = (cx - w, cy + s / 2), (cx + w, cy + s / 2)
    return [
        ([top, upper_right, centre, upper_left], CUBE_TOP),
        ([upper_left, centre, bottom, lower_left], CUBE_LEFT),
        ([centre, upper_right, lower_right, bottom], CUBE_RIGHT),
    ]


def colour_at(x, y, size):
    """The colour of one sample point in unit coordinates, or None outside."""
    ring_width = max(0.06, 1.2 / size)
    distance = math.hypot(x - 0.5, y - 0.53)
    if abs(distance - 0.38) <= ring_width / 2:
        return SPHERE
    for points, colour in cube_faces():
        if inside_polygon(x, y, points):
            return colour
    if inside_rounded_square(x, y, 0.03, 0.18):
        return BACKGROUND
    return None


def render(size):
    rows = []
    for py in range(size):
        row = bytearray([0])  # PNG filter type: none
        for px in range(size):
            total, covered = [0, 0, 0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = colour_at(x, y, size)
                    if colour is not None:
                        covered += 1
                        total = [t + c for t, c in zip(total, colour)]
            if covered:
                row += bytes(round(t / covered) for t in total)
            else:
                row += bytes(3)
            row.append(round(255 * covered / SAMPLES**2))
        rows.append(bytes(row))
    return b"".join(rows)


def png(size, pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return directory + entries + data


def main():
    images = [(size, png(size, render(size))) for size in SIZES]
    for size, image in images:
        with open(f"morvane-{size}.png", "wb") as out:
            out.write(image)
    with open("morvane.ico", "wb") as out:
        out.write(ico(images))


if __name__ == "__main__":
    main()
