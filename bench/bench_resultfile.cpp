// Writing the result file's split layout with 1-Cp for a million points.

#include "case/Catalogue.h"
#include "case/Driver.h"
#include "export/ResultFile.h"

#include <benchmark/benchmark.h>

namespace {

void ResultFileLayout4(benchmark::State& state) {
    orvek::CaseState s;
    orvek::storeCatalogue(s, *orvek::readCatalogue("Title\r\n0.118,0.0227,0.2523,0,0.1,0.05,2\r\n"));
    s.SelIndex = 1;
    const std::string points = std::to_string(state.range(0));
    if (!orvek::Calculate(s, points, "5")) state.SkipWithError("case failed");
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = orvek::resultFileText(orvek::resultFileCase(s), orvek::Layout::SplitCp, '.');
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

}  // namespace

BENCHMARK(ResultFileLayout4)->Arg(51)->Arg(1000001)->Unit(benchmark::kMillisecond);
