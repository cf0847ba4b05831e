#include "solver/flow/Streamlines.h"

#include "solver/Constants.h"
#include "solver/ShortestText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvek {

namespace {

// Largest turn of a line between neighbouring points, radians: the polyline then looks smooth.
constexpr double MaxTurn = 0.03;
// Smallest step a trace takes before it gives up (a stagnation point ahead).
constexpr double MinStep = 1e-10;
// Samples of psi along each edge of the extent.
constexpr std::size_t EdgeSamples = 256;

// Farther from the box than its own size: a branch sampled from the body outward may stop.
bool farOutside(const Extent& b, FlowPoint p) {
    const double w = b.width(), h = b.height();
    return p.x < b.x0 - w || p.x > b.x1 + w || p.y < b.y0 - h || p.y > b.y1 + h;
}

struct Probe {
    double psi = 0, u = 0, v = 0;
    bool inside = false;
};

Probe probe(const FlowField& f, StreamPlane plane, FlowPoint p) {
    const FlowValues v = plane == StreamPlane::Airfoil ? f.at(p) : f.atCircle(p);
    return {v.psi, v.u, v.v, v.inside};
}

double turnAngle(double ax, double ay, double bx, double by) {
    return std::fabs(std::atan2(ax * by - ay * bx, ax * bx + ay * by));
}

// Samples a curve given by a parameter s from 0 to sEnd (or until `stop` says so), with points
// at most `spacing` apart and turning at most MaxTurn between neighbouring segments.
template <class Curve, class Stop>
std::vector<FlowPoint> sampleCurve(Curve at, double sEnd, double firstStep, Stop stop,
                                   double spacing = StreamlineSpacing) {
    std::vector<FlowPoint> out{at(0.0)};
    double s = 0, ds = std::min(firstStep, sEnd);
    double dirX = 0, dirY = 0;  // the last segment
    while (s < sEnd && out.size() < MaxLinePoints) {
        ds = std::min(ds, sEnd - s);
        FlowPoint p;
        double len = 0, turn = 0;
        for (;;) {
            p = at(s + ds);
            const double sx = p.x - out.back().x, sy = p.y - out.back().y;
            len = std::hypot(sx, sy);
            turn = (dirX == 0 && dirY == 0) || len == 0 ? 0.0 : turnAngle(dirX, dirY, sx, sy);
            const bool fine = len <= spacing && turn <= MaxTurn;
            if (fine || ds <= 1e-12 * std::max(1.0, s)) break;
            ds *= 0.5;
        }
        s = s + ds >= sEnd ? sEnd : s + ds;
        if (len > 0) {
            dirX = p.x - out.back().x;
            dirY = p.y - out.back().y;
            out.push_back(p);
        }
        if (len < 0.5 * spacing && turn < 0.5 * MaxTurn) ds *= 1.5;
        if (stop(p)) break;
    }
    return out;
}

// The points of a line from just before it enters the box to just after it leaves it.
std::vector<FlowPoint> trimmedToBox(const std::vector<FlowPoint>& pts, const Extent& box) {
    std::size_t first = pts.size(), last = 0;
    for (std::size_t k = 0; k < pts.size(); ++k) {
        if (!box.contains(pts[k])) continue;
        first = std::min(first, k);
        last = k;
    }
    if (first == pts.size()) return {};
    first = first > 0 ? first - 1 : 0;
    last = std::min(last + 1, pts.size() - 1);
    return {pts.begin() + static_cast<std::ptrdiff_t>(first), pts.begin() + static_cast<std::ptrdiff_t>(last) + 1};
}

// Points of the circle plane given about the centre (rho - 1 and the polar angle theta), as
// zeta - 1 (exact near the trailing edge) and then in the plane asked for.
class CirclePoints {
public:
    CirclePoints(const FlowField& f, StreamPlane plane) : f_(f), plane_(plane) {}

