#include "solver/analysis/PressureMinimum.h"

#include <cmath>

namespace orvek {

const char* surfaceName(Surface s) { return s == Surface::Upper ? "upper" : "lower"; }

Surface surfaceOfPoint(std::size_t i, std::size_t NP) { return 2 * i >= NP + 1 ? Surface::Upper : Surface::Lower; }

Expected<PressureMinimum> pressureMinimum(const SurfacePoints& points, double chord) {
    if (!(chord > 0.0) || !std::isfinite(chord)) return Failure{"the chord must be a positive number"};
    const std::size_t N = points.size() == 0 ? 0 : points.size() - 1;
    // From index NP down to 1: the upper surface comes first, and only a strictly larger value on
    // the lower surface takes the place.
    std::size_t best = 0;
    std::size_t nextUnset = points.unset.size();  // walks `unset` backwards with i
    for (std::size_t i = N; i >= 1; --i) {
        while (nextUnset > 0 && points.unset[nextUnset - 1] > i) --nextUnset;
        const bool isUnset = nextUnset > 0 && points.unset[nextUnset - 1] == i;
        if (!isUnset && (best == 0 || points.Cu[i] > points.Cu[best])) best = i;
    }
    if (best == 0) return Failure{"the surface has no points"};
    PressureMinimum pm;
    pm.CpMin = 1.0 - points.Cu[best];
    pm.xCpMin = points.x[best] / chord;
    pm.y = points.y[best];
    pm.index = best;
    pm.surface = surfaceOfPoint(best, N);
    return pm;
}

}  // namespace orvek
