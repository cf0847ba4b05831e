#pragma once
// Doubles to text and back, locale-independent, with the results of std::to_chars and
// std::from_chars. Every conversion of the core goes through these: where the C++ library has the
// floating-point overloads they are used, elsewhere (the WebAssembly build's library) the same
// text comes from the C library's correctly rounded printf and strtod, read and written with a
// point whatever the locale. `portable` holds that second way in every build, so the tests can
// hold it against the library's.

#include <charconv>

namespace orvek {

// std::to_chars(first, last, value): the shortest text that reads back as the value, fixed or
// scientific notation, whichever is shorter (fixed on a tie).
std::to_chars_result doubleToChars(char* first, char* last, double value);
// std::to_chars(first, last, value, std::chars_format::scientific): the shortest digits that read
// back as the value, in scientific notation ("1.5e-07").
std::to_chars_result shortestScientificToChars(char* first, char* last, double value);
// std::to_chars(first, last, value, format, precision): fixed or scientific with `precision`
// decimals, or general with `precision` significant digits, from the exact binary value.
std::to_chars_result doubleToChars(char* first, char* last, double value, std::chars_format format, int precision);
// std::from_chars(first, last, value) in the general format: an optional minus, digits with an
// optional point, an optional exponent; "inf", "infinity" and "nan" in any case. A value beyond
// the doubles (or one that underflows to zero) is result_out_of_range, and `value` is left as it was.
std::from_chars_result charsToDouble(const char* first, const char* last, double& value);

namespace portable {
std::to_chars_result doubleToChars(char* first, char* last, double value);
std::to_chars_result shortestScientificToChars(char* first, char* last, double value);
std::to_chars_result doubleToChars(char* first, char* last, double value, std::chars_format format, int precision);
std::from_chars_result charsToDouble(const char* first, const char* last, double& value);
}  // namespace portable

}  // namespace orvek
