#include "solver/analysis/Describe.h"

#include "solver/Constants.h"
#include "solver/analysis/GoldenSection.h"
#include "solver/ShortestText.h"
#include "solver/surface/Solver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace orvek {

namespace {

// The airfoil's contour as a function of the polar angle t of the ray from the origin of the
// circle plane: the same mapping as the solver's surface points (chord 1, trailing edge at t = 0
// and x = 1), at any angle. t in (0, pi) is the upper surface, t in (pi, 2 pi) the lower one.
class Contour {
public:
    explicit Contour(const Airfoil& a) : F_(a.F), G_(a.G), m_(a.m), onePlus2F_(1.0 + 2.0 * a.F) {
        mb_ = a.m * a.mappingScale();
        shift_ = mb_ - 1.0;
    }

    void point(double t, double& x, double& y) const {
        const double sinT = std::sin(t), cosT = std::cos(t);
        const double p = -F_ * cosT + G_ * sinT;
        const double r = p + std::sqrt(onePlus2F_ + p * p);
        const double rr = 1.0 + r * r, twoRCos = 2.0 * r * cosT;
        const double rho2 = (rr - twoRCos) / (rr + twoRCos);
        const double phi = std::atan2(2.0 * r * sinT, r * r - 1.0);
        const double rhoM = std::pow(rho2, 0.5 * m_);
        const double D = (1.0 + rhoM * rhoM) - 2.0 * rhoM * std::cos(m_ * phi);
        x = mb_ * (1.0 - rhoM * rhoM) / D - shift_;
        y = 2.0 * mb_ * rhoM * std::sin(m_ * phi) / D;
        // Only the critical point zeta = -1, on the circle when F = 0, gives no finite value: it
        // maps to the leading edge.
        if (!std::isfinite(x) || !std::isfinite(y)) x = y = 0.0;
    }
    double x(double t) const {
        double px = 0, py = 0;
        point(t, px, py);
        return px;
    }

private:
    double F_, G_, m_, onePlus2F_, mb_ = 0, shift_ = 0;
};

// One surface from the foremost point to the trailing edge, sampled coarsely: the samples bracket
// the polar angle of any station, which a root finder then pins down on the exact contour.
struct Branch {
    std::vector<double> t, x, y;  // x ascending from the foremost point to 1
};

constexpr int BranchSamples = 160;
constexpr int Stations = 160;

Branch sampleBranch(const Contour& c, double tFront, double tEnd) {
    Branch b;
    b.t.resize(BranchSamples + 1);
    b.x.resize(BranchSamples + 1);
    b.y.resize(BranchSamples + 1);
    for (int k = 0; k <= BranchSamples; ++k) {
        const auto i = static_cast<std::size_t>(k);
        b.t[i] = tFront + (tEnd - tFront) * static_cast<double>(k) / BranchSamples;
        c.point(b.t[i], b.x[i], b.y[i]);
    }
    return b;
}

// The segment of samples that holds station xs (clamped to the branch).
std::size_t segmentOf(const Branch& b, double xs) {
    const auto it = std::upper_bound(b.x.begin(), b.x.end(), xs);
    const auto k = static_cast<std::size_t>(std::max<std::ptrdiff_t>(it - b.x.begin() - 1, 0));
    return std::min(k, b.x.size() - 2);
}

double interpolated(const Branch& b, double xs) {
    const std::size_t k = segmentOf(b, xs);
    const double w = std::clamp((xs - b.x[k]) / (b.x[k + 1] - b.x[k]), 0.0, 1.0);
    return b.y[k] + w * (b.y[k + 1] - b.y[k]);
}

// y of the exact contour at station xs: the polar angle between the bracketing samples where x
// equals xs, by regula falsi with the Illinois change.
double exactY(const Contour& c, const Branch& b, double xs) {
    const std::size_t k = segmentOf(b, xs);
    double t0 = b.t[k], t1 = b.t[k + 1];
    double f0 = b.x[k] - xs, f1 = b.x[k + 1] - xs;
    double px = 0, py = 0;
    if (f0 >= 0.0) return b.y[k];
    if (f1 <= 0.0) return b.y[k + 1];
    int side = 0;
    for (int it = 0; it < 100; ++it) {
        const double t = (t0 * f1 - t1 * f0) / (f1 - f0);
        c.point(t, px, py);
        const double f = px - xs;
        if (f == 0.0 || std::fabs(t1 - t0) < 1e-15) return py;
        if ((f < 0.0) == (f0 < 0.0)) {
            t0 = t;
            f0 = f;
            if (side == -1) f1 *= 0.5;
            side = -1;
        } else {
            t1 = t;
            f1 = f;
            if (side == 1) f0 *= 0.5;
            side = 1;
        }
        if (std::fabs(f) < 1e-16) return py;
    }
    return py;
}

// Thickness and camber at a station, from the exact contour.
struct Section {
    double thickness = 0, camber = 0;
};

}  // namespace

