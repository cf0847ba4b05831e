// Loading a 1 GiB catalogue: the loader reads at most the title and 50 airfoil lines of at most
// 4096 characters, so its time and memory do not grow with the file. Three files of 1 GiB: ten
// airfoils followed by zero bytes with no line end (sparse, so it takes no disk space), by line
// feeds, and by one line of commas. Counters: bytes the process read for one load, and the growth
// of its peak resident memory over all loads (0: no load needed more than the process held before),
// and that peak itself.

#include "case/Catalogue.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr long long GiB = 1LL << 30;

std::string tenAirfoils() {
    std::string out = "Title\r\n";
    for (int i = 1; i <= 10; ++i) out += "0.1179,0,0.2531,0," + std::to_string(0.01 * i) + ",0,2\r\n";
    return out;
}

// The files made, removed when the program ends (two of them fill 1 GiB of disk each).
struct MadeFiles {
    std::vector<std::string> paths;
    ~MadeFiles() {
        std::error_code ignored;
        for (const std::string& p : paths) std::filesystem::remove(p, ignored);
    }
};
MadeFiles made;

// The file of the given kind, made once per run in the system's temporary folder.
std::string hugeFile(int kind) {
    const char* const names[] = {"orvek-bench-sparse.txt", "orvek-bench-linefeeds.txt", "orvek-bench-commas.txt"};
    const std::string path =
        (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + names[kind])).string();
    if (std::filesystem::exists(path)) return path;
    made.paths.push_back(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string head = tenAirfoils();
    out << head;
    if (kind == 0) {
        out.close();
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(GiB));
        return path;
    }
    const std::string block(1 << 20, kind == 1 ? '\n' : ',');
    for (long long written = static_cast<long long>(head.size()); written < GiB;
         written += static_cast<long long>(block.size())) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    return path;
}

long long bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") return value;
    }
    return 0;
}

long long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void LoadHugeCatalogue(benchmark::State& state) {
    const std::string path = hugeFile(static_cast<int>(state.range(0)));
    const long long peakBefore = peakResidentKiB();
    long long read = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        const long long before = bytesReadSoFar();
        const orvek::Expected<orvek::Catalogue> c = orvek::loadCatalogueFile(path);
        read = bytesReadSoFar() - before;
        rows = c ? c->rows.size() : 0;
        benchmark::DoNotOptimize(rows);
    }
    if (rows != 10) state.SkipWithError("the ten airfoils were not loaded");
    state.counters["read_KiB"] = static_cast<double>(read) / 1024.0;
    state.counters["peak_rss_growth_KiB"] = static_cast<double>(peakResidentKiB() - peakBefore);
    state.counters["peak_rss_KiB"] = static_cast<double>(peakResidentKiB());
    state.SetLabel(state.range(0) == 0   ? "zero bytes (sparse)"
                   : state.range(0) == 1 ? "line feeds"
                                         : "one line of commas");
}

}  // namespace

BENCHMARK(LoadHugeCatalogue)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
