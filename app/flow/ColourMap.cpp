#include "flow/ColourMap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Viridis at eleven even steps; between them the colour is interpolated linearly.
constexpr std::array<std::array<int, 3>, 11> Steps = {{{68, 1, 84},
                                                       {72, 36, 117},
                                                       {65, 68, 135},
                                                       {53, 95, 141},
                                                       {42, 120, 142},
                                                       {33, 145, 140},
                                                       {34, 168, 132},
                                                       {68, 191, 112},
                                                       {122, 209, 81},
                                                       {189, 223, 38},
                                                       {253, 231, 37}}};

// 1024 colours, so a pixel's colour costs one look-up.
struct Table {
    std::array<QRgb, ViridisSize> rgb{};
    Table() {
        for (std::size_t k = 0; k < rgb.size(); ++k) {
            const double s =
                static_cast<double>(k) / static_cast<double>(rgb.size() - 1) * static_cast<double>(Steps.size() - 1);
            const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(s), Steps.size() - 2);
            const double f = s - static_cast<double>(i);
            int c[3];
            for (int j = 0; j < 3; ++j) {
                const auto jj = static_cast<std::size_t>(j);
                c[j] = static_cast<int>(std::lround(Steps[i][jj] + f * (Steps[i + 1][jj] - Steps[i][jj])));
            }
            rgb[k] = qRgb(c[0], c[1], c[2]);
        }
    }
};

const Table& table() {
    static const Table t;
    return t;
}

}  // namespace

const QRgb* viridisTable() { return table().rgb.data(); }

QRgb viridis(double t) {
    const Table& table = ::table();
    const double clamped = std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
    return table.rgb[static_cast<std::size_t>(std::lround(clamped * static_cast<double>(table.rgb.size() - 1)))];
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
