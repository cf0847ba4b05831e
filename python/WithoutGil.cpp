#include "python/WithoutGil.h"

#include <chrono>
#include <thread>
#include <utility>

namespace orvek::python {

namespace {

// How often a calculation on the main thread lets Python look at its signals: well within the
// half second a Ctrl-C may take, and rare enough that taking the GIL costs nothing measurable.
constexpr double SignalInterval = 0.05;  // seconds

unsigned long mainThread = 0;  // Python's identifier of the interpreter's main thread

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool interpreterFinalizing() {
#if PY_VERSION_HEX >= 0x030D0000
    return Py_IsFinalizing() != 0;
#else
    return _Py_IsFinalizing() != 0;
#endif
}

}  // namespace

void rememberMainThread() {
    mainThread = pybind11::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
}

GilReleased::GilReleased() {
    // Python delivers signals to the main thread alone; elsewhere nothing is asked.
    onMainThread_ = PyThread_get_thread_ident() == mainThread;
    if (onMainThread_) {
        lastCheck_ = steadySeconds();
        stop_ = [this] { return checkSignals(); };
    }
    state_ = PyEval_SaveThread();
}

bool GilReleased::checkSignals() {
    if (raised_) return true;
    const double now = steadySeconds();
    if (now - lastCheck_ < SignalInterval) return false;
    lastCheck_ = now;
    // The main thread: the interpreter never ends it while it shuts down (it does the shutting).
    PyEval_RestoreThread(state_);
    raised_ = PyErr_CheckSignals() != 0;  // the exception waits in the thread's error indicator
    state_ = PyEval_SaveThread();
    return raised_;
}

void GilReleased::reacquire() {
    if (state_ == nullptr) return;
    // Once the interpreter shuts down, Python would end any other thread inside
    // PyEval_RestoreThread; such a thread waits here instead, holding no Python object, until the
    // process ends. The main thread shuts the interpreter down and goes on (a __del__ at exit).
    while (!onMainThread_ && interpreterFinalizing()) std::this_thread::sleep_for(std::chrono::seconds(1));
    PyEval_RestoreThread(std::exchange(state_, nullptr));
    if (raised_) throw pybind11::error_already_set();
}

}  // namespace orvek::python
