#include "solver/Design.h"

#include "solver/Constants.h"
#include "solver/ShortestText.h"
#include "solver/Solver.h"

#include <algorithm>
#include <charconv>
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
    Contour(double F, double G, double m) : F_(F), G_(G), m_(m), onePlus2F_(1.0 + 2.0 * F) {
        const double b = (1.0 / (2.0 * m)) * (1.0 - std::pow(F / (1.0 + F), m));
        mb_ = m * b;
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
    }
    double x(double t) const {
        double px = 0, py = 0;
        point(t, px, py);
        return px;
    }

private:
    double F_, G_, m_, onePlus2F_, mb_ = 0, shift_ = 0;
};

constexpr double GoldenRatio = 0.6180339887498949;

// The least of a function with one minimum in [a, b], by golden sections.
template <typename Fn>
double goldenMinimum(Fn f, double a, double b, int iterations) {
    double c = b - GoldenRatio * (b - a), d = a + GoldenRatio * (b - a);
    double fc = f(c), fd = f(d);
    for (int k = 0; k < iterations; ++k) {
        if (fc < fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - GoldenRatio * (b - a);
            fc = f(c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + GoldenRatio * (b - a);
            fd = f(d);
        }
    }
    return fc < fd ? c : d;
}

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

double leastDesignThickness(double teAngle) {
    const DesignLimits limits;
    return std::tan(teAngle * Pi / 720.0) + limits.thicknessMargin;
}

Expected<AirfoilGeometry> contourGeometry(double F, double G, double m) {
    SolverInput in;
    in.F = F;
    in.G = G;
    in.m = m;
    if (Status fault = inputFault(in); !fault) return Failure{fault.error()};
    if (!(F > 0.0)) return Failure{"Cannot measure along the contour: F must be above 0, not " + shortestText(F) + "."};
    const Contour c(F, G, m);
    const double tFront = goldenMinimum([&](double t) { return c.x(t); }, 0.5 * Pi, 1.5 * Pi, 60);
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
        if (std::fabs(yu + yl) > coarseC) {
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
        const double a = station(std::max(s - 2, 0)), b = station(std::min(s + 2, Stations));
        return goldenMinimum([&](double xs) { return -value(section(xs)); }, a, b, 40);
    };
    AirfoilGeometry g;
    const double xT = refine(bestT, [](const Section& q) { return q.thickness; });
    g.Delta = section(xT).thickness;
    g.xDltC = xT;
    const double xC = refine(bestC, [](const Section& q) { return std::fabs(q.camber); });
    g.Gama = section(xC).camber;
    if (g.Delta < NoThickness) g.Delta = g.xDltC = 0.0;
    g.Tau = std::fabs(2.0 - m) * 180.0;
    return g;
}

Expected<DesignResult> designAirfoil(const DesignTargets& targets) {
    const DesignLimits limits;
    const double T = targets.thickness, C = targets.camber, tau = targets.teAngle;
    const auto refuse = [](const std::string& why) { return Failure{"Cannot design: " + why + "."}; };
    if (!std::isfinite(tau)) return refuse("the trailing-edge angle is not a finite number");
    if (!std::isfinite(T)) return refuse("the thickness is not a finite number");
    if (!std::isfinite(C)) return refuse("the camber is not a finite number");
    if (tau < 0.0) return refuse("the trailing-edge angle " + shortestText(tau) + " is below the least angle 0");
    if (tau > limits.teAngle) {
        return refuse("the trailing-edge angle " + shortestText(tau) + " is above the largest angle " +
                      shortestText(limits.teAngle));
    }
    if (C > limits.camber)
        return refuse("the camber " + shortestText(C) + " is above the largest camber " + shortestText(limits.camber));
    if (C < -limits.camber) {
        return refuse("the camber " + shortestText(C) + " is below the least camber " + shortestText(-limits.camber));
    }
    if (T > limits.thickness) {
        return refuse("the thickness " + shortestText(T) + " is above the largest thickness " +
                      shortestText(limits.thickness));
    }
    const double least = leastDesignThickness(tau);
    if (T < least) {
        // Shown rounded up to 4 decimals, so the value shown is itself accepted.
        char leastText[32];
        const auto written = std::to_chars(leastText, leastText + sizeof leastText, std::ceil(least * 1e4) / 1e4,
                                           std::chars_format::fixed, 4);
        return refuse("the thickness " + shortestText(T) + " is below the least thickness " +
                      std::string(leastText, written.ptr) + " for a trailing-edge angle of " + shortestText(tau) +
                      " degrees (tan(tau/4) + " + shortestText(limits.thicknessMargin) + ")");
    }

    DesignResult out;
    out.m = 2.0 - tau / 180.0;
    // Thickness grows by about 1.2 F above the lens limit, camber by about 0.45 G.
    double F = std::max((T - std::tan(tau * Pi / 720.0)) / 1.2, 0.005);
    double G = C / 0.45;
    const double h = 1e-6;  // difference step of the Jacobian
    const double tolerance = 1e-10;
    AirfoilGeometry last;  // the geometry of the latest measurement
    const auto measure = [&](double f, double gg, double& t, double& cc) {
        Expected<AirfoilGeometry> geo = contourGeometry(f, gg, out.m);
        if (!geo) return false;
        last = *geo;
        t = geo->Delta;
        cc = geo->Gama;
        return true;
    };
    for (int it = 1; it <= 40; ++it) {
        double t = 0, cc = 0;
        if (!measure(F, G, t, cc)) break;
        const double rT = t - T, rC = cc - C;
        if (std::fabs(rT) <= tolerance && std::fabs(rC) <= tolerance) {
            out.F = F;
            out.G = G;
            out.iterations = it;
            out.reached = last;
            return out;
        }
        double tF = 0, cF = 0, tG = 0, cG = 0;
        if (!measure(F + h, G, tF, cF) || !measure(F, G + h, tG, cG)) break;
        const double a = (tF - t) / h, b = (tG - t) / h, c = (cF - cc) / h, d = (cG - cc) / h;
        const double det = a * d - b * c;
        if (det == 0.0 || !std::isfinite(det)) break;
        double dF = -(d * rT - b * rC) / det;
        double dG = -(-c * rT + a * rC) / det;
        // Keep F positive: halve the step until it is.
        while (F + dF < 0.25 * F) {
            dF *= 0.5;
            dG *= 0.5;
        }
        F += dF;
        G += dG;
    }
    return refuse("no airfoil found for the thickness " + shortestText(T) + ", camber " + shortestText(C) +
                  " and trailing-edge angle " + shortestText(tau) + " (the iteration did not converge)");
}

}  // namespace orvek
