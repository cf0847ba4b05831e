#pragma once
// The shortest text that reads back as the same double ("0.1", "2", "1e+300"), locale-independent:
// how the solver's messages quote an offending value.

#include "solver/NumberText.h"

#include <charconv>
#include <string>
#include <system_error>

namespace orvek {

inline std::string shortestText(double value) {
    char buf[64];
    auto [end, ec] = doubleToChars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

}  // namespace orvek
