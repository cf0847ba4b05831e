#include "cli/PointSpool.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace orvek::cli {

void PointSpool::add(const double* x, const double* y, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) {
        pairs_.push_back(x[k]);
        pairs_.push_back(y[k]);
    }
    count_ += count;
    if (pairs_.size() <= 2 * BlockPoints || error_ != 0) return;
    if (!file_) {
        file_.reset(std::tmpfile());
        if (!file_) {
            error_ = errno != 0 ? errno : EIO;
            pairs_.clear();
            return;
        }
    }
    if (std::fwrite(pairs_.data(), sizeof(double), pairs_.size(), file_.get()) != pairs_.size()) {
        error_ = errno != 0 ? errno : EIO;
    }
    pairs_.clear();
}

Status PointSpool::status() const {
    if (error_ == 0) return {};
    return Failure{std::string("Cannot keep the points for their calculation in a temporary file: ") +
                   std::strerror(error_)};
}

Status PointSpool::replay(const PointBlockSink& sink) {
    if (Status kept = status(); !kept) return kept;
    std::vector<double> x, y;
    const auto handOn = [&](const double* pairs, std::size_t n) {
        x.resize(n);
        y.resize(n);
        for (std::size_t k = 0; k < n; ++k) {
            x[k] = pairs[2 * k];
            y[k] = pairs[2 * k + 1];
        }
        sink(x.data(), y.data(), n);
    };
    if (file_) {
        std::FILE* f = file_.get();
        if (std::fflush(f) != 0 || std::fseek(f, 0, SEEK_SET) != 0)
            return Failure{std::string("Cannot read the points back: ") + std::strerror(errno)};
        std::vector<double> block(2 * BlockPoints);
        for (;;) {
            const std::size_t got = std::fread(block.data(), sizeof(double), block.size(), f);
            if (got == 0 && std::ferror(f))
                return Failure{std::string("Cannot read the points back: ") + std::strerror(errno)};
            if (got == 0) break;
            handOn(block.data(), got / 2);
        }
    }
    for (std::size_t k = 0; k < pairs_.size(); k += 2 * BlockPoints) {
        handOn(&pairs_[k], std::min(BlockPoints, (pairs_.size() - k) / 2));
    }
    return {};
}

}  // namespace orvek::cli
