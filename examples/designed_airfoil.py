#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A designed airfoil and its pressure distribution, as a notebook user would draw them.

Designs the Karman-Trefftz airfoil of 12 % thickness, 3 % camber and a 10-degree trailing edge,
calculates it at 4 degrees of incidence and saves the profile and -Cp along the chord to a PNG.

Usage: examples/designed_airfoil.py [PICTURE.png]     (default designed_airfoil.png)
Needs the module orvek (installed, or PYTHONPATH=BUILD/python) and python3-matplotlib. Set
MPLBACKEND=Agg to draw without a display.
"""
import sys

import matplotlib.pyplot as plt
import numpy

import orvek

ALPHA = 4.0  # angle of attack, degrees

airfoil = orvek.Airfoil.design(thickness=0.12, camber=0.03, te_angle=10)
shape = airfoil.describe()
case = airfoil.solve(ALPHA, np=241)

# Points run from the trailing edge along the lower surface to the leading edge and back along the
# upper one; the foremost point splits them into the two surfaces.
front = int(numpy.nanargmin(case.x))
cp = 1.0 - case.one_minus_cp
lower = slice(0, front + 1)
upper = slice(front, None)

figure, (pressure, profile) = plt.subplots(2, 1, figsize=(7, 6), sharex=True,
                                           gridspec_kw={"height_ratios": [3, 1]})
pressure.plot(case.x[upper], -cp[upper], color="tab:red", label="upper surface")
pressure.plot(case.x[lower], -cp[lower], color="tab:blue", label="lower surface")
pressure.axhline(0.0, color="grey", linewidth=0.5)
pressure.set_ylabel("-Cp")
pressure.set_title(f"F {airfoil.F:.4f}, G {airfoil.G:.4f}, m {airfoil.m:.4f} at {ALPHA:g} deg: "
                   f"CL {case.CL:.4f}, CMc/4 {case.CMc4:.4f}")
pressure.legend()

profile.fill(case.x, case.y, color="lightgrey", edgecolor="black", linewidth=0.8)
profile.set_aspect("equal")
profile.set_xlabel("x / c")
profile.set_ylabel("y / c")
profile.set_title(f"thickness {shape.Delta:.3f} at x/c {shape.xDltC:.3f}, camber {shape.Gama:.3f}, "
                  f"trailing edge {shape.Tau:.1f} deg", fontsize="small")

figure.tight_layout()
picture = sys.argv[1] if len(sys.argv) > 1 else "designed_airfoil.png"
figure.savefig(picture, dpi=120)
print(f"{picture}: {airfoil!r}, CL {case.CL:.6f}")
