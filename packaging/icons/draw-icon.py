#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Draws the program's icon, org.example.OrvekAnalysis.svg: a cambered Joukowsky airfoil
# (F 0.15, G 0.1) at 8 degrees over the streamlines of its own potential flow, turned so that the
# free stream runs from left to right. Standard library only; run it again after changing a number:
#   python3 packaging/icons/draw-icon.py > packaging/icons/org.example.OrvekAnalysis.svg
import cmath
import math

F, G, ALPHA = 0.15, 0.1, math.radians(8.0)
centre = complex(-F, G)
radius = abs(1 - centre)                     # the circle passes through the trailing edge, 1
beta = math.asin(G / radius)
circulation = 4 * math.pi * radius * math.sin(ALPHA + beta)   # Kutta condition


def to_plane(zeta):
    """Joukowsky mapping, then turned by -alpha so the free stream is horizontal."""
    return (zeta + 1 / zeta) * cmath.exp(-1j * ALPHA)


def velocity(zeta):
    """Velocity (u, v) of the flow about the circle, in the circle plane."""
    s = zeta - centre
    dw = cmath.exp(-1j * ALPHA) - radius**2 * cmath.exp(1j * ALPHA) / s**2 + 1j * circulation / (2 * math.pi * s)
    return dw.conjugate()


def streamline(start, step=0.01, limit=8.0):
    points = [start]
    z = start
    while abs(z.real) < limit and len(points) < 5000:
        def direction(p):
            v = velocity(p)
            return v / abs(v)
        k1 = direction(z)
        k2 = direction(z + step / 2 * k1)
        k3 = direction(z + step / 2 * k2)
        k4 = direction(z + step * k3)
        z = z + step / 6 * (k1 + 2 * k2 + 2 * k3 + k4)
        points.append(z)
    return points


# Picture frame: plane coordinates -2.45..2.45 across a 256-unit square.
SCALE = 256 / 4.9
def svg_point(z):
    return (128 + z.real * SCALE, 128 - z.imag * SCALE + 14)


def path(points, close=False):
    pts = [svg_point(p) for p in points]
    kept = [pts[0]]
    for p in pts[1:]:
        if math.dist(p, kept[-1]) >= 2.0:
            kept.append(p)
    kept.append(pts[-1])
    kept = [(x, y) for x, y in kept if -20 <= x <= 276 and -20 <= y <= 276]
    d = "M" + " L".join(f"{x:.1f},{y:.1f}" for x, y in kept)
    return d + (" Z" if close else "")


airfoil = [centre + radius * cmath.exp(1j * (-beta + 2 * math.pi * k / 720)) for k in range(720)]
airfoil_path = path([to_plane(z) for z in airfoil], close=True)

lines = []
for y0 in (-1.45, -0.5, 0.5, 1.45):
    zeta_line = streamline(complex(-7.5, y0 - 7.5 * math.tan(ALPHA)))
    lines.append(path([to_plane(z) for z in zeta_line]))

print('<?xml version="1.0" encoding="UTF-8"?>')
print('<!-- SPDX-License-Identifier: MIT -->')
print('<!-- OrvekAnalysis: a Joukowsky airfoil (F 0.15, G 0.1) at 8 degrees over the streamlines of')
print('     its potential flow. Drawn by packaging/icons/draw-icon.py. -->')
print('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">')
print('  <defs>')
print('    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">')
print('      <stop offset="0" stop-color="#3b7dd8"/>')
print('      <stop offset="1" stop-color="#1d4f91"/>')
print('    </linearGradient>')
print('    <linearGradient id="wing" x1="0" y1="0" x2="0" y2="1">')
print('      <stop offset="0" stop-color="#ffd27a"/>')
print('      <stop offset="1" stop-color="#f29a1f"/>')
print('    </linearGradient>')
print('    <clipPath id="frame"><rect x="8" y="8" width="240" height="240" rx="44"/></clipPath>')
print('  </defs>')
print('  <rect x="8" y="8" width="240" height="240" rx="44" fill="url(#sky)"/>')
print('  <g clip-path="url(#frame)" fill="none" stroke="#e8f3ff" stroke-width="7" stroke-linecap="round" stroke-opacity="0.85">')
for d in lines:
    print(f'    <path d="{d}"/>')
print('  </g>')
print(f'  <path d="{airfoil_path}" fill="url(#wing)" stroke="#5a3200" stroke-width="5" stroke-linejoin="round"/>')
print('</svg>')
