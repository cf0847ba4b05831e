// orvek-batch's outputs at the largest point count, each run as a script runs it (standard output
// to /dev/null): the time per run and the child's peak resident memory. Every writer streams
// through one buffer, so the peak is the point arrays plus a fixed amount, whatever the format.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs orvek-batch with these arguments; the child's peak resident memory in KiB, or -1.
long runBatch(const std::vector<std::string>& args) {
    std::vector<std::string> words{ORVEK_BATCH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return usage.ru_maxrss;
}

const std::vector<std::vector<std::string>> Outputs = {
    {"solve", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--alpha", "3", "--np", "1000001"},
    {"solve", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--alpha", "3", "--np", "1000001", "--layout", "4",
     "--delta", "0", "--gama", "0", "--xdltc", "0", "--tau", "0"},
    {"export", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--format", "selig", "--np", "1000001"},
    {"export", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--format", "lednicer", "--np", "1000001"},
    {"export", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--format", "csv", "--np", "1000001"},
    {"sweep", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--from", "0", "--to", "2", "--step", "1", "--np", "1000001"},
};
const char* const OutputNames[] = {"solve_json", "solve_layout4", "export_selig",
                                   "export_lednicer", "export_csv", "sweep_3_rows"};

void BatchOutputAtMostPoints(benchmark::State& state) {
    const auto k = static_cast<std::size_t>(state.range(0));
    state.SetLabel(OutputNames[k]);
    long peak = 0;
    for (auto _ : state) {
        const long kib = runBatch(Outputs[k]);
        if (kib < 0) {
            state.SkipWithError("orvek-batch failed");
            return;
        }
        peak = std::max(peak, kib);
    }
    state.counters["peak_rss_KiB"] = static_cast<double>(peak);
}

}  // namespace

BENCHMARK(BatchOutputAtMostPoints)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(2);
