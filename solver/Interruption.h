#pragma once
// A long calculation's caller may want it stopped (Ctrl-C in a Python session): the calculation
// asks between its blocks of work (an angle of a polar, a streamline), never inside one, on the
// thread that started it, and then ends with the sentence Interrupted and no result.

#include <functional>

namespace orvek {

// Asked between blocks of work; true: stop now. Empty: the calculation runs to its end.
using StopRequest = std::function<bool()>;

inline constexpr const char* Interrupted = "The calculation was interrupted.";

inline bool stopRequested(const StopRequest& stop) { return stop && stop(); }

}  // namespace orvek
