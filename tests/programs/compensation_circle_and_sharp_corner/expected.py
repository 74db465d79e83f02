#!/usr/bin/env python3
"""Writes motions.txt for main.nc (cutter centre points worked out from the contour)."""
import math

# Each compensated block gives its programmed contour first (1001: a line from the last two
# numbers to the end point; 1173: an arc about the last two numbers), then the moves of the
# cutter centre.
lines = ["0 0 0 0",
         "1001 20 0 0  0 0",
         "; start-up to (20, 0) moved 2 towards the centre of the circle that follows",
         "1 18 0 0",
         "; the full circle at radius 18, then the cancel back to the centre",
         "1173 20 0 0  0 0",
         "173 18 0 0  0 0",
         "1001 0 0 0  20 0",
         "1 0 0 0",
         "0 0 -20 0",
         "1001 0 0 0  0 -20",
         "; start-up to (0, 0) + 5 left of +X"]
r = 5.0
a_dir = (1.0, 0.0)
b_vec = (-30.0, -10.0)
b_len = math.hypot(*b_vec)
b_dir = (b_vec[0] / b_len, b_vec[1] / b_len)
left = lambda d: (-d[1], d[0])
lines.append("1 0 5 0")
a_end = (30 + r * left(a_dir)[0], 0 + r * left(a_dir)[1])
b_start = (30 + r * left(b_dir)[0], 0 + r * left(b_dir)[1])
p1 = (a_end[0] + r * a_dir[0], a_end[1] + r * a_dir[1])
p2 = (b_start[0] - r * b_dir[0], b_start[1] - r * b_dir[1])
lines.append("1001 30 0 0  0 0")
lines.append("; the corner at (30, 0) turns back by more than 90 degrees: the first side runs on")
lines.append("; by the radius, a straight move crosses to the second side drawn back by the radius")
lines.append(f"1 {p1[0]:.6f} {p1[1]:.6f} 0")
lines.append(f"1 {p2[0]:.6f} {p2[1]:.6f} 0")
b_end = (0 + r * left(b_dir)[0], -10 + r * left(b_dir)[1])
lines.append("; cancel: the side ends perpendicular to its end, then the cancel block")
lines.append("1001 0 -10 0  30 0")
lines.append(f"1 {b_end[0]:.6f} {b_end[1]:.6f} 0")
lines.append("1001 -10 -20 0  0 -10")
lines.append("1 -10 -20 0")
open("motions.txt", "w").write("\n".join(lines) + "\n")
