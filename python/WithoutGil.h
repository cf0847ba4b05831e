#pragma once
// The module's calculations run without the GIL, so that threads calculate in parallel, and a
// long one on the main thread still answers Ctrl-C.
//
// The GIL is taken back in an ordinary call, never in a destructor (as pybind11's
// gil_scoped_release does): a daemon thread that comes back while the interpreter shuts down is
// ended by Python inside that call (pthread_exit), and an unwinding that leaves a noexcept
// destructor ends the whole program (std::terminate, exit status 134). Such a thread instead
// waits for the process to end, touching nothing.

#include "solver/Interruption.h"

#include <pybind11/pybind11.h>

#include <optional>
#include <utility>

namespace orvek::python {

// Notes which thread is the interpreter's main thread, the one that sees signals; called once
// when the module is imported.
void rememberMainThread();

// The GIL given up until reacquire(); on the main thread, stop() takes it for a moment, at most
// every 50 ms, to run Python's signal handlers (Ctrl-C raises KeyboardInterrupt there).
class GilReleased {
public:
    GilReleased();
    GilReleased(const GilReleased&) = delete;
    GilReleased& operator=(const GilReleased&) = delete;
    ~GilReleased() = default;

    // What the calculation asks between its blocks of work: empty off the main thread, where
    // Python runs no signal handler.
    const StopRequest& stop() const { return stop_; }

    // Takes the GIL back (once; later calls do nothing); then raises what a signal handler raised (KeyboardInterrupt), if any.
    void reacquire();

private:
    bool checkSignals();

    PyThreadState* state_ = nullptr;
    StopRequest stop_;
    bool onMainThread_ = false;
    double lastCheck_ = 0;  // seconds on the steady clock
    bool raised_ = false;
};

// Runs work(stop) without the GIL and returns what it returns; an exception of the work is
// raised with the GIL held, and KeyboardInterrupt wins over the work's own result.
template <class Work>
auto withoutGil(Work&& work) {
    GilReleased released;
    std::optional<decltype(std::forward<Work>(work)(released.stop()))> result;
    try {
        result.emplace(std::forward<Work>(work)(released.stop()));
    } catch (...) {
        released.reacquire();
        throw;
    }
    released.reacquire();
    return std::move(*result);
}

}  // namespace orvek::python
