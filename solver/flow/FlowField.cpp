#include "solver/flow/FlowField.h"

#include "solver/Complex.h"
#include "solver/ShortestText.h"
#include "solver/kernels/CoreSlices.h"
#include "solver/kernels/Kernels.h"
#include "solver/surface/Solver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <utility>

namespace orvek {

namespace {

// Below this many points one core evaluates a request; above it the cores share it (a field
// point costs about as much as a Karman-Trefftz surface point).
constexpr std::size_t ThreadedPoints = 16384;

}  // namespace

Status checkFlowPoint(FlowPoint z) {
    // (a NaN coordinate passes: it is no point, and its values are NaN)
    if (!(std::fabs(z.x) > FlowReach || std::fabs(z.y) > FlowReach)) return {};
    return Failure{"the point (" + shortestText(z.x) + ", " + shortestText(z.y) +
                   ") lies beyond the field's reach: x and y from -" + shortestText(FlowReach) + " to " +
                   shortestText(FlowReach) + " chords."};
}

Expected<FlowField> FlowField::make(const Airfoil& airfoil, double alphaDegrees, std::optional<double> circulation) {
    // Only the shapes the measurement accepts have a flow here: beyond m = 2 the mapping is not
    // one to one, up to 1 the image is no airfoil, and F < 0 leaves the critical point outside.
    if (Status simple = checkSimpleAirfoil(airfoil); !simple) return Failure{simple.error()};
    const double F = airfoil.F, G = airfoil.G, m = airfoil.m;
    if (!(std::fabs(alphaDegrees) <= MaxAngleDegrees)) {
        return Failure{"Cannot calculate: the angle of attack must be from -" + shortestText(MaxAngleDegrees) + " to " +
                       shortestText(MaxAngleDegrees) + " degrees, not " + shortestText(alphaDegrees) + "."};
    }

    if (circulation && !(std::fabs(*circulation) <= MaxCirculation)) {
        return Failure{"Cannot calculate this airfoil's flow: the circulation must be from -" +
                       shortestText(MaxCirculation) + " to " + shortestText(MaxCirculation) + " (CL = 2 Gamma), not " +
                       shortestText(*circulation) + "."};
    }

    FlowField f;
    f.airfoil_ = airfoil;
    f.alphaRadians_ = (alphaDegrees * Pi) / 180.0;
    f.betaRadians_ = airfoil.betaRadians();
    FlowConstants& c = f.c_;
    const double R2 = airfoil.radiusSquared();
    c.F = F;
    c.R = airfoil.radius();
    c.invM = 1.0 / m;
    c.halfInvM = 0.5 / m;
    c.b = airfoil.mappingScale(1.0);
    c.twoMb = 2.0 * m * c.b;
    c.turnMBeta = {std::cos(m * f.betaRadians_), std::sin(m * f.betaRadians_)};
    c.turnBackBeta = {(1.0 + F) / c.R, -G / c.R};
    c.t1 = {1.0 + F, -G};
    c.twoMinusT1 = {1.0 - F, G};
    c.turnAlpha = {std::cos(f.alphaRadians_), std::sin(f.alphaRadians_)};
    // t2 = -(1 + F + iG) e^(2 i alpha): the front stagnation point, the circle's other zero of W'
    const Complex<double> turn2A = square(c.turnAlpha);
    const Complex<double> t2 = -(Complex<double>{1.0 + F, G} * turn2A);
    c.t12 = c.t1 - t2;
    c.twoOverM2 = 2.0 / (m * m);
    // b R sin(alpha + beta), with R cos(beta) = 1 + F and R sin(beta) = G
    c.halfGammaB = c.b * ((1.0 + F) * c.turnAlpha.im + G * c.turnAlpha.re);
    c.inv4OverR2 = 4.0 / R2;
    c.joukowsky = airfoil.isJoukowsky();
    if (circulation) {
        // gamma = Gamma/(2 pi b): psi's share b gamma/2 = Gamma/(4 pi)
        f.byHand_ = true;
        f.circulation_ = *circulation;
        const double extra = (*circulation - f.kuttaCirculation()) / (2.0 * Pi * c.b);
        c.byHand = extra != 0.0;
        c.extraGammaOverM2 = extra / (m * m);
        if (c.byHand) c.halfGammaB = *circulation / (4.0 * Pi);
    }
    return f;
}

FlowValues FlowField::at(FlowPoint z) const {
    FlowValues out;
    FlowRun run;
    run.count = 1;
    run.x = &z.x;
    run.y = &z.y;
    run.u = &out.u;
    run.v = &out.v;
    run.cp = &out.Cp;
    run.psi = &out.psi;
    ScalarKernels.flow(c_, run);
    out.inside = std::isnan(out.psi);
    return out;
}

void FlowField::evaluate(const FlowRun& run) const {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    evaluate(run, preferredInstructionSet(), run.count < ThreadedPoints ? 1u : cores);
}

void FlowField::evaluate(const FlowRun& run, InstructionSet set, unsigned threads) const {
    const FlowKernelFn kernel = flowKernel(set);
    splitAmongCores(run.count, threads, [&](std::size_t, std::size_t from, std::size_t to) {
        FlowRun part = run;
        part.count = to - from;
        part.x += from;
        part.y += from;
        part.u += from;
        part.v += from;
        part.cp += from;
        part.psi += from;
        kernel(c_, part);
    });
}

double FlowField::frontStagnationAngle() const {
    // t2 = -R e^(i (2 alpha + beta))
    return std::atan2(-std::sin(2.0 * alphaRadians_ + betaRadians_), -std::cos(2.0 * alphaRadians_ + betaRadians_));
}

double FlowField::kuttaCirculation() const {
    // as the solver: 4 pi R b sin(alpha + beta)
    return (((4.0 * Pi) * c_.R) * c_.b) * std::sin(alphaRadians_ + betaRadians_);
}

double FlowField::circulationRatio() const {
    if (!c_.byHand) return std::sin(alphaRadians_ + betaRadians_);
    return circulation_ / (4.0 * Pi * c_.b * c_.R);
}

namespace {

// The zeros of the circle's velocity about the centre, t = e^(i alpha) tau with
// tau^2 + i gamma tau - R^2 = 0: on the circle at tau = R(-i s +- sqrt(1 - s^2)) for |s| <= 1
// (s = gamma/(2R); front first), else on the imaginary axis, the one in the flow first.
std::vector<Complex<double>> circleZeros(double R, double s, double alpha) {
    std::vector<Complex<double>> tau;
    if (std::fabs(s) <= 1.0) {
        const double c = std::sqrt((1.0 - s) * (1.0 + s));
        tau = {{-R * c, -R * s}, {R * c, -R * s}};
    } else {
        // the larger root first: -i R (s + sign(s) sqrt(s^2 - 1)); the other is R^2 over its conjugate
        const double big = s + std::copysign(std::sqrt((s - 1.0) * (s + 1.0)), s);
        tau = {{0.0, -R * big}};
    }
    const Complex<double> turn{std::cos(alpha), std::sin(alpha)};
    for (auto& t : tau) t = t * turn;
    return tau;
}

}  // namespace

std::vector<FlowPoint> FlowField::stagnationPoints(StreamPlane plane) const {
    const bool circle = plane == StreamPlane::Circle;
    if (!c_.byHand) {
        if (circle) {
            // about the circle both zeros of the velocity are stagnation points, the trailing edge too
            const double s = frontStagnationAngle();
            return {{centre().x + radius() * std::cos(s), centre().y + radius() * std::sin(s)}, {1.0, 0.0}};
        }
        // zeta - 1 = t2 - t1
        std::vector<FlowPoint> out{toAirfoil(-c_.t12.re, -c_.t12.im)};
        if (!c_.joukowsky) out.push_back({1.0, 0.0});
        return out;
    }
    std::vector<FlowPoint> out;
    for (const Complex<double>& t : circleZeros(c_.R, circulationRatio(), alphaRadians_)) {
        // t = zeta - zeta0, so zeta - 1 = t - t1
        const Complex<double> e = t - c_.t1;
        out.push_back(circle ? FlowPoint{centre().x + t.re, centre().y + t.im} : toAirfoil(e.re, e.im));
    }
    return out;
}

FlowPoint FlowField::toAirfoil(double eRe, double eIm) const {
    // q = e/(2 + e); w = q^m taken as (q e^(i beta))^m e^(-i m beta), whose root lies in the
    // half plane Re > 0 for every point on or outside the circle; z = 1 + 2 m b w/(1 - w).
    const Complex<double> e{eRe, eIm}, d = 2.0 + e;
    const Complex<double> q = timesConj(e, d) * (1.0 / norm(d));
    const Complex<double> h = q * conj(c_.turnBackBeta);  // q e^(i beta)
    Complex<double> wt = square(h);                       // (q e^(i beta))^m
    if (!c_.joukowsky) {
        const double m = airfoil_.m;
        const double mod = std::pow(norm(h), 0.5 * m), arg = m * std::atan2(h.im, h.re);
        wt = mod * Complex<double>{std::cos(arg), std::sin(arg)};
    }
    const Complex<double> w = timesConj(wt, c_.turnMBeta), o = 1.0 - w;
    const Complex<double> r = timesConj(w, o) * (1.0 / norm(o));  // w/(1 - w)
    const FlowPoint z{1.0 + c_.twoMb * r.re, c_.twoMb * r.im};
    // Only the critical point zeta = -1 (on the circle when F = 0: a circular arc's leading edge,
    // where its front stagnation point lies at the ideal angle) has no finite value here; it maps
    // to 1 - 2 m b on the chord line, the leading edge itself.
    if (!std::isfinite(z.x) || !std::isfinite(z.y)) return {1.0 - c_.twoMb, 0.0};
    return z;
}

FlowPoint FlowField::toCircle(FlowPoint z) const {
    // as in the kernel: w = (z - 1)/(z - 1 + 2 m b), the root of w e^(i m beta) turned back by
    // e^(-i beta) is q, and zeta = (1 + q)/(1 - q)
    const Complex<double> d{z.x - 1.0, z.y}, n{d.re + c_.twoMb, d.im};
    const Complex<double> s = (timesConj(d, n) * (1.0 / norm(n))) * c_.turnMBeta;
    const double mod = std::pow(norm(s), c_.halfInvM), arg = std::atan2(s.im, s.re) * c_.invM;
    const Complex<double> q = (mod * Complex<double>{std::cos(arg), std::sin(arg)}) * c_.turnBackBeta;
    // (1 + q)/(1 - q) = ((1 + q)(1 - conj q))/|1 - q|^2
    const Complex<double> zeta = timesConj(1.0 + q, 1.0 - q) * (1.0 / norm(1.0 - q));
    return {zeta.re, zeta.im};
}

FlowValues FlowField::atCircle(FlowPoint zeta) const {
    FlowValues out;
    const Complex<double> e{zeta.x - 1.0, zeta.y};                      // zeta - 1
    const Complex<double> t{zeta.x + airfoil_.F, zeta.y - airfoil_.G};  // zeta - zeta0
    const double t2 = norm(t);
    // |t|^2 - R^2 = |e|^2 + 2 Re(e (1 + F + iG)), exact near the trailing edge
    const double P = norm(e) + 2.0 * timesConj(e, c_.t1).re;
    if (!(P >= 0.0)) {
        out.inside = true;
        out.u = out.v = out.Cp = out.psi = std::nan("");
        return out;
    }
    // dW/dzeta = b e^(-i alpha) (zeta - 1)(t - t2)/t^2, t - t2 = e + (t1 - t2)
    const Complex<double> f = timesConj(e * (e + c_.t12), square(t)) * (1.0 / (t2 * t2));
    Complex<double> d = c_.b * timesConj(f, c_.turnAlpha);
    if (c_.byHand) {
        // + i b dgamma / t = i b dgamma conj(t) / |t|^2, dgamma = m^2 extraGammaOverM2
        const double k = c_.b * c_.extraGammaOverM2 * airfoil_.m * airfoil_.m / t2;
        d = d + k * Complex<double>{t.im, t.re};
    }
    out.u = d.re;
    out.v = -d.im;
    out.Cp = 1.0 - norm(d);
    const double across = c_.turnAlpha.re * t.im - c_.turnAlpha.im * t.re;  // Im(e^(-i alpha) t)
    out.psi = c_.b * across * (P / t2) + c_.halfGammaB * std::log1p(P * (0.25 * c_.inv4OverR2));
    return out;
}

}  // namespace orvek
