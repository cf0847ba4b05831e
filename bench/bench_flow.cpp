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

// The web page's redraw on this machine: 600 x 400 points over the same extent, on one thread,
// with the scalar kernels (0) and with the widest set the processor runs (1); bench/bench_web.mjs
// gives the WebAssembly figures beside it.
void FieldView(benchmark::State& state) {
    const orvek::FlowField f = benchField();
    const orvek::InstructionSet set =
        state.range(0) == 0 ? orvek::InstructionSet::Scalar : orvek::preferredInstructionSet();
    constexpr std::size_t Width = 600, Height = 400;
    std::vector<double> x(Width * Height), y(Width * Height), u(x.size()), v(x.size()), cp(x.size()), psi(x.size());
    for (std::size_t j = 0; j < Height; ++j) {
        for (std::size_t i = 0; i < Width; ++i) {
            x[j * Width + i] = -1.0 + 3.0 * (static_cast<double>(i) + 0.5) / static_cast<double>(Width);
            y[j * Width + i] = 1.0 - 2.0 * (static_cast<double>(j) + 0.5) / static_cast<double>(Height);
        }
    }
    for (auto _ : state) {
        f.evaluate({x.size(), x.data(), y.data(), u.data(), v.data(), cp.data(), psi.data()}, set, 1);
        benchmark::DoNotOptimize(cp.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(orvek::instructionSetName(set));
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
BENCHMARK(FieldView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Streamlines)->Arg(21)->Unit(benchmark::kMillisecond);
