#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A designed airfoil, its streamlines and its pressure distribution, as a notebook user would
draw them.

Designs the Karman-Trefftz airfoil of 12 % thickness, 3 % camber and a 10-degree trailing edge,
calculates it at 4 degrees of incidence and saves the streamlines about it and -Cp along the
chord to a PNG.

Usage: examples/designed_airfoil.py [PICTURE.png]     (default designed_airfoil.png)
Needs the module orvek (installed, or PYTHONPATH=BUILD/python) and python3-matplotlib. Set
MPLBACKEND=Agg to draw without a display.
"""
import sys

import matplotlib.pyplot as plt
import numpy

import orvek

ALPHA = 4.0  # angle of attack, degrees
EXTENT = (-0.6, 1.6, -0.55, 0.55)  # x0, x1, y0, y1 in chords

airfoil = orvek.Airfoil.design(thickness=0.12, camber=0.03, te_angle=10)
shape = airfoil.describe()
case = airfoil.solve(ALPHA, np=241)

figure, (flow, pressure) = plt.subplots(2, 1, figsize=(8, 8), gridspec_kw={"height_ratios": [1, 1]})

# Streamlines: lines of constant stream function, the dividing one (psi = 0) stronger.
for line in airfoil.streamlines(ALPHA, count=25, extent=EXTENT):
    flow.plot(line.x, line.y, color="tab:red" if line.dividing else "tab:blue",
              linewidth=1.2 if line.dividing else 0.6)
flow.fill(case.x, case.y, color="lightgrey", edgecolor="black", linewidth=0.8)
flow.set_xlim(EXTENT[0], EXTENT[1])
flow.set_ylim(EXTENT[2], EXTENT[3])
flow.set_aspect("equal")
flow.set_xlabel("x / c")
flow.set_ylabel("y / c")
flow.set_title(f"thickness {shape.Delta:.3f} at x/c {shape.xDltC:.3f}, camber {shape.Gama:.3f}, "
               f"trailing edge {shape.Tau:.1f} deg: F {airfoil.F:.4f}, G {airfoil.G:.4f}, m {airfoil.m:.4f}",
               fontsize="small")

# The surface points run from the trailing edge along the lower surface to the leading edge and
# back along the upper one; the foremost point splits them.
front = int(numpy.nanargmin(case.x))
cp = 1.0 - case.one_minus_cp
pressure.plot(case.x[front:], -cp[front:], color="tab:red", label="upper surface")
pressure.plot(case.x[:front + 1], -cp[:front + 1], color="tab:blue", label="lower surface")
pressure.axhline(0.0, color="grey", linewidth=0.5)
pressure.set_xlabel("x / c")
pressure.set_ylabel("-Cp")
pressure.set_title(f"alpha = {ALPHA:g} deg: CL = {case.CL:.4f}, CMc/4 = {case.CMc4:.4f}")
pressure.legend()

figure.tight_layout()
picture = sys.argv[1] if len(sys.argv) > 1 else "designed_airfoil.png"
figure.savefig(picture, dpi=100)
print(f"{picture}: {airfoil!r}, CL {case.CL:.6f}")
