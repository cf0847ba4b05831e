#pragma once
// Decimal numbers written with a point, whatever the locale: optional sign, digits with at most
// one point, optional exponent. Shared by the catalogue reader and the text-number reader.

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvek {

struct DecimalPrefix {
    std::size_t length = 0;  // characters taken; 0 when the text does not begin with a number
    double value = 0.0;      // out-of-range values become +-infinity or 0, never undefined
};

// The longest leading part of `text` that forms a decimal number. `exponentLetters` lists the
// letters that start an exponent (for instance "Ee" or "EeDd").
DecimalPrefix readDecimalPrefix(std::string_view text, std::string_view exponentLetters);

// The value of `text` when the whole of it is one decimal number (exponent letter E or e).
std::optional<double> parseWholeDecimal(std::string_view text);

}  // namespace orvek
