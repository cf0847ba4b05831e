// A polar sweep of 51 angles at 201 points, and one airfoil design from targets.

#include "solver/Sweep.h"

#include <benchmark/benchmark.h>

namespace {

void Sweep51Angles(benchmark::State& state) {
    orvek::SweepInput in;
    in.F = 0.1;
    in.G = 0.05;
    in.m = state.range(0) == 2 ? 2.0 : 1.9;
    in.from = -10;
    in.to = 15;
    in.step = 0.5;
    in.N1 = 201;
    for (auto _ : state) {
        orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
        benchmark::DoNotOptimize(rows->data());
    }
}

}  // namespace

// Argument: the exponent's kind, 2 Joukowsky, 1 Karman-Trefftz (m = 1.9).
BENCHMARK(Sweep51Angles)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond);
