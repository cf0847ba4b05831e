# SPDX-License-Identifier: MIT
"""Karman-Trefftz and Joukowsky airfoils by conformal mapping, exactly, with numpy arrays.

    import orvek
    a = orvek.Airfoil(0.1, 0.05, 1.9)        # F, G, m (m = 2: Joukowsky)
    s = a.solve(5.0, np=51)                  # s.CL, s.CMc4, s.Alfa0; s.x, s.y, s.one_minus_cp
    p = a.sweep(-4, 12, 0.5)                 # a polar: dict of column name to array
    d = a.describe()                         # d.Delta, d.Gama, d.xDltC, d.Tau
    b = orvek.Airfoil.design(thickness=0.15, camber=0.03, te_angle=12)
    text = a.coordinates(format="selig", np=161)
    f = a.field(5.0, x, y)                   # f.u, f.v, f.cp, f.psi shaped like numpy.broadcast(x, y)
    lines = a.streamlines(5.0, count=21, extent=(-1, 2, -1, 1))
    v = a.solve(2.0, re=3e6, mach=0.3)      # v.viscous.CD, .transition; v.compressible.CL
    bl = a.boundary_layer(2.0, re=1e6)       # bl.upper.theta, bl.lower.H, ... per station
    polar = a.sweep(-2, 8, 1, re=1e6)        # adds CD, CDf, CDp, xtr_upper, xtr_lower, LD, valid

Frame: chord 1, leading edge at x = 0, trailing edge at (1, 0), unit free stream; angles in
degrees. The numbers are those of the program and of orvek-batch, bit for bit. A case that
cannot be calculated or designed raises ValueError with the reason; the calculations release
the GIL, so threads run them in parallel.
"""
from ._orvek import (Airfoil, BoundaryLayer, Compressible, Field, Flag, Geometry, Layer, Solution, Streamline,
                     SurfaceSide, Viscous, __version__)

__all__ = ["Airfoil", "BoundaryLayer", "Compressible", "Field", "Flag", "Geometry", "Layer", "Solution",
           "Streamline", "SurfaceSide", "Viscous", "__version__"]
