#include "plot/Axes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace axes {

double niceStep(double span, int target) {
    span = std::fabs(span);
    if (!(span > 0) || !std::isfinite(span) || target < 1) return 1.0;
    const double raw = span / target;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / power;
    const double nice = fraction < 1.5 ? 1.0 : fraction < 3.5 ? 2.0 : fraction < 7.5 ? 5.0 : 10.0;
    return nice * power;
}

std::vector<double> ticks(double lo, double hi, double step) {
    std::vector<double> out;
    if (!(step > 0) || !std::isfinite(lo) || !std::isfinite(hi) || hi < lo) return out;
    const double tolerance = step * 1e-6;
    const double first = std::ceil((lo - tolerance) / step);
    const double last = std::floor((hi + tolerance) / step);
    if (last - first > 1000) return out;  // a step far too small for the range: draw no ticks
    for (double k = first; k <= last; ++k) {
        const double v = k * step;
        out.push_back(std::fabs(v) < tolerance ? 0.0 : v);
    }
    return out;
}

Range niceRange(double lo, double hi, int target) {
    if (!std::isfinite(lo) || !std::isfinite(hi)) return Range{};
    if (hi < lo) std::swap(lo, hi);
    if (hi == lo) {
        const double pad = lo == 0 ? 1.0 : std::fabs(lo) * 0.1;
        lo -= pad;
        hi += pad;
    }
    const double step = niceStep(hi - lo, target);
    return Range{std::floor(lo / step + 1e-9) * step, std::ceil(hi / step - 1e-9) * step, step};
}

QString tickLabel(double value, double step, const QLocale& locale) {
    int decimals = 0;
    if (step > 0 && std::isfinite(step)) {
        decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
        // Steps of 2 or 5 times a power of ten are whole in that power; 0.25 would need one more.
        const double scaled = step * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) > 1e-6) ++decimals;
    }
    if (std::fabs(value) < step * 1e-6) value = 0.0;
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(value, 'f', std::min(decimals, 12));
}

}  // namespace axes
