#include "AirfoilTools.h"

#include "solver/ShortestText.h"
#include "solver/Solver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace airfoil {

namespace {

struct Branch {
    std::vector<double> x, y;  // x strictly ascending
};

// The set points from `from` stepping by `step` to `to`, keeping those whose x is beyond the
// last kept one, so the branch is a function of x.
Branch branch(const orvek::SurfacePoints& p, std::size_t from, std::size_t to, int step) {
    Branch b;
    for (std::size_t i = from;; i = static_cast<std::size_t>(static_cast<long>(i) + step)) {
        if (p.isSet(i) && (b.x.empty() || p.x[i] > b.x.back())) {
            b.x.push_back(p.x[i]);
            b.y.push_back(p.y[i]);
        }
        if (i == to) break;
    }
    return b;
}

double interpolate(const Branch& b, double xs, std::size_t& cursor) {
    if (b.x.size() == 1) return b.y[0];
    while (cursor + 2 < b.x.size() && b.x[cursor + 1] < xs) ++cursor;
    const double x0 = b.x[cursor], x1 = b.x[cursor + 1];
    const double t = std::clamp((xs - x0) / (x1 - x0), 0.0, 1.0);
    return b.y[cursor] + t * (b.y[cursor + 1] - b.y[cursor]);
}

constexpr double DesignPoints = 2001;

Geometry measured(double F, double G, double m, orvek::SurfacePoints& reuse, bool& ok) {
    orvek::SolverInput in;
    in.N1 = DesignPoints;
    in.F = F;
    in.G = G;
    in.m = m;
    orvek::Expected<orvek::SolverResult> r = orvek::ORVEK(in, std::move(reuse));
    ok = r.ok();
    if (!ok) return {};
    Geometry g = measure(r->points);
    reuse = std::move(r->points);
    return g;
}

std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v == 0.0 ? 0.0 : v);
    return buf;
}

}  // namespace

std::size_t leadingEdge(const orvek::SurfacePoints& p) {
    std::size_t front = 0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (p.isSet(i) && (front == 0 || p.x[i] < p.x[front])) front = i;
    }
    return front == 0 ? 1 : front;
}

Geometry measure(const orvek::SurfacePoints& p) {
    Geometry g;
    if (p.size() < 3) return g;
    const std::size_t N = p.size() - 1;
    const std::size_t front = leadingEdge(p);
    const Branch lower = branch(p, front, 1, -1);
    const Branch upper = branch(p, front, N, +1);
    if (lower.x.empty() || upper.x.empty()) return g;
    const double x0 = p.x[front], x1 = std::min(lower.x.back(), upper.x.back());
    const int stations = static_cast<int>(std::clamp<std::size_t>(N, 200, 20000));
    std::size_t cu = 0, cl = 0;
    for (int s = 0; s <= stations; ++s) {
        const double xs = x0 + (x1 - x0) * s / stations;
        const double yu = interpolate(upper, xs, cu), yl = interpolate(lower, xs, cl);
        if (yu - yl > g.Delta) {
            g.Delta = yu - yl;
            g.xDelta = xs;
        }
        const double camber = 0.5 * (yu + yl);
        if (std::fabs(camber) > std::fabs(g.Gama)) {
            g.Gama = camber;
            g.xGama = xs;
        }
    }
    if (N >= 3 && p.isSet(2) && p.isSet(N - 1)) {
        const double ux = p.x[N - 1] - p.x[N], uy = p.y[N - 1] - p.y[N];
        const double lx = p.x[2] - p.x[1], ly = p.y[2] - p.y[1];
        const double cosine = (ux * lx + uy * ly) / (std::hypot(ux, uy) * std::hypot(lx, ly));
        g.Tau = std::acos(std::clamp(cosine, -1.0, 1.0)) * 180.0 / orvek::Pi;
    }
    return g;
}

std::string polarCsv(const std::vector<orvek::SweepRow>& rows) {
    using orvek::shortestText;
    std::string out = "alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin\n";
    for (const orvek::SweepRow& r : rows) {
        out += shortestText(r.alpha) + ',' + shortestText(r.CL) + ',' + shortestText(r.CMc4) + ',' +
               shortestText(r.Alfa0) + ',' + shortestText(r.CpMin) + ',' + shortestText(r.xCpMin) + ',' +
               orvek::surfaceName(r.surface) + '\n';
    }
    return out;
}

double leastThickness(double teAngle) { return std::tan(teAngle / 4.0 * orvek::Pi / 180.0); }

orvek::Expected<Design> design(double thickness, double camber, double teAngle) {
    using orvek::shortestText;
    constexpr double Margin = 0.01;
    if (!std::isfinite(teAngle) || teAngle < 0 || teAngle > 30) {
        return orvek::Failure{"Trailing-edge angle " + shortestText(teAngle) + "° is outside 0° to 30°."};
    }
    if (!std::isfinite(camber) || std::fabs(camber) > 0.10) {
        return orvek::Failure{"Camber " + shortestText(camber) + " is outside -0.1 to 0.1."};
    }
    const double least = leastThickness(teAngle) + Margin;
    if (!std::isfinite(thickness) || thickness > 0.30) {
        return orvek::Failure{"Thickness " + shortestText(thickness) + " is above 0.3."};
    }
    if (thickness < least) {
        return orvek::Failure{"Thickness " + shortestText(thickness) + " is below " + fixed(least, 4) +
                              ", the least for a trailing-edge angle of " + shortestText(teAngle) + "°."};
    }

    Design d;
    d.m = 2.0 - teAngle / 180.0;
    // Start from the Joukowsky rules of thumb: thickness about 1.2 F beyond the corner's lens,
    // camber about G / 2.2.
    double F = std::max(0.002, (thickness - leastThickness(teAngle)) / 1.2), G = 2.2 * camber;
    orvek::SurfacePoints reuse;
    bool ok = false;
    for (int iteration = 0; iteration < 30; ++iteration) {
        const Geometry g = measured(F, G, d.m, reuse, ok);
        if (!ok) break;
        const double rt = g.Delta - thickness, rc = g.Gama - camber;
        if (std::fabs(rt) < 1e-6 && std::fabs(rc) < 1e-6) {
            d.F = F;
            d.G = G;
            d.reached = g;
            return d;
        }
        const double h = 1e-5;
        const Geometry gF = measured(F + h, G, d.m, reuse, ok);
        if (!ok) break;
        const Geometry gG = measured(F, G + h, d.m, reuse, ok);
        if (!ok) break;
        const double a = (gF.Delta - g.Delta) / h, b = (gG.Delta - g.Delta) / h;
        const double c = (gF.Gama - g.Gama) / h, e = (gG.Gama - g.Gama) / h;
        const double det = a * e - b * c;
        if (!std::isfinite(det) || det == 0.0) break;
        double dF = (e * rt - b * rc) / det, dG = (a * rc - c * rt) / det;
        // Keep the step modest and F positive, so the iteration stays among real airfoils.
        const double scale = std::min(1.0, 0.05 / std::max(std::fabs(dF), std::fabs(dG)));
        dF *= scale;
        dG *= scale;
        F = std::max(F - dF, 0.5 * F);
        G -= dG;
    }
    return orvek::Failure{"No airfoil with thickness " + shortestText(thickness) + ", camber " + shortestText(camber) +
                          " and trailing-edge angle " + shortestText(teAngle) + "° was found."};
}

}  // namespace airfoil
