#pragma once
// Number texts of the program: the rounded coefficients in the window and the items of the
// result file. All conversions are locale-independent (std::to_chars); the result file's decimal
// separator is passed in explicitly.

#include "solver/ShortestText.h"

#include <string>

namespace orvek {

// `value` rounded to `decimals` places, an exact half to the even neighbour, in general decimal
// form: no trailing zeros, no point for whole values, "-" for negatives ("0.908", "-2.6", "0").
std::string roundedDisplayText(double value, int decimals);

// `value` rounded to `decimals` places, an exact half to the even neighbour, as a double.
double roundHalfEven(double value, int decimals);

// Pattern "#0.####0" of the result file: rounded half away from zero to five decimals, all five
// always written ("0.12346", "-0.01234", "0.50000").
void appendFiveDecimals(std::string& out, double value, char separator);

// Patterns "0.##" and "0.#####": rounded half away from zero to at most `decimals` places,
// trailing zeros dropped, the separator always written ("0.25", "0.1", "1.", "0.").
std::string optionalDecimals(double value, int decimals, char separator);

// A number item: " " or "-", the absolute value in plain decimal notation with at most 15
// significant digits, then one space (" 51 ", "-3.76 ", " 0.5234 ").
std::string numberItem(double value, char separator);

// The angle of attack as a number item: a whole angle as `numberItem` writes it, any other with
// the fewest digits that read back as the angle calculated (" 5 ", " 3.5 ", "-0.5 ",
// " 0.30000000000000004 ").
std::string angleItem(double value, char separator);

// Appends the shortest text that reads back as the same double, a negative zero as "0": the
// numbers of the CSV files.
void appendShortest(std::string& out, double value);

// 17 significant digits, enough for any double to read back unchanged ("0.10000000000000001",
// "1e+300"); used where a value must round-trip, such as JSON output.
std::string roundTripText(double value);

}  // namespace orvek
