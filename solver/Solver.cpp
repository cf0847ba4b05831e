#include "solver/Solver.h"

#include "export/NumberFormat.h"

#include <cmath>

namespace orvek {

namespace {

const char* const CannotCalculate = "Cannot calculate: ";
const char* const CannotCalculateAirfoil = "Cannot calculate this airfoil: ";

// Anchor the rotation recurrence for the polar angle's sine and cosine at an exactly computed
// angle this often, so that its rounding error stays near 1e-15.
constexpr long AnchorEvery = 1;

struct PointConstants {
    double F, G, m, mb, mb2, shift, onePlus2F, dOverR, cosDelta, sinDelta, cosAlpha, sinAlpha,
        sinAlphaBeta, twoM;
    bool joukowsky;
};

// One surface point at polar angle theta, given by its sine and cosine. The formulas are those of
// the mapping in Solver.h, with the transcendental calls reduced: sin(theta + delta), sin(psi)
// and cos(gamma) by angle addition, one power rho^m reused for rho^2m and rho^(m-1), and for the
// Joukowsky exponent the argument of (zeta-1)/(zeta+1) doubled without any trigonometric call.
inline void surfacePoint(const PointConstants& c, double sinT, double cosT, double& xOut, double& yOut,
                         double& cuOut) {
    const double p = -c.F * cosT + c.G * sinT;            // centre offset along the ray
    const double r = p + std::sqrt(c.onePlus2F + p * p);   // ray meets the circle
    const double rr = 1.0 + r * r;
    const double twoRCos = 2.0 * r * cosT;
    const double dPlus = std::sqrt(rr + twoRCos);          // |zeta + 1|
    const double dMinus = std::sqrt(rr - twoRCos);         // |zeta - 1|
    const double rho = dMinus / dPlus;
    double rhoM, cosMPhi, sinMPhi;
    if (c.joukowsky) {
        // (zeta-1)/(zeta+1) = (r^2 - 1 + 2 i r sin(theta)) / |zeta+1|^2
        const double inv = 1.0 / (dPlus * dMinus);
        const double cosPhi = (r * r - 1.0) * inv;
        const double sinPhi = 2.0 * r * sinT * inv;
        rhoM = rho * rho;
        cosMPhi = cosPhi * cosPhi - sinPhi * sinPhi;
        sinMPhi = 2.0 * sinPhi * cosPhi;
    } else {
        // Principal argument, so the point stays on its own side of the trailing edge.
        const double phi = std::atan2(2.0 * sinT, r - 1.0 / r);
        rhoM = std::pow(rho, c.m);
        cosMPhi = std::cos(c.m * phi);
        sinMPhi = std::sin(c.m * phi);
    }
    const double rho2M = rhoM * rhoM;
    const double D = (1.0 + rho2M) - (2.0 * rhoM) * cosMPhi;  // |1 - w|^2
    xOut = (c.mb * (1.0 - rho2M)) / D - c.shift;
    yOut = (c.mb2 * rhoM * sinMPhi) / D;

    const double s = c.dOverR * (sinT * c.cosDelta + cosT * c.sinDelta);  // sin(gamma)
    const double cosGamma = std::sqrt(1.0 - s * s);
    const double sinTA = sinT * c.cosAlpha - cosT * c.sinAlpha;  // sin(theta - alpha)
    const double cosTA = cosT * c.cosAlpha + sinT * c.sinAlpha;  // cos(theta - alpha)
    const double sinPsi = sinTA * cosGamma - cosTA * s;
    const double t = c.twoM / dPlus;
    const double J = (t * t * (rhoM / rho)) / D;  // |dz/dzeta| per unit of b
    const double V = 2.0 * (c.sinAlphaBeta + sinPsi) / J;
    cuOut = V * V;
}

void fillSurface(const SolverInput& in, const MappingConstants& k, SurfacePoints& pts) {
    const auto N = static_cast<std::size_t>(in.N1);
    pts.x.assign(N + 1, 0.0);
    pts.y.assign(N + 1, 0.0);
    pts.Cu.assign(N + 1, 0.0);
    std::vector<unsigned char> written(N + 1, 0);

    const PointConstants c{in.F, in.G, in.m, k.mb, k.mb * 2.0, k.shift, 1.0 + 2.0 * in.F, k.dOverR,
                           std::cos(k.delta), std::sin(k.delta), std::cos(k.alpha), std::sin(k.alpha),
                           std::sin(k.alpha + k.beta), 2.0 * in.m, in.m == 2.0};
    const double K = loopBound(in.N1, in.F);
    const double dTheta = (2.0 * in.Pi) / k.steps;
    const double cosStep = std::cos(dTheta), sinStep = std::sin(dTheta);
    double cosA = 1.0, sinA = 0.0;  // cosine and sine of (i - 1) * dTheta
    for (long i = 2; i <= K; ++i) {
        if ((i - 2) % AnchorEvery == 0) {
            const double angle = static_cast<double>(i - 1) * dTheta;
            cosA = std::cos(angle);
            sinA = std::sin(angle);
        } else {
            const double nextCos = cosA * cosStep - sinA * sinStep;
            sinA = sinA * cosStep + cosA * sinStep;
            cosA = nextCos;
        }
        // Pass 1: lower surface, theta = -(i-1) dTheta, index i.
        const auto lower = static_cast<std::size_t>(i);
        surfacePoint(c, -sinA, cosA, pts.x[lower], pts.y[lower], pts.Cu[lower]);
        written[lower] = 1;
        // Pass 2: upper surface, theta = +(i-1) dTheta, index N1 + 1 - i (written last at the middle).
        const std::size_t upper = N + 1 - lower;
        surfacePoint(c, sinA, cosA, pts.x[upper], pts.y[upper], pts.Cu[upper]);
        written[upper] = 1;
    }

    // Trailing edge, index 1 and again index N1. The Joukowsky trailing edge is a cusp with the
    // finite speed cos(alpha + beta) / R; any other exponent gives a corner and a stagnation point.
    pts.x[1] = in.Chord;
    pts.x[N] = pts.x[1];
    pts.y[1] = 0.0;
    pts.y[N] = pts.y[1];
    const double cosTE = std::cos(k.alpha + k.beta);
    pts.Cu[1] = in.m == 2.0 ? (cosTE * cosTE) / k.R2 : 0.0;
    pts.Cu[N] = pts.Cu[1];
    written[1] = written[N] = 1;

    pts.unset.clear();
    for (std::size_t i = 1; i <= N; ++i) {
        if (!written[i]) pts.unset.push_back(i);
    }
}

std::string valueText(double v) { return shortestText(v); }

}  // namespace

double loopBound(double N1, double F) { return F == 0.0 ? (N1 - 1.0) / 2.0 : (N1 - 1.0) / 2.0 + 1.0; }

std::optional<std::string> inputFault(const SolverInput& in) {
    const std::string calc = CannotCalculate;
    const std::string airfoil = CannotCalculateAirfoil;
    if (!std::isfinite(in.N1) || in.N1 != std::floor(in.N1)) {
        return calc + "the number of points NP must be a whole number, not " + roundedDisplayText(in.N1, 6) + ".";
    }
    if (in.N1 < 2) return calc + "the number of points NP must be at least 2, not " + roundedDisplayText(in.N1, 0) + ".";
    if (in.N1 > MaxPoints) {
        return calc + "the number of points NP must be at most " + roundedDisplayText(MaxPoints, 0) + ", not " +
               roundedDisplayText(in.N1, 0) + ".";
    }
    if (!std::isfinite(in.AlfaD)) return calc + "the angle of attack is not a finite number.";
    const struct { const char* name; double value; } parameters[] = {
        {"F", in.F}, {"G", in.G}, {"the exponent m", in.m}, {"the chord", in.Chord}};
    for (const auto& p : parameters) {
        if (!std::isfinite(p.value)) return airfoil + p.name + " is not a finite number.";
    }
    if (in.m == 0.0) return airfoil + "the exponent m is 0.";
    if (in.F == -1.0) return airfoil + "F is -1.";
    if (in.F > -1.0 && in.F < 0.0 && in.m != std::floor(in.m)) {
        return airfoil + "F is negative (" + valueText(in.F) + ") and the exponent m is not a whole number (" +
               valueText(in.m) + ").";
    }
    const double b = (in.Chord / (2.0 * in.m)) * (1.0 - std::pow(in.F / (1.0 + in.F), in.m));
    if (b == 0.0) return airfoil + "the mapping scale b is 0.";
    if (in.F < -0.5) return airfoil + "F is below -1/2 (" + valueText(in.F) + "), so the circle does not enclose the origin.";
    return std::nullopt;
}

SolverResult coefficients(const SolverInput& in) {
    SolverResult out;
    MappingConstants& k = out.k;
    const double F = in.F, G = in.G, m = in.m, Chord = in.Chord, Pi = in.Pi;
    k.steps = in.N1 - 1.0;
    k.b = (Chord / (2.0 * m)) * (1.0 - std::pow(F / (1.0 + F), m));
    k.mb = m * k.b;
    k.chordOverB = Chord / k.b;
    k.shift = k.mb - Chord;
    k.beta = std::atan(G / (1.0 + F));
    k.R2 = (1.0 + F) * (1.0 + F) + G * G;
    k.R = std::sqrt(k.R2);
    k.dOverR = std::sqrt((F * F + G * G) / k.R2);
    k.delta = std::atan2(G, F);  // angle of the centre vector; equals atan(G/F) for F > 0
    k.alpha = (in.AlfaD * Pi) / 180.0;
    k.Gamma = (((4.0 * Pi) * k.R) * k.b) * std::sin(k.alpha + k.beta);
    out.CL = (2.0 * k.Gamma) / Chord;
    const double normalLift = out.CL * std::cos(k.alpha);
    const double A = ((4.0 * (m * m - 1.0)) / 3.0) / (k.chordOverB * k.chordOverB) * Pi * std::sin(2.0 * k.alpha);
    const double B = ((8.0 * Pi) * k.R) / (k.chordOverB * k.chordOverB) * (F * std::cos(k.alpha) - G * std::sin(k.alpha)) *
                     std::sin(k.alpha + k.beta);
    k.CM0 = A + B;
    out.CMc4 = k.CM0 - normalLift * (std::fabs(k.shift) / Chord - 0.25);
    out.Alfa0 = (-k.beta * 180.0) / Pi;
    out.textCL = roundedDisplayText(out.CL, 3);
    out.textCMc4 = roundedDisplayText(out.CMc4, 3);
    out.textAlfa0 = roundedDisplayText(out.Alfa0, 2);
    return out;
}

std::optional<std::string> nonFiniteQuantity(const SolverResult& r) {
    const struct { const char* name; double value; } scalars[] = {
        {"the mapping scale b", r.k.b},      {"the zero-lift angle", r.k.beta}, {"the circle radius", r.k.R},
        {"the centre distance", r.k.dOverR}, {"the angle of attack", r.k.alpha}, {"the lift coefficient CL", r.CL},
        {"the moment coefficient CMc/4", r.CMc4}, {"the zero-lift angle Alfa0", r.Alfa0}};
    for (const auto& s : scalars) {
        if (!std::isfinite(s.value)) return std::string(s.name) + " is not a finite number";
    }
    const struct { const char* name; const std::vector<double>* values; } arrays[] = {
        {"x", &r.points.x}, {"y", &r.points.y}, {"1-Cp", &r.points.Cu}};
    for (const auto& a : arrays) {
        const std::vector<double>& v = *a.values;
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (!std::isfinite(v[i])) {
                return std::string("the surface value ") + a.name + " at point " + std::to_string(i) + " is not a finite number";
            }
        }
    }
    return std::nullopt;
}

SolverOutcome ORVEK(const SolverInput& in) {
    SolverOutcome outcome;
    if (std::optional<std::string> fault = inputFault(in)) {
        outcome.error = *fault;
        return outcome;
    }
    SolverResult result = coefficients(in);
    fillSurface(in, result.k, result.points);
    if (std::optional<std::string> bad = nonFiniteQuantity(result)) {
        outcome.error = std::string(CannotCalculateAirfoil) + *bad + ".";
        return outcome;
    }
    outcome.result = std::move(result);
    return outcome;
}

}  // namespace orvek
