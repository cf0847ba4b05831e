#include "export/CpColours.h"

#include <algorithm>
#include <cmath>

namespace orvek {
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

std::array<Rgb, ViridisSize> makeTable() {
    std::array<Rgb, ViridisSize> table{};
    for (std::size_t k = 0; k < table.size(); ++k) {
        const double s = static_cast<double>(k) / static_cast<double>(table.size() - 1) * static_cast<double>(Steps.size() - 1);
        const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(s), Steps.size() - 2);
        const double f = s - static_cast<double>(i);
        for (std::size_t j = 0; j < 3; ++j) {
            table[k][j] = static_cast<std::uint8_t>(std::lround(Steps[i][j] + f * (Steps[i + 1][j] - Steps[i][j])));
        }
    }
    return table;
}

}  // namespace

const std::array<Rgb, ViridisSize>& viridisTable() {
    static const std::array<Rgb, ViridisSize> table = makeTable();
    return table;
}

Rgb viridis(double t) {
    const double clamped = std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
    return viridisTable()[static_cast<std::size_t>(std::lround(clamped * static_cast<double>(ViridisSize - 1)))];
}

}  // namespace orvek
