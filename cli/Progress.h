#pragma once
// Progress of a long command on an interactive terminal: rows done, rows per second and the time
// left, on one line of standard error that is rewritten in place. Silent when standard error is
// not a terminal (a script, a log file) and during the first second.

#include <chrono>
#include <cstddef>

namespace orvek::cli {

class Progress {
public:
    Progress();
    ~Progress();  // clears the line if one was shown
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void update(std::size_t done, std::size_t total);

private:
    using Clock = std::chrono::steady_clock;
    bool terminal_;
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point lastShown_;
};

}  // namespace orvek::cli
