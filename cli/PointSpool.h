#pragma once
// The points of `orvek-batch field --points`, kept between reading and writing: the whole input
// is read and judged before the first byte of output, and then handed back a block at a time.
// Up to one block stays in memory; a longer input goes to a temporary file, so the memory used is
// the same whatever the input's size.

#include "case/PointFile.h"
#include "solver/Expected.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <vector>

namespace orvek::cli {

class PointSpool {
public:
    // Points beyond this many go to the temporary file.
    static constexpr std::size_t BlockPoints = 65536;

    void add(const double* x, const double* y, std::size_t count);
    // Whether every point was kept (a temporary file that could not be made or written is not).
    Status status() const;
    std::size_t size() const { return count_; }
    // Hands the points back in order, at most BlockPoints at a time.
    Status replay(const PointBlockSink& sink);

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::vector<double> pairs_;  // x, y, x, y, ... while they fit in memory
    std::unique_ptr<std::FILE, Closer> file_;
    std::size_t count_ = 0;
    int error_ = 0;
};

}  // namespace orvek::cli
