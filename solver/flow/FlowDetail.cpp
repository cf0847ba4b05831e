#include "solver/flow/FlowDetail.h"

#include "solver/Constants.h"

#include <algorithm>
#include <cmath>

namespace orvek {

namespace {

// Pieces a segment is cut into at most: a view deeper than this per segment gains nothing visible.
constexpr int MostPieces = 4096;

// Whether the segment a-b comes within its own length of the box: only those are refined.
bool nearBox(FlowPoint a, FlowPoint b, double length, const Extent& box) {
    return std::max(a.x, b.x) + length >= box.x0 && std::min(a.x, b.x) - length <= box.x1 &&
           std::max(a.y, b.y) + length >= box.y0 && std::min(a.y, b.y) - length <= box.y1;
}

FlowValues valuesAt(const FlowField& field, StreamPlane plane, FlowPoint p) {
    return plane == StreamPlane::Airfoil ? field.at(p) : field.atCircle(p);
}

// Moves p onto the level psi0 along the gradient of psi; a point near a stagnation point (no
// gradient to follow) or one that would leave the flow stays where the straight segment put it.
FlowPoint ontoLevel(const FlowField& field, StreamPlane plane, FlowPoint p, double psi0, double reach) {
    for (int step = 0; step < 3; ++step) {
        const FlowValues f = valuesAt(field, plane, p);
        if (f.inside) break;
        const double g2 = f.u * f.u + f.v * f.v;
        if (!(g2 > 1e-12)) break;
        const double d = (f.psi - psi0) / g2;
        const FlowPoint next{p.x + d * f.v, p.y - d * f.u};  // p - d (-v, u)
        if (!(std::hypot(next.x - p.x, next.y - p.y) <= reach)) break;
        p = next;
    }
    return p;
}

}  // namespace

void refineStreamline(const FlowField& field, StreamPlane plane, Streamline& line, double spacing, const Extent& box) {
    if (line.points.size() < 2 || !(spacing > 0)) return;
    std::vector<FlowPoint> out;
    out.reserve(line.points.size());
    out.push_back(line.points.front());
    for (std::size_t k = 1; k < line.points.size(); ++k) {
        const FlowPoint a = line.points[k - 1], b = line.points[k];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length > spacing && nearBox(a, b, length, box)) {
            const int pieces = static_cast<int>(std::min<double>(MostPieces, std::ceil(length / spacing)));
            for (int j = 1; j < pieces; ++j) {
                const double t = static_cast<double>(j) / pieces;
                out.push_back(
                    ontoLevel(field, plane, {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}, line.psi, 0.5 * length));
            }
        }
        out.push_back(b);
    }
    line.points = std::move(out);
}

std::vector<FlowPoint> bodyOutlineInView(const FlowField& field, StreamPlane plane, double spacing, const Extent& box) {
    const double R = field.radius();
    const FlowPoint c = field.centre();
    // The circle from the trailing edge (zeta = 1) round over the upper side.
    const double thetaTe = std::atan2(-c.y, 1.0 - c.x);
    const auto point = [&](double theta) {
        const double eRe = (c.x - 1.0) + R * std::cos(theta), eIm = c.y + R * std::sin(theta);  // zeta - 1
        return plane == StreamPlane::Airfoil ? field.toAirfoil(eRe, eIm) : FlowPoint{eRe + 1.0, eIm};
    };
    constexpr int Coarse = 1024;
    std::vector<FlowPoint> out;
    out.reserve(Coarse + 1);
    FlowPoint previous = point(thetaTe);
    out.push_back(previous);
    for (int k = 1; k <= Coarse; ++k) {
        const double t0 = thetaTe + 2 * Pi * (k - 1) / Coarse, t1 = thetaTe + 2 * Pi * k / Coarse;
        const FlowPoint next = point(t1);
        const double length = std::hypot(next.x - previous.x, next.y - previous.y);
        if (spacing > 0 && length > spacing && nearBox(previous, next, length, box)) {
            const int pieces = static_cast<int>(std::min<double>(MostPieces, std::ceil(length / spacing)));
            for (int j = 1; j < pieces; ++j) out.push_back(point(t0 + (t1 - t0) * j / pieces));
        }
        out.push_back(next);
        previous = next;
    }
    out.back() = out.front();  // closed exactly, whatever the rounding of 2 pi
    return out;
}

}  // namespace orvek
