#!/usr/bin/python3
"""The Python module against the numpy transcriptions (bench_numpy.py) in one run, and optionally
against the C++ benchmarks of the same cases: what a call of orvek from Python costs.

Usage: PYTHONPATH=BUILD/python bench/bench_python.py [--repeat N] [--cxx BUILD/bench/orvek_bench]
Prints one line per case, medians of N runs of the processor time per call (of all threads, as
the C++ benchmarks measure it, so that other work on the machine counts less; the field's grid
is shared among the cores). With --cxx also the C++ benchmark's time and the module's excess.
"""
import argparse
import json
import os
import subprocess
import sys
import time

import numpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench_numpy  # noqa: E402  (beside this file)
import orvek  # noqa: E402

F, G, ALPHA = 0.1, 0.05, 5.0
SOLVE_CASES = [("Joukowsky", 2.0), ("KarmanTrefftz", 1.9)]
SOLVE_SIZES = [51, 1000001]
GRIDS = [64, 1024]  # n x n points over x from -1 to 2 and y from -1 to 1, about m = 1.9


def median_time(call, calls, repeat, clock):
    times = []
    for _ in range(repeat):
        start = clock()
        for _ in range(calls):
            call()
        times.append((clock() - start) / calls)
    return sorted(times)[len(times) // 2]


def cxx_times(program, repeat):
    """Processor seconds per iteration of the C++ benchmarks of the same cases."""
    names = "|".join(name for name, _ in SOLVE_CASES)
    sizes = "|".join(str(n) for n in SOLVE_SIZES)
    grids = "|".join(str(n) for n in GRIDS)
    out = subprocess.run([program, f"--benchmark_filter=^(({names})/({sizes})|Field/({grids}))(/|$)",
                          "--benchmark_format=json", f"--benchmark_repetitions={repeat}",
                          "--benchmark_report_aggregates_only=true"],
                         capture_output=True, check=True, text=True).stdout
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    # "KarmanTrefftz/51/process_time" -> "KarmanTrefftz/51"
    return {"/".join(b["run_name"].split("/")[:2]): b["cpu_time"] * scale[b["time_unit"]]
            for b in json.loads(out)["benchmarks"] if b.get("aggregate_name") == "median"}


def against_cxx(cxx, name, module):
    if name not in cxx:
        return ""
    c = cxx[name]
    unit, factor = ("ms", 1e3) if c > 1e-3 else ("us", 1e6)
    return f", C++ {c * factor:9.2f} {unit} (module {100 * (module / c - 1):+.0f} %)"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeat", type=int, default=7)
    parser.add_argument("--cxx", help="the C++ benchmark program, BUILD/bench/orvek_bench")
    args = parser.parse_args()
    cxx = cxx_times(args.cxx, args.repeat) if args.cxx else {}
    cpu = time.process_time
    for name, m in SOLVE_CASES:
        airfoil = orvek.Airfoil(F, G, m)
        for points in SOLVE_SIZES:
            module = median_time(lambda: airfoil.solve(ALPHA, np=points),
                                 max(1, min(200000, 20_000_000 // points)), args.repeat, cpu)
            reference = median_time(lambda: bench_numpy.solve(float(points), F, G, m, ALPHA),
                                    max(1, min(2000, 2_000_000 // points)), args.repeat, cpu)
            print(f"solve {name}/{points}: orvek {module * 1e6:10.2f} us, numpy {reference * 1e6:10.1f} us "
                  f"({reference / module:5.1f} times faster)"
                  + against_cxx(cxx, f"{name}/{points}", module), flush=True)
    airfoil = orvek.Airfoil(F, G, 1.9)
    for n in GRIDS:
        X, Y = numpy.meshgrid(numpy.linspace(-1, 2, n), numpy.linspace(-1, 1, n))
        calls = max(1, min(1000, 2_000_000 // (n * n)))
        module = median_time(lambda: airfoil.field(ALPHA, X, Y), calls, args.repeat, cpu)
        reference = median_time(lambda: bench_numpy.field(X, Y, F, G, 1.9, ALPHA), max(1, calls // 10),
                                args.repeat, cpu)
        print(f"field {n} x {n}: orvek {module * 1e3:10.3f} ms, numpy {reference * 1e3:10.2f} ms "
              f"({reference / module:5.1f} times faster)"
              + against_cxx(cxx, f"Field/{n}", module), flush=True)


if __name__ == "__main__":
    main()
