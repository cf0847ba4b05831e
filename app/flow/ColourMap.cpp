#include "flow/ColourMap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// The core's table as Qt's colours, so a pixel's colour costs one look-up.
struct Table {
    std::array<QRgb, orvek::ViridisSize> rgb{};
    Table() {
        const auto& core = orvek::viridisTable();
        for (std::size_t k = 0; k < rgb.size(); ++k) rgb[k] = qRgb(core[k][0], core[k][1], core[k][2]);
    }
};

const Table& table() {
    static const Table t;
    return t;
}

}  // namespace

const QRgb* viridisTable() { return table().rgb.data(); }

QRgb viridis(double t) {
    const orvek::Rgb c = orvek::viridis(t);
    return qRgb(c[0], c[1], c[2]);
}

CpScale CpScale::fittedTo(const double* cp, std::size_t count) {
    std::vector<double> finite;
    finite.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        if (std::isfinite(cp[k])) finite.push_back(cp[k]);
    }
    if (finite.empty()) return {};
    const auto low = finite.begin() + static_cast<std::ptrdiff_t>(finite.size() / 200);
    std::nth_element(finite.begin(), low, finite.end());
    CpScale s;
    s.fitted = true;
    s.lo = *low;
    s.hi = *std::max_element(finite.begin(), finite.end());
    if (s.hi - s.lo < 0.05) {
        const double middle = 0.5 * (s.hi + s.lo);
        s.lo = middle - 0.025;
        s.hi = middle + 0.025;
    }
    return s;
}
