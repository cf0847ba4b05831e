// A polar sweep of 51 angles at 201 points, and one airfoil design from targets.

#include "solver/analysis/Design.h"
#include "solver/analysis/Sweep.h"

#include <benchmark/benchmark.h>

namespace {

void Sweep51Angles(benchmark::State& state) {
    orvek::SweepInput in;
    in.airfoil.F = 0.1;
    in.airfoil.G = 0.05;
    in.airfoil.m = state.range(0) == 2 ? 2.0 : 1.9;
    in.from = -10;
    in.to = 15;
    in.step = 0.5;
    in.N1 = 201;
    for (auto _ : state) {
        orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
        benchmark::DoNotOptimize(rows->data());
    }
}

// One design from targets: the Newton iteration on the exact contour.
void DesignFromTargets(benchmark::State& state) {
    for (auto _ : state) {
        orvek::Expected<orvek::DesignResult> d = orvek::designAirfoil({0.12, 0.04, 10});
        benchmark::DoNotOptimize(d->airfoil.F);
    }
}

// One measurement of thickness and camber along the exact contour.
void MeasureAirfoil(benchmark::State& state) {
    for (auto _ : state) {
        orvek::Expected<orvek::AirfoilGeometry> g = orvek::measureAirfoil({0.1, 0.05, 1.95});
        benchmark::DoNotOptimize(g->Delta);
    }
}

}  // namespace

// Argument: the exponent's kind, 2 Joukowsky, 1 Karman-Trefftz (m = 1.9).
BENCHMARK(Sweep51Angles)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(DesignFromTargets)->Unit(benchmark::kMillisecond);
BENCHMARK(MeasureAirfoil)->Unit(benchmark::kMicrosecond);
