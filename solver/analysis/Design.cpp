#include "solver/analysis/Design.h"

#include "solver/Constants.h"
#include "solver/ShortestText.h"
#include "solver/surface/Solver.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace orvek {

double leastDesignThickness(double teAngle) {
    const DesignLimits limits;
    return std::tan(teAngle * Pi / 720.0) + limits.thicknessMargin;
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
    out.airfoil.m = 2.0 - tau / 180.0;
    // Thickness grows by about 1.2 F above the lens limit, camber by about 0.45 G.
    double F = std::max((T - std::tan(tau * Pi / 720.0)) / 1.2, 0.005);
    double G = C / 0.45;
    const double h = 1e-6;  // difference step of the Jacobian
    const double tolerance = 1e-10;
    AirfoilGeometry last;  // the geometry of the latest measurement
    const auto measure = [&](double f, double gg, double& t, double& cc) {
        Expected<AirfoilGeometry> geo = measureAirfoil({f, gg, out.airfoil.m});
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
            out.airfoil.F = F;
            out.airfoil.G = G;
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
