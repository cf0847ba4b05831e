#!/usr/bin/python3
"""The Python module against the numpy transcription (bench_numpy.py) in one run, and optionally
against the C++ benchmark of the same cases: what a call of orvek from Python costs.

Usage: PYTHONPATH=BUILD/python bench/bench_python.py [--repeat N] [--cxx BUILD/bench/orvek_bench]
Prints one line per case: the median processor time per call (processor time of all threads, as
the C++ benchmark measures it, so that other work on the machine does not count), the factor
over numpy, and with --cxx the C++ benchmark's time and the module's excess over it.
"""
import argparse
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench_numpy  # noqa: E402  (beside this file)
import orvek  # noqa: E402

F, G, ALPHA = 0.1, 0.05, 5.0
CASES = [("Joukowsky", 2.0), ("KarmanTrefftz", 1.9)]
SIZES = [51, 1000001]


def median_time(call, calls, repeat):
    times = []
    for _ in range(repeat):
        start = time.process_time()
        for _ in range(calls):
            call()
        times.append((time.process_time() - start) / calls)
    return sorted(times)[len(times) // 2]


def cxx_times(program, repeat):
    """Processor time per call of the C++ benchmarks of the same cases, in seconds."""
    names = "|".join(name for name, _ in CASES)
    sizes = "|".join(str(n) for n in SIZES)
    out = subprocess.run([program, f"--benchmark_filter=^({names})/({sizes})(/|$)", "--benchmark_format=json",
                          f"--benchmark_repetitions={repeat}", "--benchmark_report_aggregates_only=true"],
                         capture_output=True, check=True, text=True).stdout
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    # "KarmanTrefftz/51/process_time" -> "KarmanTrefftz/51"
    return {"/".join(b["run_name"].split("/")[:2]): b["cpu_time"] * scale[b["time_unit"]]
            for b in json.loads(out)["benchmarks"] if b.get("aggregate_name") == "median"}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeat", type=int, default=7)
    parser.add_argument("--cxx", help="the C++ benchmark program, BUILD/bench/orvek_bench")
    args = parser.parse_args()
    cxx = cxx_times(args.cxx, args.repeat) if args.cxx else {}
    for name, m in CASES:
        airfoil = orvek.Airfoil(F, G, m)
        for points in SIZES:
            module = median_time(lambda: airfoil.solve(ALPHA, np=points), max(1, min(200000, 20_000_000 // points)),
                                 args.repeat)
            numpy_time = median_time(lambda: bench_numpy.solve(float(points), F, G, m, ALPHA),
                                     max(1, min(2000, 2_000_000 // points)), args.repeat)
            line = (f"solve {name}/{points}: orvek {module * 1e6:10.2f} us, numpy {numpy_time * 1e6:10.1f} us "
                    f"({numpy_time / module:6.1f} times faster)")
            if f"{name}/{points}" in cxx:
                c = cxx[f"{name}/{points}"]
                line += f", C++ {c * 1e6:10.2f} us (module {100 * (module / c - 1):+.0f} %)"
            print(line, flush=True)


if __name__ == "__main__":
    main()
