#include "solver/flow/FlowField.h"

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
    c.cosMB = std::cos(m * f.betaRadians_);
    c.sinMB = std::sin(m * f.betaRadians_);
    c.cosB = (1.0 + F) / c.R;
    c.sinB = -G / c.R;
    c.t1Re = 1.0 + F;
    c.t1Im = -G;
    c.twoMinusT1Re = 1.0 - F;
    c.twoMinusT1Im = G;
    c.cosA = std::cos(f.alphaRadians_);
    c.sinA = std::sin(f.alphaRadians_);
    // t2 = -(1 + F + iG) e^(2 i alpha): the front stagnation point, the circle's other zero of W'
    const double cos2A = (c.cosA - c.sinA) * (c.cosA + c.sinA), sin2A = 2.0 * c.sinA * c.cosA;
    const double t2Re = -((1.0 + F) * cos2A - G * sin2A), t2Im = -((1.0 + F) * sin2A + G * cos2A);
    c.t12Re = c.t1Re - t2Re;
    c.t12Im = c.t1Im - t2Im;
    c.twoOverM2 = 2.0 / (m * m);
    // b R sin(alpha + beta), with R cos(beta) = 1 + F and R sin(beta) = G
    c.halfGammaB = c.b * ((1.0 + F) * c.sinA + G * c.cosA);
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
std::vector<std::pair<double, double>> circleZeros(double R, double s, double alpha) {
    std::vector<std::pair<double, double>> tau;
    if (std::fabs(s) <= 1.0) {
        const double c = std::sqrt((1.0 - s) * (1.0 + s));
        tau = {{-R * c, -R * s}, {R * c, -R * s}};
    } else {
        // the larger root first: -i R (s + sign(s) sqrt(s^2 - 1)); the other is R^2 over its conjugate
        const double big = s + std::copysign(std::sqrt((s - 1.0) * (s + 1.0)), s);
        tau = {{0.0, -R * big}};
    }
    const double ca = std::cos(alpha), sa = std::sin(alpha);
    for (auto& t : tau) t = {t.first * ca - t.second * sa, t.first * sa + t.second * ca};
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
        std::vector<FlowPoint> out{toAirfoil(-c_.t12Re, -c_.t12Im)};
        if (!c_.joukowsky) out.push_back({1.0, 0.0});
        return out;
    }
    std::vector<FlowPoint> out;
    for (const auto& [tRe, tIm] : circleZeros(c_.R, circulationRatio(), alphaRadians_)) {
        // t = zeta - zeta0, so zeta - 1 = t - t1
        out.push_back(circle ? FlowPoint{centre().x + tRe, centre().y + tIm} : toAirfoil(tRe - c_.t1Re, tIm - c_.t1Im));
    }
    return out;
}

FlowPoint FlowField::toAirfoil(double eRe, double eIm) const {
    // q = e/(2 + e); w = q^m taken as (q e^(i beta))^m e^(-i m beta), whose root lies in the
    // half plane Re > 0 for every point on or outside the circle; z = 1 + 2 m b w/(1 - w).
    const double dRe = 2.0 + eRe, dIm = eIm, inv = 1.0 / (dRe * dRe + dIm * dIm);
    const double qRe = (eRe * dRe + eIm * dIm) * inv, qIm = (eIm * dRe - eRe * dIm) * inv;
    const double cb = c_.cosB, sb = -c_.sinB;  // e^(i beta)
    const double hRe = qRe * cb - qIm * sb, hIm = qRe * sb + qIm * cb;
    double wtRe, wtIm;  // (q e^(i beta))^m
    if (c_.joukowsky) {
        wtRe = (hRe - hIm) * (hRe + hIm);
        wtIm = 2.0 * hRe * hIm;
    } else {
        const double m = airfoil_.m;
        const double mod = std::pow(hRe * hRe + hIm * hIm, 0.5 * m), arg = m * std::atan2(hIm, hRe);
        wtRe = mod * std::cos(arg);
        wtIm = mod * std::sin(arg);
    }
    const double wRe = wtRe * c_.cosMB + wtIm * c_.sinMB, wIm = wtIm * c_.cosMB - wtRe * c_.sinMB;
    const double oRe = 1.0 - wRe, oIm = -wIm, invO = 1.0 / (oRe * oRe + oIm * oIm);
    const double rRe = (wRe * oRe + wIm * oIm) * invO, rIm = (wIm * oRe - wRe * oIm) * invO;
    const FlowPoint z{1.0 + c_.twoMb * rRe, c_.twoMb * rIm};
    // Only the critical point zeta = -1 (on the circle when F = 0: a circular arc's leading edge,
    // where its front stagnation point lies at the ideal angle) has no finite value here; it maps
    // to 1 - 2 m b on the chord line, the leading edge itself.
    if (!std::isfinite(z.x) || !std::isfinite(z.y)) return {1.0 - c_.twoMb, 0.0};
    return z;
}

