#include "solver/analysis/PressureMinimum.h"

#include "solver/Constants.h"
#include "solver/analysis/GoldenSection.h"

#include <algorithm>
#include <cmath>

namespace orvek {

namespace {

// Fewer points than this are joined by a fixed ring of as many angles when the peak is looked for.
constexpr double RingAngles = 256;
// The step of the slope's differences, radians: the fourth-order difference's own error (h^4) and
// its rounding (1e-16 / h) both stay far below 1e-10 of an angle there.
constexpr double SlopeStep = 1e-4;

// The slope of f at t, by the fourth-order central difference (its sign is all that is used).
template <typename Fn>
double slope(Fn f, double t) {
    const double h = SlopeStep;
    return 8.0 * (f(t + h) - f(t - h)) - (f(t + 2.0 * h) - f(t - 2.0 * h));
}

// The largest value of f near t0, where it has one maximum within `reach` either side: golden
// sections narrow the interval to a thousandth of a radian, then the zero of the slope is found by
// regula falsi (the Illinois change). Returns the angle.
template <typename Fn>
double peakNear(Fn f, double t0, double reach) {
    const GoldenBracket g =
        goldenMinimum([&](double t) { return -f(t); }, t0 - reach, t0 + reach, GoldenStop::narrowerThan(1e-3));
    double a = g.a, b = g.b;
    const double best = g.best();
    double sa = slope(f, a), sb = slope(f, b);
    if (!(sa > 0.0 && sb < 0.0)) return best;  // the peak is not inside: keep the sectioned one
    int side = 0;
    for (int it = 0; it < 100 && b - a > 1e-14; ++it) {
        const double t = (a * sb - b * sa) / (sb - sa);
        const double st = slope(f, t);
        if (st == 0.0 || !std::isfinite(st)) return t;
        if (st > 0.0) {
            a = t;
            sa = st;
            if (side == -1) sb *= 0.5;
            side = -1;
        } else {
            b = t;
            sb = st;
            if (side == 1) sa *= 0.5;
            side = 1;
        }
    }
    return 0.5 * (a + b);
}

}  // namespace

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

Expected<PressureMinimum> surfacePressureMinimum(const SolverInput& in, const SolverResult& result) {
    Expected<PressureMinimum> sampled = pressureMinimum(result.points, in.Chord);
    if (!sampled || in.airfoil.F == 0.0) return sampled;
    const std::size_t N = result.points.size() - 1;
    if (N < 3) return sampled;
    const double dTheta = 2.0 * Pi / (in.N1 - 1.0);
    const auto at = [&](double t) { return surfacePointAt(in, result.k, t); };
    const auto cu = [&](double t) {
        const double v = at(t).Cu;
        return std::isfinite(v) ? v : -1.0;
    };
    // The angle of the best point, as the loop over the circle forms it, and how far its
    // neighbours lie.
    const std::size_t i = sampled->index;
    double t0 = 2 * i >= N + 1 ? static_cast<double>(N - i) * dTheta : -static_cast<double>(i - 1) * dTheta;
    double reach = dTheta;
    double peak = 1.0 - sampled->CpMin;
    if (in.N1 <= RingAngles) {
        const double ring = 2.0 * Pi / RingAngles;
        for (double j = 1; j < RingAngles; ++j) {
            const double t = j * ring;
            const double v = cu(t);
            // Clearly larger only: of two equal peaks (a symmetric airfoil at zero incidence) the
            // upper one, met first, stays.
            if (v > peak * (1.0 + 1e-12)) {
                peak = v;
                t0 = t;
                reach = ring;
            }
        }
    }
    const double t = peakNear(cu, t0, reach);
    const SurfaceValue v = at(t);
    if (!(std::isfinite(v.x) && std::isfinite(v.y) && v.Cu >= peak * (1.0 - 1e-12))) return sampled;
    PressureMinimum pm;
    pm.CpMin = 1.0 - v.Cu;
    pm.xCpMin = v.x / in.Chord;
    pm.y = v.y;
    // The side by the angle, brought into (-pi, pi]: positive is the upper surface, pi the nose.
    const double turned = std::remainder(t, 2.0 * Pi);
    pm.surface = turned > 0.0 || turned == Pi || turned == -Pi ? Surface::Upper : Surface::Lower;
    const double steps = std::round(std::fabs(turned) / dTheta);
    const double nearest = turned > 0.0 ? static_cast<double>(N) - steps : 1.0 + steps;
    pm.index = static_cast<std::size_t>(std::clamp(nearest, 1.0, static_cast<double>(N)));
    return pm;
}

}  // namespace orvek
