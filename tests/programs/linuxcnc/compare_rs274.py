#!/usr/bin/env python3
"""Runs each .ngc program of this folder through cuttrace-cli (FANUC dialect) and through
the LinuxCNC interpreter (rs274 -g) and compares the end points of the motions in machine
coordinates, millimetres. Exit 77 (skipped) when rs274 is not installed.

usage: compare_rs274.py CUTTRACE_CLI"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

TOLERANCE = 2e-3  # rs274 prints four decimals (of an inch, too)


def rs274_points(program):
    out = subprocess.run(["rs274", "-g", program], input="", capture_output=True, text=True,
                         timeout=60).stdout
    g5x = [0.0, 0.0, 0.0]  # millimetres
    g92 = [0.0, 0.0, 0.0]
    scale = 1.0  # canonical unit to millimetres
    points = []
    for line in out.splitlines():
        m = re.search(r"([A-Z_0-9]+)\((.*)\)", line)
        if not m:
            continue
        name, args = m.group(1), m.group(2)
        try:
            values = [float(v) for v in args.split(",")]
        except ValueError:
            values = []
        if name == "USE_LENGTH_UNITS":
            scale = 25.4 if "INCHES" in args else 1.0
        elif name == "SET_G5X_OFFSET":
            g5x = [v * scale for v in values[1:4]]
        elif name == "SET_G92_OFFSET":
            g92 = [v * scale for v in values[0:3]]
        elif name in ("STRAIGHT_TRAVERSE", "STRAIGHT_FEED"):
            end = values[0:3]
        elif name == "ARC_FEED":  # XY plane: first end, second end, .., axis end point
            end = [values[0], values[1], values[5]]
        else:
            continue
        if name in ("STRAIGHT_TRAVERSE", "STRAIGHT_FEED", "ARC_FEED"):
            points.append([end[i] * scale + g5x[i] + g92[i] for i in range(3)])
    return points


def cuttrace_points(cli, program):
    with tempfile.TemporaryDirectory() as scratch:
        picture = os.path.join(scratch, "p.ncv")
        run = subprocess.run([cli, "-d", "fanuc", "-p", picture, program], capture_output=True,
                             text=True, timeout=60)
        if run.returncode != 0:
            raise SystemExit(f"{program}: cuttrace-cli failed: {run.stderr}")
        lines = open(picture).read().split("\n")[2:]
        return [[float(v) for v in line.split()[0:3]] for line in lines if line.strip()]


def main():
    if shutil.which("rs274") is None:
        print("skipped: rs274 (LinuxCNC, Debian package linuxcnc-uspace) is not installed")
        return 77
    cli = sys.argv[1]
    failures = 0
    for program in sorted(glob.glob(os.path.join(os.path.dirname(os.path.abspath(__file__)), "*.ngc"))):
        ours, theirs = cuttrace_points(cli, program), rs274_points(program)
        name = os.path.basename(program)
        if len(ours) != len(theirs):
            print(f"{name}: {len(ours)} motions, rs274 {len(theirs)}")
            failures += 1
            continue
        for n, (a, b) in enumerate(zip(ours, theirs), 1):
            if any(abs(a[i] - b[i]) > TOLERANCE for i in range(3)):
                print(f"{name}: motion {n}: cuttrace {a}, rs274 {b}")
                failures += 1
        print(f"{name}: {len(ours)} motions compared")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
