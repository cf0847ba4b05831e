// The solver at 51, 10,001 and 1,000,001 points, for a Joukowsky and a Karman-Trefftz airfoil.

#include "solver/surface/Solver.h"

#include <benchmark/benchmark.h>

namespace {

// `reuse`: each calculation lends its arrays to the next, as repeated calculations can; without
// it every call gets fresh memory from the system, whose first touch costs page faults.
void solve(benchmark::State& state, double m, bool reuse) {
    orvek::SolverInput in;
    in.airfoil.F = 0.1;
    in.airfoil.G = 0.05;
    in.airfoil.m = m;
    in.AlfaD = 5;
    in.N1 = static_cast<double>(state.range(0));
    orvek::SurfacePoints spare;
    for (auto _ : state) {
        orvek::Expected<orvek::SolverResult> o = orvek::ORVEK(in, std::move(spare));
        benchmark::DoNotOptimize(o->points.Cu.data());
        if (reuse) spare = std::move(o->points);
    }
    // Reported as points per second (items_per_second); its inverse is the time per point.
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(in.N1));
}

void Joukowsky(benchmark::State& state) { solve(state, 2.0, false); }
void KarmanTrefftz(benchmark::State& state) { solve(state, 1.9, false); }
void JoukowskyReusedArrays(benchmark::State& state) { solve(state, 2.0, true); }
void KarmanTrefftzReusedArrays(benchmark::State& state) { solve(state, 1.9, true); }

// The Karman-Trefftz surface on a given number of threads (arrays reused): where a second thread
// starts to pay for itself.
void KarmanTrefftzThreads(benchmark::State& state) {
    orvek::SolverInput in;
    in.airfoil.F = 0.1;
    in.airfoil.G = 0.05;
    in.airfoil.m = 1.9;
    in.AlfaD = 5;
    in.N1 = static_cast<double>(state.range(0));
    const orvek::SurfaceOptions how{orvek::preferredInstructionSet(), static_cast<unsigned>(state.range(1))};
    orvek::SurfacePoints spare;
    for (auto _ : state) {
        orvek::Expected<orvek::SolverResult> o = orvek::ORVEK(in, std::move(spare), how);
        benchmark::DoNotOptimize(o->points.Cu.data());
        spare = std::move(o->points);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(in.N1));
    state.SetLabel(orvek::instructionSetName(how.instructionSet));
}

}  // namespace

// Large cases run on every core: the CPU time counted is that of all threads together, so
// items_per_second is never flattered by uncounted helper threads; compare the real time too.
BENCHMARK(Joukowsky)->Arg(51)->Arg(10001)->Arg(1000001)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK(KarmanTrefftz)->Arg(51)->Arg(10001)->Arg(1000001)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK(JoukowskyReusedArrays)
    ->Arg(51)
    ->Arg(10001)
    ->Arg(1000001)
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK(KarmanTrefftzReusedArrays)
    ->Arg(51)
    ->Arg(10001)
    ->Arg(1000001)
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK(KarmanTrefftzThreads)
    ->ArgsProduct({{2001, 5001, 10001, 20001, 50001, 1000001}, {1, 2}})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
