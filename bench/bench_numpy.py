#!/usr/bin/python3
"""The surface formulas transcribed to numpy, elementwise over all points at once: the figure the
C++ solver's benchmarks are compared with. Same airfoils and point counts as bench_solver.cpp.

Usage: bench/bench_numpy.py (Debian's python3 with python3-numpy) [--repeat N]
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
    cu = np.zeros(N + 1)
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
        cu[k] = V * V
    x[1] = x[N] = chord
    y[1] = y[N] = 0.0
    cu[1] = cu[N] = math.cos(alpha + beta) ** 2 / R2 if m == 2 else 0.0
    return x, y, cu


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeat", type=int, default=7)
    args = parser.parse_args()
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
