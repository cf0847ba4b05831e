// A polar sweep of 51 angles at 201 points, one airfoil design from targets, and the viscous
// estimate: one case as solve --re makes it (the surface at NP points and both boundary layers)
// and a drag polar of 41 angles.

#include "solver/analysis/Design.h"
#include "solver/analysis/Sweep.h"
#include "solver/boundarylayer/BoundaryLayer.h"
#include "solver/surface/Solver.h"

#include <benchmark/benchmark.h>

namespace {

void Sweep51Angles(benchmark::State& state) {
    orvek::SweepInput in;
    in.airfoil.F = 0.1;
    in.airfoil.G = 0.05;
    in.airfoil.m = state.range(0) == 2 ? 2.0 : 1.9;
    in.fromDegrees = -10;
    in.toDegrees = 15;
    in.stepDegrees = 0.5;
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
        benchmark::DoNotOptimize(g->thickness);
    }
}

// One case with its viscous estimate: the surface at NP points and both layers (the march does
// not depend on NP). A cambered Joukowsky airfoil at 2 degrees, Re 1e6.
void BoundaryLayer(benchmark::State& state) {
    orvek::SolverInput s;
    s.airfoil = {0.1, 0.05, 2.0};
    s.AlfaD = 2;
    s.N1 = static_cast<double>(state.range(0));
    orvek::ViscousInput v;
    v.airfoil = s.airfoil;
    v.alphaDegrees = 2;
    v.Re = 1e6;
    for (auto _ : state) {
        orvek::Expected<orvek::SolverResult> r = orvek::ORVEK(s);
        orvek::Expected<orvek::ViscousResult> layer = orvek::boundaryLayer(v);
        benchmark::DoNotOptimize(r->coefficients.CL);
        benchmark::DoNotOptimize(layer->CD);
    }
}

// A drag polar of 41 angles, -10 to 10 degrees, of a Karman-Trefftz airfoil at Re 3e6.
void DragPolar41Angles(benchmark::State& state) {
    orvek::ViscousInput v;
    v.airfoil = {0.1, 0.05, 1.95};
    v.Re = 3e6;
    for (auto _ : state) {
        orvek::Expected<std::vector<orvek::DragPolarRow>> rows = orvek::dragPolar(v, -10, 10, 0.5);
        benchmark::DoNotOptimize(rows->data());
    }
}

}  // namespace

BENCHMARK(BoundaryLayer)->Arg(401)->Unit(benchmark::kMicrosecond);
BENCHMARK(DragPolar41Angles)->Unit(benchmark::kMillisecond);

// Argument: the exponent's kind, 2 Joukowsky, 1 Karman-Trefftz (m = 1.9).
BENCHMARK(Sweep51Angles)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(DesignFromTargets)->Unit(benchmark::kMillisecond);
BENCHMARK(MeasureAirfoil)->Unit(benchmark::kMicrosecond);