    FlowPoint at(double rhoMinusOne, double theta) const {
        const double R = f_.radius(), beta = f_.betaRadians();
        // zeta - 1 = R ((rho - 1) e^(i theta) + e^(i theta) - e^(-i beta)),
        // e^(i theta) - e^(-i beta) = 2i sin((theta + beta)/2) e^(i (theta - beta)/2)
        const double s = 2.0 * std::sin(0.5 * (theta + beta)), h = 0.5 * (theta - beta);
        const double eRe = R * (rhoMinusOne * std::cos(theta) - s * std::sin(h));
        const double eIm = R * (rhoMinusOne * std::sin(theta) + s * std::cos(h));
        if (plane_ == StreamPlane::Circle) return {1.0 + eRe, eIm};
        return f_.toAirfoil(eRe, eIm);
    }

    // The two branches of psi = 0 off the circle, by u = ln rho: the polar angle about the centre
    // is alpha + phi with sin(phi) = -2 sin(alpha + beta) u/(2 sinh u).
    FlowPoint branch(bool upstream, double u) const {
        const double L = u == 0.0 ? 0.5 : u / (2.0 * std::sinh(u));
        const double g = 2.0 * f_.circulationRatio();
        const double a = std::asin(std::max(-1.0, std::min(1.0, g * L)));
        const double phi = upstream ? Pi + a : -a;
        return at(std::expm1(u), f_.alphaRadians() + phi);
    }
    double branchAngle(bool upstream) const {
        const double a = std::asin(std::max(-1.0, std::min(1.0, f_.circulationRatio())));
        return f_.alphaRadians() + (upstream ? Pi + a : -a);
    }

private:
    const FlowField& f_;
    StreamPlane plane_;
};

// Where the two branches of psi = 0 meet off the circle when the stagnation points have left it
// (|s| > 1, s = gamma/(2R)): the u = ln rho with u/sinh(u) = 1/|s|.
double branchesMeet(double s) {
    double lo = 0, hi = 60;
    for (int k = 0; k < 200 && hi - lo > 1e-15 * hi; ++k) {
        const double mid = 0.5 * (lo + hi);
        (mid / std::sinh(mid) > 1.0 / std::fabs(s) ? lo : hi) = mid;
    }
    return hi;
}

// psi = 0 when the circulation set by hand has moved the stagnation points off the circle: the
// circle itself, closed, and one line from upstream past the body (where the two branches meet)
// downstream.
std::vector<Streamline> dividingLinesOffBody(const FlowField& f, StreamPlane plane, const Extent& box,
                                             double spacing) {
    const CirclePoints circle(f, plane);
    const auto far = [&](FlowPoint p) { return farOutside(box, p); };
    const double uMax = std::log(1e6), u0 = branchesMeet(f.circulationRatio());
    std::vector<FlowPoint> up =
        sampleCurve([&](double u) { return circle.branch(true, u0 + u); }, uMax - u0, 1e-4, far, spacing);
    std::reverse(up.begin(), up.end());
    const std::vector<FlowPoint> down =
        sampleCurve([&](double u) { return circle.branch(false, u0 + u); }, uMax - u0, 1e-4, far, spacing);
    Streamline a, b;
    a.dividing = b.dividing = true;
    a.points = up;
    if (!a.points.empty() && !down.empty()) a.points.pop_back();  // the point where they meet, once
    a.points.insert(a.points.end(), down.begin(), down.end());
    a.points = trimmedToBox(a.points, box);
    const auto none = [](FlowPoint) { return false; };
    b.points =
        sampleCurve([&](double t) { return circle.at(0.0, -f.betaRadians() + t); }, 2.0 * Pi, 1e-3, none, spacing);
    if (!b.points.empty()) b.points.back() = b.points.front();  // closed at the trailing edge
    std::vector<Streamline> out;
    for (Streamline* l : {&a, &b}) {
        if (l->points.size() > 1) out.push_back(std::move(*l));
    }
    return out;
}

// The dividing streamline: the two lines of psi = 0 described in the header.
std::vector<Streamline> dividingLines(const FlowField& f, StreamPlane plane, const Extent& box, double spacing) {
    if (std::fabs(f.circulationRatio()) > 1.0) return dividingLinesOffBody(f, plane, box, spacing);
    const CirclePoints circle(f, plane);
    const auto far = [&](FlowPoint p) { return farOutside(box, p); };
    const double uMax = std::log(1e6);  // a million radii out
    std::vector<FlowPoint> up = sampleCurve([&](double u) { return circle.branch(true, u); }, uMax, 1e-4, far, spacing);
    std::reverse(up.begin(), up.end());
    up = trimmedToBox(up, box);
    const std::vector<FlowPoint> down =
        trimmedToBox(sampleCurve([&](double u) { return circle.branch(false, u); }, uMax, 1e-4, far, spacing), box);

    // Around the contour from where the upstream branch meets it to where the downstream one
    // leaves: decreasing angle for the first line, increasing for the second.
    const double thetaU = circle.branchAngle(true), thetaD = circle.branchAngle(false);
    double span = std::fmod(thetaU - thetaD, 2.0 * Pi);
    if (span < 0) span += 2.0 * Pi;
    const auto none = [](FlowPoint) { return false; };
    const std::vector<FlowPoint> over =
        sampleCurve([&](double s) { return circle.at(0.0, thetaU - s); }, span, 1e-3, none, spacing);
    const std::vector<FlowPoint> under =
        sampleCurve([&](double s) { return circle.at(0.0, thetaU + s); }, 2.0 * Pi - span, 1e-3, none, spacing);

    Streamline a, b;
    a.dividing = b.dividing = true;
    a.points = up;
    if (!a.points.empty()) a.points.pop_back();  // the stagnation point begins the contour
    a.points.insert(a.points.end(), over.begin(), over.end());
    if (!down.empty() && !a.points.empty()) {
        // both end at the trailing edge, up to rounding
        const bool joined = std::hypot(down.front().x - a.points.back().x, down.front().y - a.points.back().y) < 1e-12;
        a.points.insert(a.points.end(), down.begin() + (joined ? 1 : 0), down.end());
    }
    b.points = under;
    return {a, b};
}

// Follows the level c downstream from the circle-plane point zeta until its image leaves the
// box. The work is done in the circle plane, where psi and the velocity cost a logarithm: each
// step goes along the velocity turned by the curvature of the step before (a second-order
// predictor that costs no evaluation), Newton steps along grad psi = (-v, u) put the point back
// on c, and the step is halved until the image in the plane shown is near enough to the last
// point and turns little enough.
// `cut` is set when the line reaches MaxLinePoints inside the box.
std::vector<FlowPoint> trace(const FlowField& f, StreamPlane plane, const Extent& box, double c, FlowPoint zeta,
                             double spacing, bool& cut) {
    const double tol = 1e-12 * std::max(1.0, std::fabs(c));
    const auto shown = [&](FlowPoint z) { return plane == StreamPlane::Circle ? z : f.toAirfoil(z.x - 1.0, z.y); };
    const auto onLevel = [&](FlowPoint& q, Probe& qr) {
        for (int k = 0; k < 4 && !qr.inside && std::fabs(c - qr.psi) > tol; ++k) {
            const double g2 = qr.u * qr.u + qr.v * qr.v;
            if (!(g2 > 0)) break;
            const double r = (c - qr.psi) / g2;
            q.x -= r * qr.v;
            q.y += r * qr.u;
            qr = probe(f, StreamPlane::Circle, q);
        }
    };
    Probe pr = probe(f, StreamPlane::Circle, zeta);
    onLevel(zeta, pr);
    std::vector<FlowPoint> out{shown(zeta)};
    double h = 0.25 * spacing;
    double curvature = 0;       // signed turn per unit length in the circle plane, of the last step
    double segX = 0, segY = 0;  // the last segment in the plane shown
    while (out.size() < MaxLinePoints) {
        const double speed = std::hypot(pr.u, pr.v);
        if (!(speed > 0)) break;
        const double d0x = pr.u / speed, d0y = pr.v / speed;
        FlowPoint next, image;
        Probe nr;
        double turn = 0, grow = 1;
        bool moved = false;
        while (h >= MinStep) {
            const double half = 0.5 * curvature * h, cs = std::cos(half), sn = std::sin(half);
            next = {zeta.x + h * (d0x * cs - d0y * sn), zeta.y + h * (d0x * sn + d0y * cs)};
            nr = probe(f, StreamPlane::Circle, next);
            onLevel(next, nr);
            if (nr.inside || !(std::hypot(nr.u, nr.v) > 0) || std::fabs(c - nr.psi) > tol) {
                h *= 0.5;
                curvature = 0;
                continue;
            }
            image = shown(next);
            const double sx = image.x - out.back().x, sy = image.y - out.back().y;
            const double len = std::hypot(sx, sy);
            turn = (segX == 0 && segY == 0) || len == 0 ? 0.0 : turnAngle(segX, segY, sx, sy);
            if ((turn > MaxTurn || len > spacing) && h > 2 * MinStep) {
                h *= 0.5;
                continue;
            }
            const double step = std::hypot(next.x - zeta.x, next.y - zeta.y);
            const double signedTurn = std::atan2(d0x * nr.v - d0y * nr.u, d0x * nr.u + d0y * nr.v);
            curvature = step > 0 ? signedTurn / step : 0.0;
            segX = sx;
            segY = sy;
            moved = len > 0;
            // the next step aims just inside both limits, so few steps are tried twice
            grow = 2.0;
            if (len > 0) grow = std::min(grow, 0.9 * spacing / len);
            if (turn > 0) grow = std::min(grow, 0.9 * MaxTurn / turn);
            break;
        }
        if (!moved) break;
        out.push_back(image);
        zeta = next;
        pr = nr;
        h *= std::max(0.5, grow);
        if (!box.contains(image)) return out;
    }
    cut = out.size() >= MaxLinePoints;
    return out;
}

struct EdgeSample {
    FlowPoint p;
    Probe pr;
    double nx, ny;  // inward normal of its edge
};

// psi along the edges of the box, counter-clockwise from the lower left corner.
std::vector<EdgeSample> edgeSamples(const FlowField& f, StreamPlane plane, const Extent& b) {
    std::vector<EdgeSample> out;
    out.reserve(4 * EdgeSamples);
    const struct {
        FlowPoint from, to;
        double nx, ny;
    } edges[] = {{{b.x0, b.y0}, {b.x1, b.y0}, 0, 1},
                 {{b.x1, b.y0}, {b.x1, b.y1}, -1, 0},
                 {{b.x1, b.y1}, {b.x0, b.y1}, 0, -1},
                 {{b.x0, b.y1}, {b.x0, b.y0}, 1, 0}};
    for (const auto& e : edges) {
        for (std::size_t k = 0; k < EdgeSamples; ++k) {
            const double s = static_cast<double>(k) / static_cast<double>(EdgeSamples);
            const FlowPoint p{e.from.x + s * (e.to.x - e.from.x), e.from.y + s * (e.to.y - e.from.y)};
            out.push_back({p, probe(f, plane, p), e.nx, e.ny});
        }
    }
    return out;
}

// N levels spaced evenly over [lo, hi] (which holds 0), 0 among them.
std::vector<double> levels(double lo, double hi, int count) {
    if (count == 1 || !(hi > lo)) return {0.0};
    const double step = (hi - lo) / count;
    auto kLo = static_cast<long>(std::ceil(lo / step)), kHi = static_cast<long>(std::floor(hi / step));
    while (kHi - kLo + 1 > count) {
        // drop the end nearer its extreme, never 0
        if (kLo != 0 && (kHi == 0 || (static_cast<double>(kLo) * step - lo) < (hi - static_cast<double>(kHi) * step))) {
            ++kLo;
        } else {
            --kHi;
        }
    }
    std::vector<double> out;
    for (long k = kLo; k <= kHi; ++k) out.push_back(static_cast<double>(k) * step);
    return out;
}

}  // namespace

