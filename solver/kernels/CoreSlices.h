#pragma once
// Sharing one run of points among the processor's cores: consecutive slices of whole vector
// blocks, one per worker, the first on the calling thread. Each point is computed exactly as one
// thread would compute it, so the values depend neither on the split nor on the block.

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

namespace orvek {

// Work is handed out in blocks of whole vectors (a multiple of every instruction set's width).
constexpr std::size_t CoreBlock = 64;

// Calls work(worker, from, to) for consecutive slices [from, to) of [0, count), on `workers`
// threads (at least one); a run of one block or less stays on the calling thread.
template <class Work>
void splitAmongCores(std::size_t count, unsigned workers, Work&& work) {
    const std::size_t n = std::max(1u, workers);
    if (n == 1 || count <= CoreBlock) {
        work(std::size_t{0}, std::size_t{0}, count);
        return;
    }
    const std::size_t blocks = (count + CoreBlock - 1) / CoreBlock;
    const std::size_t perWorker = (blocks + n - 1) / n * CoreBlock;
    const auto slice = [&](std::size_t w) {
        const std::size_t from = std::min(w * perWorker, count);
        work(w, from, std::min(from + perWorker, count));
    };
    std::vector<std::thread> helpers;
    for (std::size_t w = 1; w < n; ++w) helpers.emplace_back(slice, w);
    slice(0);
    for (std::thread& t : helpers) t.join();
}

}  // namespace orvek
