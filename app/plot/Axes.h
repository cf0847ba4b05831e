#pragma once
// Axes for the charts: tick steps of 1, 2 or 5 times a power of ten and tick labels in the
// user's locale.

#include <QLocale>
#include <QString>

#include <vector>

namespace axes {

// The tick step for `span` so that about `target` intervals fit: 1, 2 or 5 times a power of ten.
// A span that is zero or not finite gives 1.
double niceStep(double span, int target = 5);

// The multiples of `step` from lo to hi inclusive (a rounding tolerance of a millionth of a step).
std::vector<double> ticks(double lo, double hi, double step);

// The range [lo, hi] widened outwards to whole multiples of its nice step; an empty range (lo ==
// hi) is widened around its value.
struct Range {
    double lo = 0, hi = 1, step = 1;
};
Range niceRange(double lo, double hi, int target = 5);

// A tick value as text in `locale`, with as many decimals as the step needs ("0,25" in German);
// no "-0".
QString tickLabel(double value, double step, const QLocale& locale = QLocale());

}  // namespace axes
