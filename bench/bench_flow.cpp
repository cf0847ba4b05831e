// The flow field on an N x N grid over x from -1 to 2 and y from -1 to 1 (N = 64, 512, 1024),
// and 21 streamlines over the same extent, about F 0.1, G 0.05, m 1.9 at 5 degrees: the figures
// bench_numpy.py's transcription of the same field is compared with.

#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

orvek::FlowField benchField() { return *orvek::FlowField::make({0.1, 0.05, 1.9}, 5.0); }

// The whole grid: its coordinates, then the four values at every point, on every core.
void Field(benchmark::State& state) {
    const orvek::FlowField f = benchField();
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::size_t points = n * n;
    std::vector<double> x(points), y(points), u(points), v(points), cp(points), psi(points);
    for (auto _ : state) {
        for (std::size_t j = 0; j < n; ++j) {
            const double yj = -1.0 + 2.0 * static_cast<double>(j) / static_cast<double>(n - 1);
            for (std::size_t i = 0; i < n; ++i) {
                x[j * n + i] = -1.0 + 3.0 * static_cast<double>(i) / static_cast<double>(n - 1);
                y[j * n + i] = yj;
            }
        }
        orvek::FlowRun run{points, x.data(), y.data(), u.data(), v.data(), cp.data(), psi.data()};
        f.evaluate(run);
        benchmark::DoNotOptimize(psi.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(points));
    state.SetLabel(orvek::instructionSetName(orvek::preferredInstructionSet()));
}

// The default request of orvek-batch streamlines (and of a window redrawing them on a slider move).
void Streamlines(benchmark::State& state) {
    const orvek::FlowField f = benchField();
    orvek::StreamlineRequest rq;
    rq.count = static_cast<int>(state.range(0));
    std::size_t points = 0;
    for (auto _ : state) {
        const auto lines = orvek::streamlines(f, rq);
        points = 0;
        for (const orvek::Streamline& l : *lines) points += l.points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}

}  // namespace

// On every core: the processor time counted is that of all threads together; compare the real time too.
BENCHMARK(Field)->Arg(64)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(Streamlines)->Arg(21)->Unit(benchmark::kMillisecond);
