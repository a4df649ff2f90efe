#!/usr/bin/env python3
"""Draws the program's icon, a model cube inside its collision sphere, at the
sizes the desktop asks for, and writes the PNG files, the Windows .ico and a
scalable SVG drawn from the same shapes; and the icon of a ZRM model file, the
same mark on a sheet of paper with a folded corner, as PNG files and an SVG.

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


RING_CENTRE = (0.5, 0.53)
RING_RADIUS = 0.38
RING_WIDTH = 0.06
BACKGROUND_MARGIN = 0.03
BACKGROUND_RADIUS = 0.18


def ring_width(size):
    # Below about 20 pixels the ring would vanish between samples.
    return max(RING_WIDTH, 1.2 / size)


def colour_at(x, y, size):
    """The colour of one sample point in unit coordinates, or None outside."""
    distance = math.hypot(x - RING_CENTRE[0], y - RING_CENTRE[1])
    if abs(distance - RING_RADIUS) <= ring_width(size) / 2:
        return SPHERE
    for points, colour in cube_faces():
        if inside_polygon(x, y, points):
            return colour
    if inside_rounded_square(x, y, BACKGROUND_MARGIN, BACKGROUND_RADIUS):
        return BACKGROUND
    return None


# The model file's sheet, its folded corner, and the square the mark is drawn
# in on it, all in unit coordinates.
SHEET = [(0.16, 0.04), (0.6, 0.04), (0.84, 0.28), (0.84, 0.96), (0.16, 0.96)]
FOLD = [(0.6, 0.04), (0.84, 0.28), (0.6, 0.28)]
PAPER = (246, 243, 236)
PAPER_EDGE = (120, 120, 120)
PAPER_FOLD = (214, 208, 196)
MARK_LEFT, MARK_TOP, MARK_SIDE = 0.2, 0.3, 0.6


def inside_sheet_edge(x, y, size):
    """Whether a point lies within one pixel of the sheet's outline, inside it."""
    edge = 1 / size
    return not (inside_polygon(x - edge, y, SHEET) and inside_polygon(x + edge, y, SHEET) and
                inside_polygon(x, y - edge, SHEET) and inside_polygon(x, y + edge, SHEET))


def model_file_colour_at(x, y, size):
    """The colour of one sample point of the model file's icon, or None outside."""
    if not inside_polygon(x, y, SHEET):
        return None
    if inside_sheet_edge(x, y, size):
        return PAPER_EDGE
    if inside_polygon(x, y, FOLD):
        return PAPER_FOLD
    mark_x, mark_y = (x - MARK_LEFT) / MARK_SIDE, (y - MARK_TOP) / MARK_SIDE
    distance = math.hypot(mark_x - RING_CENTRE[0], mark_y - RING_CENTRE[1])
    if abs(distance - RING_RADIUS) <= ring_width(size * MARK_SIDE) / 2:
        return SPHERE
    for points, colour in cube_faces():
        if inside_polygon(mark_x, mark_y, points):
            return colour
    return PAPER


def render(size, colour_at=colour_at):
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


def svg():
    scale = 128  # the SVG's own units; the shapes are drawn on the unit square

    def hex_colour(colour):
        return "#%02x%02x%02x" % colour

    def length(value):
        return f"{value * scale:g}"

    side = 1 - 2 * BACKGROUND_MARGIN
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{scale}" height="{scale}" '
        f'viewBox="0 0 {scale} {scale}">',
        f'  <rect x="{length(BACKGROUND_MARGIN)}" y="{length(BACKGROUND_MARGIN)}" '
        f'width="{length(side)}" height="{length(side)}" rx="{length(BACKGROUND_RADIUS)}" '
        f'fill="{hex_colour(BACKGROUND)}"/>',
    ]
    for points, colour in cube_faces():
        coordinates = " ".join(f"{x * scale:.2f},{y * scale:.2f}" for x, y in points)
        parts.append(f'  <polygon points="{coordinates}" fill="{hex_colour(colour)}"/>')
    parts.append(
        f'  <circle cx="{length(RING_CENTRE[0])}" cy="{length(RING_CENTRE[1])}" '
        f'r="{length(RING_RADIUS)}" fill="none" stroke="{hex_colour(SPHERE)}" '
        f'stroke-width="{length(RING_WIDTH)}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def model_file_svg():
    scale = 128

    def hex_colour(colour):
        return "#%02x%02x%02x" % colour

    def points_of(points, left=0.0, top=0.0, side=1.0):
        return " ".join(f"{(left + x * side) * scale:.2f},{(top + y * side) * scale:.2f}"
                        for x, y in points)

    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{scale}" height="{scale}" '
        f'viewBox="0 0 {scale} {scale}">',
        f'  <polygon points="{points_of(SHEET)}" fill="{hex_colour(PAPER)}" '
        f'stroke="{hex_colour(PAPER_EDGE)}" stroke-width="2"/>',
        f'  <polygon points="{points_of(FOLD)}" fill="{hex_colour(PAPER_FOLD)}" '
        f'stroke="{hex_colour(PAPER_EDGE)}" stroke-width="2"/>',
    ]
    for points, colour in cube_faces():
        parts.append(f'  <polygon points="{points_of(points, MARK_LEFT, MARK_TOP, MARK_SIDE)}" '
                     f'fill="{hex_colour(colour)}"/>')
    parts.append(
        f'  <circle cx="{(MARK_LEFT + RING_CENTRE[0] * MARK_SIDE) * scale:.2f}" '
        f'cy="{(MARK_TOP + RING_CENTRE[1] * MARK_SIDE) * scale:.2f}" '
        f'r="{RING_RADIUS * MARK_SIDE * scale:.2f}" fill="none" stroke="{hex_colour(SPHERE)}" '
        f'stroke-width="{RING_WIDTH * MARK_SIDE * scale:.2f}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    images = [(size, png(size, render(size))) for size in SIZES]
    for size, image in images:
        with open(f"morvane-{size}.png", "wb") as out:
            out.write(image)
    with open("morvane.ico", "wb") as out:
        out.write(ico(images))
    with open("morvane.svg", "w", encoding="ascii") as out:
        out.write(svg())
    for size in SIZES:
        with open(f"model-x-zrm-{size}.png", "wb") as out:
            out.write(png(size, render(size, model_file_colour_at)))
    with open("model-x-zrm.svg", "w", encoding="ascii") as out:
        out.write(model_file_svg())


if __name__ == "__main__":
    main()