FlowPoint FlowField::toCircle(FlowPoint z) const {
    // as in the kernel: w = (z - 1)/(z - 1 + 2 m b), the root of w e^(i m beta) turned back by
    // e^(-i beta) is q, and zeta = (1 + q)/(1 - q)
    const double dRe = z.x - 1.0, dIm = z.y, nRe = dRe + c_.twoMb, invN2 = 1.0 / (nRe * nRe + dIm * dIm);
    const double wRe = (dRe * nRe + dIm * dIm) * invN2, wIm = (dIm * nRe - dRe * dIm) * invN2;
    const double sRe = wRe * c_.cosMB - wIm * c_.sinMB, sIm = wRe * c_.sinMB + wIm * c_.cosMB;
    const double mod = std::pow(sRe * sRe + sIm * sIm, c_.halfInvM), arg = std::atan2(sIm, sRe) * c_.invM;
    const double hRe = mod * std::cos(arg), hIm = mod * std::sin(arg);
    const double qRe = hRe * c_.cosB - hIm * c_.sinB, qIm = hRe * c_.sinB + hIm * c_.cosB;
    const double oRe = 1.0 - qRe, inv = 1.0 / (oRe * oRe + qIm * qIm);
    // (1 + q)/(1 - q) = ((1 + q)(1 - conj q))/|1 - q|^2
    return {((1.0 + qRe) * oRe - qIm * qIm) * inv, (qIm * oRe + (1.0 + qRe) * qIm) * inv};
}

FlowValues FlowField::atCircle(FlowPoint zeta) const {
    FlowValues out;
    const double eRe = zeta.x - 1.0, eIm = zeta.y;                      // zeta - 1
    const double tRe = zeta.x + airfoil_.F, tIm = zeta.y - airfoil_.G;  // zeta - zeta0
    const double t2 = tRe * tRe + tIm * tIm;
    // |t|^2 - R^2 = |e|^2 + 2 Re(e (1 + F + iG)), exact near the trailing edge
    const double P = (eRe * eRe + eIm * eIm) + 2.0 * (c_.t1Re * eRe + c_.t1Im * eIm);
    if (!(P >= 0.0)) {
        out.inside = true;
        out.u = out.v = out.Cp = out.psi = std::nan("");
        return out;
    }
    // dW/dzeta = b e^(-i alpha) (zeta - 1)(t - t2)/t^2, t - t2 = e + (t1 - t2)
    const double sRe = eRe + c_.t12Re, sIm = eIm + c_.t12Im;
    const double nRe = eRe * sRe - eIm * sIm, nIm = eRe * sIm + eIm * sRe;
    const double tt2Re = (tRe - tIm) * (tRe + tIm), tt2Im = 2.0 * tRe * tIm, inv4 = 1.0 / (t2 * t2);
    const double fRe = (nRe * tt2Re + nIm * tt2Im) * inv4, fIm = (nIm * tt2Re - nRe * tt2Im) * inv4;
    double dRe = c_.b * (fRe * c_.cosA + fIm * c_.sinA), dIm = c_.b * (fIm * c_.cosA - fRe * c_.sinA);
    if (c_.byHand) {
        // + i b dgamma / t, dgamma = m^2 extraGammaOverM2
        const double k = c_.b * c_.extraGammaOverM2 * airfoil_.m * airfoil_.m / t2;
        dRe += k * tIm;
        dIm += k * tRe;
    }
    out.u = dRe;
    out.v = -dIm;
    out.Cp = 1.0 - (dRe * dRe + dIm * dIm);
    const double across = c_.cosA * tIm - c_.sinA * tRe;  // Im(e^(-i alpha) t)
    out.psi = c_.b * across * (P / t2) + c_.halfGammaB * std::log1p(P * (0.25 * c_.inv4OverR2));
    return out;
}

}  // namespace orvek
