#include "solver/Describe.h"

#include "solver/Solver.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvek {

namespace {

struct Branch {
    std::vector<double> x, y;  // x ascending
};

// y on a branch at station xs, by linear interpolation; `cursor` moves forward with xs.
double interpolate(const Branch& b, double xs, std::size_t& cursor) {
    while (cursor + 2 < b.x.size() && b.x[cursor + 1] < xs) ++cursor;
    const double x0 = b.x[cursor], x1 = b.x[cursor + 1];
    if (x1 == x0) return b.y[cursor];
    const double t = std::clamp((xs - x0) / (x1 - x0), 0.0, 1.0);
    return b.y[cursor] + t * (b.y[cursor + 1] - b.y[cursor]);
}

// Keeps the points whose x is strictly above the previous kept one, so the branch is a function.
Branch monotoneBranch(const std::vector<double>& x, const std::vector<double>& y, std::size_t from, std::size_t to,
                      int step) {
    Branch b;
    for (std::size_t i = from;; i = static_cast<std::size_t>(static_cast<long>(i) + step)) {
        if (b.x.empty() || x[i] > b.x.back()) {
            b.x.push_back(x[i]);
            b.y.push_back(y[i]);
        }
        if (i == to) break;
    }
    return b;
}

}  // namespace

Expected<AirfoilGeometry> describeAirfoil(double F, double G, double m) {
    SolverInput in;
    in.N1 = DescribePoints;
    in.F = F;
    in.G = G;
    in.m = m;
    in.Chord = 1.0;
    in.AlfaD = 0.0;
    Expected<SolverResult> solved = ORVEK(in);
    if (!solved) return Failure{solved.error()};
    const SurfacePoints& p = solved->points;
    const std::size_t N = p.size() - 1;
    std::vector<double> x = p.x, y = p.y;
    // Unset leading-edge entries (F = 0) are the point (0, 0) itself.
    for (std::size_t i : p.unset) x[i] = y[i] = 0.0;

    std::size_t front = 1;
    for (std::size_t i = 1; i <= N; ++i) {
        if (x[i] < x[front]) front = i;
    }
    const Branch lower = monotoneBranch(x, y, front, 1, -1);
    const Branch upper = monotoneBranch(x, y, front, N, +1);

    AirfoilGeometry g;
    const double x0 = x[front];
    const int stations = 100000;
    std::size_t cu = 0, cl = 0;
    double bestCamber = 0;
    for (int s = 0; s <= stations; ++s) {
        const double xs = x0 + (1.0 - x0) * s / stations;
        const double yu = interpolate(upper, xs, cu);
        const double yl = interpolate(lower, xs, cl);
        const double thickness = yu - yl;
        const double camber = 0.5 * (yu + yl);
        if (thickness > g.Delta) {
            g.Delta = thickness;
            g.xDltC = xs;
        }
        if (std::fabs(camber) > std::fabs(bestCamber)) bestCamber = camber;
    }
    g.Gama = bestCamber;
    if (g.Delta < NoThickness) g.Delta = g.xDltC = 0.0;

    // Trailing-edge angle between the segments from (1, 0) to the points next to it.
    const double ux = x[N - 1] - 1.0, uy = y[N - 1];
    const double lx = x[2] - 1.0, ly = y[2];
    const double cosine = (ux * lx + uy * ly) / (std::hypot(ux, uy) * std::hypot(lx, ly));
    g.Tau = std::acos(std::clamp(cosine, -1.0, 1.0)) * 180.0 / in.Pi;
    return g;
}

}  // namespace orvek
