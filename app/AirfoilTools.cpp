#include "AirfoilTools.h"

#include "solver/Constants.h"

#include <algorithm>
#include <cmath>

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

}  // namespace airfoil