Expected<AirfoilGeometry> measureAirfoil(const Airfoil& a) {
    if (Status simple = checkSimpleAirfoil(a); !simple) return Failure{simple.error()};
    const Contour c(a);
    // The foremost point: the image of zeta = -1 when the circle passes through it (F = 0), else
    // the least x of the contour, which lies on the circle's far side.
    const double tFront =
        a.F == 0.0 ? Pi
                   : goldenMinimum([&](double t) { return c.x(t); }, 0.5 * Pi, 1.5 * Pi, GoldenStop::after(60)).best();
    const Branch upper = sampleBranch(c, tFront, 0.0);
    const Branch lower = sampleBranch(c, tFront, 2.0 * Pi);
    const double x0 = upper.x.front();

    const auto station = [&](int s) { return x0 + (1.0 - x0) * static_cast<double>(s) / Stations; };
    int bestT = 0, bestC = 0;
    double coarseT = -1.0, coarseC = -1.0;
    for (int s = 0; s <= Stations; ++s) {
        const double xs = station(s);
        const double yu = interpolated(upper, xs), yl = interpolated(lower, xs);
        if (yu - yl > coarseT) {
            coarseT = yu - yl;
            bestT = s;
        }
        // The camber line starts at the foremost point at height 0; what is found there is the
        // uncertainty of locating that point (about 1e-9), which would outweigh the camber of a
        // nearly symmetric airfoil and make the measured camber jump as G passes a few 1e-9.
        if (s > 0 && std::fabs(yu + yl) > coarseC) {
            coarseC = std::fabs(yu + yl);
            bestC = s;
        }
    }
    const auto section = [&](double xs) {
        const double yu = exactY(c, upper, xs), yl = exactY(c, lower, xs);
        return Section{yu - yl, 0.5 * (yu + yl)};
    };
    // The maxima on the exact contour, within two stations of the coarse ones.
    const auto refine = [&](int s, auto value) {
        const double lo = station(std::max(s - 2, 0)), hi = station(std::min(s + 2, Stations));
        return goldenMinimum([&](double xs) { return -value(section(xs)); }, lo, hi, GoldenStop::after(40)).best();
    };
    AirfoilGeometry g;
    const double xT = refine(bestT, [](const Section& q) { return q.thickness; });
    g.thickness = section(xT).thickness;
    g.thicknessPosition = xT;
    const double xC = refine(bestC, [](const Section& q) { return std::fabs(q.camber); });
    g.camber = section(xC).camber;
    g.camberPosition = std::fabs(g.camber) < NoThickness ? 0.0 : xC;  // no place for a camber of rounding noise
    if (g.thickness < NoThickness) g.thickness = g.thicknessPosition = 0.0;
    // A Karman-Trefftz trailing edge is a corner of (2 - m) * 180 degrees; m = 2 is a cusp.
    g.teAngleDegrees = std::fabs(2.0 - a.m) * 180.0;
    return g;
}

}  // namespace orvek
