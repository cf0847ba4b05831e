#include "solver/analysis/Design.h"

#include "solver/Constants.h"
#include "solver/NumberText.h"
#include "solver/ShortestText.h"
#include "solver/surface/Solver.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace orvek {

double leastDesignThickness(double teAngleDegrees) {
    const DesignLimits limits;
    return std::tan(teAngleDegrees * Pi / 720.0) + limits.thicknessMargin;
}

namespace {

Failure refusal(const std::string& why) { return Failure{"Cannot design: " + why + "."}; }

// Why the targets lie outside the reachable range, naming the target and the limit it breaks.
Status targetsFault(const DesignTargets& targets) {
    const DesignLimits limits;
    const double T = targets.thickness, C = targets.camber, tau = targets.teAngleDegrees;
    if (!std::isfinite(tau)) return refusal("the trailing-edge angle is not a finite number");
    if (!std::isfinite(T)) return refusal("the thickness is not a finite number");
    if (!std::isfinite(C)) return refusal("the camber is not a finite number");
    if (tau < 0.0) return refusal("the trailing-edge angle " + shortestText(tau) + " is below the least angle 0");
    if (tau > limits.teAngleDegrees) {
        return refusal("the trailing-edge angle " + shortestText(tau) + " is above the largest angle " +
                       shortestText(limits.teAngleDegrees));
    }
    if (C > limits.camber)
        return refusal("the camber " + shortestText(C) + " is above the largest camber " + shortestText(limits.camber));
    if (C < -limits.camber) {
        return refusal("the camber " + shortestText(C) + " is below the least camber " + shortestText(-limits.camber));
    }
    if (T > limits.thickness) {
        return refusal("the thickness " + shortestText(T) + " is above the largest thickness " +
                       shortestText(limits.thickness));
    }
    const double least = leastDesignThickness(tau);
    if (T < least) {
        // Shown rounded up to 4 decimals, so the value shown is itself accepted.
        char leastText[32];
        const auto written = doubleToChars(leastText, leastText + sizeof leastText, std::ceil(least * 1e4) / 1e4,
                                           std::chars_format::fixed, 4);
        return refusal("the thickness " + shortestText(T) + " is below the least thickness " +
                       std::string(leastText, written.ptr) + " for a trailing-edge angle of " + shortestText(tau) +
                       " degrees (tan(tau/4) + " + shortestText(limits.thicknessMargin) + ")");
    }
    return {};
}

// Newton's iteration on F and G (the exponent m fixed) for the target thickness and camber, the
// Jacobian by differences: the airfoil and its measurement once both agree within 1e-10, nothing
// when a measurement fails or 40 steps do not converge.
std::optional<DesignResult> newtonForThicknessAndCamber(const DesignTargets& targets, double m) {
    const double T = targets.thickness, C = targets.camber;
    // Thickness grows by about 1.2 F above the lens limit, camber by about 0.45 G.
    double F = std::max((T - std::tan(targets.teAngleDegrees * Pi / 720.0)) / 1.2, 0.005);
    // No camber is the symmetric airfoil G = 0 exactly: only F is sought then, so no residue of
    // the iteration leaves a trace of camber.
    const bool symmetric = C == 0.0;
    double G = symmetric ? 0.0 : C / 0.45;
    const double h = 1e-6;  // difference step of the Jacobian
    const double tolerance = 1e-10;
    AirfoilGeometry last;  // the geometry of the latest measurement
    const auto measure = [&](double f, double gg, double& t, double& cc) {
        Expected<AirfoilGeometry> geo = measureAirfoil({f, gg, m});
        if (!geo) return false;
        last = *geo;
        t = geo->thickness;
        cc = geo->camber;
        return true;
    };
    for (int it = 1; it <= 40; ++it) {
        double t = 0, cc = 0;
        if (!measure(F, G, t, cc)) break;
        const double rT = t - T, rC = cc - C;
        if (std::fabs(rT) <= tolerance && std::fabs(rC) <= tolerance) return DesignResult{{F, G, m}, last, it};
        double tF = 0, cF = 0, tG = 0, cG = 0;
        if (!measure(F + h, G, tF, cF)) break;
        const double a = (tF - t) / h;
        double dF = 0, dG = 0;
        if (symmetric) {
            if (a == 0.0 || !std::isfinite(a)) break;
            dF = -rT / a;
        } else {
            if (!measure(F, G + h, tG, cG)) break;
            const double b = (tG - t) / h, c = (cF - cc) / h, d = (cG - cc) / h;
            const double det = a * d - b * c;
            if (det == 0.0 || !std::isfinite(det)) break;
            dF = -(d * rT - b * rC) / det;
            dG = -(-c * rT + a * rC) / det;
        }
        // Keep F positive: halve the step until it is.
        while (F + dF < 0.25 * F) {
            dF *= 0.5;
            dG *= 0.5;
        }
        F += dF;
        G += dG;
    }
    return std::nullopt;
}

}  // namespace

Expected<DesignResult> designAirfoil(const DesignTargets& targets) {
    if (Status fault = targetsFault(targets); !fault) return Failure{fault.error()};
    // The trailing-edge angle fixes the exponent; thickness and camber then fix F and G.
    if (std::optional<DesignResult> found =
            newtonForThicknessAndCamber(targets, 2.0 - targets.teAngleDegrees / 180.0)) {
        return *found;
    }
    return refusal("no airfoil found for the thickness " + shortestText(targets.thickness) + ", camber " +
                   shortestText(targets.camber) + " and trailing-edge angle " + shortestText(targets.teAngleDegrees) +
                   " (the iteration did not converge)");
}

}  // namespace orvek
