#pragma once
// The numeric value of what the user typed into the point-count and angle fields.

#include <string_view>

namespace orvek {

// Blanks, tabs and line ends are removed wherever they stand; then the longest leading decimal
// number is taken (sign, digits with at most one point, exponent E or D). A comma ends the number,
// whatever follows is ignored, and a text that does not begin with a number gives 0. The point is
// the decimal separator in every locale. A value beyond the range of a double becomes an infinity.
double textNumber(std::string_view text);

}  // namespace orvek
