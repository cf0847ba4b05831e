#!/usr/bin/python3
"""The surface formulas transcribed to numpy, elementwise over all points at once: the figure the
C++ solver's benchmarks are compared with. Same airfoils and point counts as bench_solver.cpp;
with --field, the flow field on the grids of bench_flow.cpp instead.

Usage: bench/bench_numpy.py (Debian's python3 with python3-numpy) [--repeat N] [--field]
Prints one line per case: the median processor time per call and per point (processor time,
not elapsed time, so that other work on the machine does not count).
"""
import argparse
import math
import time

import numpy as np


def solve(N1, F, G, m, alfa_d, chord=1.0):
    """x, y and 1-Cp at indices 0..N1 (index 0 unused), as the program's solver defines them."""
    pi = 4 * math.atan(1)
    b = (chord / (2 * m)) * (1 - (F / (1 + F)) ** m)
    mb = m * b
    shift = mb - chord
    beta = math.atan(G / (1 + F))
    R2 = (1 + F) * (1 + F) + G * G
    d_over_r = math.sqrt((F * F + G * G) / R2)
    delta = math.atan2(G, F)
    alpha = alfa_d * pi / 180
    N = int(N1)
    K = (N1 - 1) / 2 if F == 0 else (N1 - 1) / 2 + 1
    d_theta = 2 * pi / (N1 - 1)
    i = np.arange(2, int(math.floor(K)) + 1, dtype=np.float64)
    x = np.zeros(N + 1)
    y = np.zeros(N + 1)
    one_minus_cp = np.zeros(N + 1)
    for sign in (-1.0, 1.0):  # lower surface, then upper
        theta = sign * (i - 1) * d_theta
        st, ct = np.sin(theta), np.cos(theta)
        p = -F * ct + G * st
        r = p + np.sqrt((1 + 2 * F) + p * p)
        d_plus = np.sqrt((1 + r * r) + 2 * r * ct)
        d_minus = np.sqrt((1 + r * r) - 2 * r * ct)
        rho = d_minus / d_plus
        phi = np.arctan2(2 * st, r - 1 / r)
        rho_m = rho ** m
        D = (1 + rho_m * rho_m) - 2 * rho_m * np.cos(m * phi)
        X = mb * (1 - rho_m * rho_m) / D
        Y = 2 * mb * rho_m * np.sin(m * phi) / D
        s = d_over_r * np.sin(theta + delta)
        gamma = np.arctan(s / np.sqrt(1 - s * s))
        psi = (theta - alpha) - gamma
        J = (2 * m / d_plus) ** 2 * rho ** (m - 1) / D
        V = 2 * (math.sin(alpha + beta) + np.sin(psi)) / J
        k = (i if sign < 0 else N1 + 1 - i).astype(np.int64)
        x[k] = X - shift
        y[k] = Y
        one_minus_cp[k] = V * V
    x[1] = x[N] = chord
    y[1] = y[N] = 0.0
    one_minus_cp[1] = one_minus_cp[N] = math.cos(alpha + beta) ** 2 / R2 if m == 2 else 0.0
    return x, y, one_minus_cp


def field(X, Y, F, G, m, alfa_d):
    """u, v, Cp and psi at the points X + iY of the airfoil plane (NaN inside the airfoil): the
    mapping inverted in closed form, the m-th root taken of w e^(i m beta) so that the branch is
    the one whose circle point lies outside the circle, then the complex potential about the circle."""
    pi = 4 * math.atan(1)
    b = (1 / (2 * m)) * (1 - (F / (1 + F)) ** m)
    beta = math.atan(G / (1 + F))
    R2 = (1 + F) ** 2 + G * G
    R = math.sqrt(R2)
    alpha = alfa_d * pi / 180
    gamma = 2 * R * math.sin(alpha + beta)
    zeta0 = complex(-F, G)
    z = X + 1j * Y
    w = (z - 1) / (z - 1 + 2 * m * b)
    qh = (w * np.exp(1j * m * beta)) ** (1 / m)  # principal root: q e^(i beta)
    inside = R * qh.real - F * np.abs(qh) ** 2 < 0
    q = qh * np.exp(-1j * beta)
    zeta = (1 + q) / (1 - q)
    t = zeta - zeta0
    dW = np.exp(-1j * alpha) - R2 * np.exp(1j * alpha) / t**2 + 1j * gamma / t
    dz = 4 * m * m * b * w / ((1 - w) ** 2 * (zeta * zeta - 1))
    vel = b * dW / dz  # u - iv
    psi = b * (np.exp(-1j * alpha) * t + R2 * np.exp(1j * alpha) / t).imag + b * gamma * np.log(np.abs(t) / R)
    u, v = vel.real, -vel.imag
    cp = 1 - (u * u + v * v)
    for a in (u, v, cp, psi):
        a[inside] = np.nan
    return u, v, cp, psi


def main_field(repeat):
    for n in (64, 512, 1024):
        calls = max(1, min(200, 2_000_000 // (n * n)))
        times = []
        for _ in range(repeat):
            start = time.process_time()
            for _ in range(calls):
                X, Y = np.meshgrid(np.linspace(-1, 2, n), np.linspace(-1, 1, n))
                field(X, Y, 0.1, 0.05, 1.9, 5.0)
            times.append((time.process_time() - start) / calls)
        t = sorted(times)[len(times) // 2]
        print(f"numpy Field/{n}: {t * 1e3:10.2f} ms per grid, {t / (n * n) * 1e9:8.1f} ns per point")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeat", type=int, default=7)
    parser.add_argument("--field", action="store_true", help="the flow field on grids instead of the surface")
    args = parser.parse_args()
    if args.field:
        main_field(args.repeat)
        return
    for name, m in (("Joukowsky", 2.0), ("KarmanTrefftz", 1.9)):
        for N1 in (51, 10001, 1000001):
            calls = max(1, min(2000, 2_000_000 // N1))
            times = []
            for _ in range(args.repeat):
                start = time.process_time()
                for _ in range(calls):
                    solve(float(N1), 0.1, 0.05, m, 5.0)
                times.append((time.process_time() - start) / calls)
            t = sorted(times)[len(times) // 2]
            print(f"numpy {name}/{N1}: {t * 1e6:12.1f} us per call, {t / N1 * 1e9:8.1f} ns per point")


if __name__ == "__main__":
    main()
