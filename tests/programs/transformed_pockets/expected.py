#!/usr/bin/env python3
"""Writes motions.txt for main.nc: each point worked out from the contour, the transform
of its section and the G54 offset (100, 0, 0)."""
import math

OFFSET = (100.0, 0.0, 0.0)
lines = []


def emit(kind, p, centre=None, comment=None):
    if comment:
        lines.append("; " + comment)
    x, y, z = (p[i] + OFFSET[i] for i in range(3))
    text = f"{kind} {x:.6f} {y:.6f} {z:.6f}"
    if centre is not None:
        text += f"  {centre[0] + OFFSET[0]:.6f} {centre[1] + OFFSET[1]:.6f}"
    lines.append(text)


def rotate(p, c=(10.0, 10.0), deg=30.0):
    a = math.radians(deg)
    dx, dy = p[0] - c[0], p[1] - c[1]
    return (c[0] + dx * math.cos(a) - dy * math.sin(a), c[1] + dx * math.sin(a) + dy * math.cos(a))


Z = 5.0
# (kind, end, arc centre) of the contour in program coordinates
contour = [(0, (10, 10), None), (1, (30, 10), None), (1, (30, 20), None),
           (173, (20, 30), (20, 20)), (1, (10, 30), None), (1, (10, 10), None)]

lines.append("; before the offset is set")
lines.append(f"0 0 0 {Z}")
lines.append("; G54 = (100, 0, 0)")
lines.append("; rotated about (10, 10) by 30 degrees")
for kind, end, centre in contour:
    e = rotate(end)
    emit(kind, (e[0], e[1], Z), rotate(centre) if centre else None)
lines.append("; mirrored about X50: counter-clockwise turns clockwise")
for kind, end, centre in contour:
    e = (100 - end[0], end[1])
    c = (100 - centre[0], centre[1]) if centre else None
    emit(172 if kind == 173 else kind, (e[0], e[1], Z), c)
lines.append("; scaled by (2, -2): from (5, 5), a clockwise R5 arc to (10, 0) about (5, 0)")
emit(1, (10, -10, Z))
emit(173, (20, 0, Z), (10, 0))
lines.append("; drilling cycle 81 at radius 20 and 45, 135, 225, 315 degrees; a record holds")
lines.append("; the R word of its own block (0 without one)")
for deg in (45, 135, 225, 315):
    a = math.radians(deg)
    r = 2 if deg == 45 else 0
    lines.append(f"81 {20 * math.cos(a) + OFFSET[0]:.6f} {20 * math.sin(a):.6f} -5  {r}")
emit(0, (0, 0, -5))
open("motions.txt", "w").write("\n".join(lines) + "\n")
