#include "cli/Progress.h"

#include <cmath>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define ORVEK_ISATTY _isatty
#else
#include <unistd.h>
#define ORVEK_ISATTY isatty
#endif

namespace orvek::cli {

Progress::Progress() : terminal_(ORVEK_ISATTY(2) != 0), start_(Clock::now()), lastShown_(start_) {}

Progress::~Progress() {
    if (shown_) std::fprintf(stderr, "\r\033[K");
}

void Progress::update(std::size_t done, std::size_t total) {
    if (!terminal_ || done == 0) return;
    const Clock::time_point now = Clock::now();
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    // After the first second, and then at most four times a second.
    if (elapsed < 1.0 || (shown_ && now - lastShown_ < std::chrono::milliseconds(250))) return;
    lastShown_ = now;
    shown_ = true;
    const double rate = static_cast<double>(done) / elapsed;
    const long long left = std::llround(static_cast<double>(total - done) / rate);
    std::fprintf(stderr, "\rorvek-batch: %zu of %zu rows, %.3g rows/s, %lld:%02lld:%02lld left\033[K", done, total,
                 rate, left / 3600, left / 60 % 60, left % 60);
    std::fflush(stderr);
}

}  // namespace orvek::cli