Status checkStreamlineExtent(const Extent& box) {
    const double x0 = box.x0, x1 = box.x1, y0 = box.y0, y1 = box.y1;
    if (!(x0 < x1) || !(y0 < y1) || !std::isfinite(x1 - x0) || !std::isfinite(y1 - y0)) {
        return Failure{"the extent must have X0 < X1 and Y0 < Y1."};
    }
    const auto outOfRange = [](double side) {
        return Failure{"the extent's width and height must be from " + shortestText(MinStreamlineExtent) + " to " +
                       shortestText(MaxStreamlineExtent) + ", not " + shortestText(side) + "."};
    };
    for (const double side : {x1 - x0, y1 - y0}) {
        if (side < MinStreamlineExtent || side > MaxStreamlineExtent) return outOfRange(side);
    }
    for (const FlowPoint corner : {FlowPoint{x0, y0}, FlowPoint{x1, y1}}) {
        if (Status reach = checkFlowPoint(corner); !reach) return Failure{"the extent's corner " + reach.error().substr(4)};
    }
    return {};
}

Expected<std::vector<Streamline>> streamlines(const FlowField& field, const StreamlineRequest& request) {
    const StreamlineRequest& rq = request;
    const Extent& box = rq.extent;
    if (Status extent = checkStreamlineExtent(box); !extent) return Failure{extent.error()};
    if (rq.count < 1 || rq.count > MaxStreamlines) {
        return Failure{"the count of streamlines must be from 1 to " + std::to_string(MaxStreamlines) + ", not " +
                       std::to_string(rq.count) + "."};
    }
    const double spacing = std::isfinite(rq.spacing) ? std::max(StreamlineSpacing, rq.spacing) : StreamlineSpacing;
    const std::vector<EdgeSample> edge = edgeSamples(field, rq.plane, box);
    double lo = 0, hi = 0;
    for (const EdgeSample& e : edge) {
        if (e.pr.inside) continue;
        lo = std::min(lo, e.pr.psi);
        hi = std::max(hi, e.pr.psi);
    }

    std::vector<Streamline> out;
    std::size_t total = 0;
    for (const double c : levels(lo, hi, rq.count)) {
        if (c == 0.0) {
            for (Streamline& d : dividingLines(field, rq.plane, box, spacing)) {
                d.psi = 0.0;
                total += d.points.size();
                out.push_back(std::move(d));
            }
            continue;
        }
        // Every stretch of the level inside the box enters it somewhere along the edges.
        for (std::size_t k = 0; k < edge.size(); ++k) {
            const EdgeSample& a = edge[k];
            const EdgeSample& b = edge[(k + 1) % edge.size()];
            if (a.pr.inside || b.pr.inside || (a.pr.psi < c) == (b.pr.psi < c)) continue;
            // the crossing on the edge, by regula falsi with the Illinois correction
            FlowPoint pa = a.p, pb = b.p;
            double fa = a.pr.psi - c, fb = b.pr.psi - c;
            FlowPoint p = pa;
            Probe pr = a.pr;
            int side = 0;
            for (int it = 0; it < 60; ++it) {
                const double s = fa / (fa - fb);
                p = {pa.x + s * (pb.x - pa.x), pa.y + s * (pb.y - pa.y)};
                pr = probe(field, rq.plane, p);
                if (pr.inside) break;
                const double fp = pr.psi - c;
                if (std::fabs(fp) <= 1e-14 * std::max(1.0, std::fabs(c))) break;
                if ((fp < 0) == (fa < 0)) {
                    pa = p;
                    fa = fp;
                    if (side == -1) fb *= 0.5;
                    side = -1;
                } else {
                    pb = p;
                    fb = fp;
                    if (side == 1) fa *= 0.5;
                    side = 1;
                }
            }
            if (pr.inside || pr.u * a.nx + pr.v * a.ny <= 0) continue;  // where the level leaves the box
            if (stopRequested(rq.stop)) return Failure{Interrupted};
            Streamline line;
            line.psi = c;
            bool cut = false;
            line.points =
                trace(field, rq.plane, box, c, rq.plane == StreamPlane::Circle ? p : field.toCircle(p), spacing, cut);
            total += line.points.size();
            if (cut || total > MaxStreamlinePoints) {
                return Failure{"the streamlines need more than " +
                               std::to_string(cut ? MaxLinePoints : MaxStreamlinePoints) +
                               " points" + (cut ? " for one line" : " in all") + " in this extent; choose a smaller extent or fewer lines."};
            }
            if (line.points.size() > 1) out.push_back(std::move(line));
        }
    }
    return out;
}

std::vector<FlowPoint> bodyOutline(const FlowField& field, StreamPlane plane) {
    const CirclePoints circle(field, plane);
    const double from = -field.betaRadians();
    std::vector<FlowPoint> pts = sampleCurve([&](double s) { return circle.at(0.0, from + s); }, 2.0 * Pi, 1e-3,
                                             [](FlowPoint) { return false; });
    if (!pts.empty()) pts.back() = pts.front();
    return pts;
}

}  // namespace orvek
