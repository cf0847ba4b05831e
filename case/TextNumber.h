#pragma once
// The numeric value of what the user typed into the point-count and angle fields.

#include <optional>
#include <string>
#include <string_view>

namespace orvek {

// Blanks, tabs and line feeds are removed wherever they stand; then the longest leading decimal
// number is taken (sign, digits with at most one point, exponent E or D). A comma ends the number,
// whatever follows is ignored, and a text that does not begin with a number gives 0. The point is
// the decimal separator in every locale. A carriage return is kept, so it ends the number. The
// value is exact however many digits the number has; one beyond the range of a double becomes an
// infinity, one below it 0.
double textNumber(std::string_view text);

// The value of a number typed into a window's box: blanks, tabs and line feeds removed, a point
// or a comma as decimal separator, the exponent letters E and D; the whole of what remains must be
// one number ("5,5" and "5.5" give 5.5, "2D1" gives 20). Nothing when it is not, or when nothing
// remains ("5abc", "1,2,3", ""). A text textNumber reads whole gives the same value here.
std::optional<double> typedNumber(std::string_view text);

// The text with its blanks, tabs and line feeds removed: what textNumber reads.
std::string packedNumberText(std::string_view text);

}  // namespace orvek
