#include "solver/Solver.h"

#include "solver/ShortestText.h"

#include <cmath>

namespace orvek {

namespace {

const char* const CannotCalculate = "Cannot calculate: ";
const char* const CannotCalculateAirfoil = "Cannot calculate this airfoil: ";

// The polar angles (i - 1) * dTheta are taken in blocks: the sine and cosine of each block's first
// angle are computed exactly, those of the offsets j * dTheta inside a block once per call, and
// angle addition joins them, to within a unit or two of the last bit.
constexpr long AngleBlock = 64;

// Near theta = 0 and theta = pi the distances |zeta - 1| and |zeta + 1| come from 1 + r^2 -+ 2 r cos
// theta, a small difference of numbers near 2 that magnifies any last-bit change of cos theta by
// up to 1e8. There the angle's sine and cosine are computed directly, exactly as the formulas
// state them, so the surface speed keeps every digit the formulas can give.
constexpr double DirectCosine = 0.98;

// What every surface point needs, computed once per calculation.
struct PointConstants {
    double F = 0, G = 0, m = 0;
    double mb = 0;            // m b: abscissa of the trailing edge before the shift
    double mb2 = 0;           // 2 m b
    double shift = 0;         // m b - chord
    double onePlus2F = 0;     // 1 + 2F: the circle's power of the origin, negated
    double dOverR = 0;        // centre distance over radius
    double cosDelta = 0, sinDelta = 0;  // direction of the centre vector (F, G)
    double cosAlpha = 0, sinAlpha = 0;
    double sinAlphaBeta = 0;  // sin(alpha + beta), the circulation term of the circle speed
    double fourM4 = 0;        // 4 m^4
    bool joukowsky = false;
};

PointConstants pointConstants(const SolverInput& in, const MappingConstants& k) {
    PointConstants c;
    c.F = in.F;
    c.G = in.G;
    c.m = in.m;
    c.mb = k.mb;
    c.mb2 = k.mb * 2.0;
    c.shift = k.shift;
    c.onePlus2F = 1.0 + 2.0 * in.F;
    c.dOverR = k.dOverR;
    c.cosDelta = std::cos(k.delta);
    c.sinDelta = std::sin(k.delta);
    c.cosAlpha = std::cos(k.alpha);
    c.sinAlpha = std::sin(k.alpha);
    c.sinAlphaBeta = std::sin(k.alpha + k.beta);
    c.fourM4 = 4.0 * in.m * in.m * in.m * in.m;
    c.joukowsky = isJoukowsky(in.m);
    return c;
}

// One surface point at polar angle theta, given by its sine and cosine. The formulas are those of
// the mapping in Solver.h, rearranged to spare transcendental calls, square roots and divisions:
// squared distances instead of distances, sin(theta + delta), sin(psi) and cos(gamma) by angle
// addition, one power rho^m reused for rho^2m, and 1-Cp = V^2 formed directly from V's parts. For
// the Joukowsky exponent the argument of (zeta-1)/(zeta+1) is doubled without trigonometry.
inline void surfacePoint(const PointConstants& c, double sinT, double cosT, double& xOut, double& yOut,
                         double& cuOut) {
    const double p = -c.F * cosT + c.G * sinT;            // centre offset along the ray
    const double r = p + std::sqrt(c.onePlus2F + p * p);   // ray meets the circle
    const double rr = 1.0 + r * r;
    const double twoRCos = 2.0 * r * cosT;
    const double dPlus2 = rr + twoRCos;                    // |zeta + 1|^2
    const double dMinus2 = rr - twoRCos;                   // |zeta - 1|^2
    const double rho2 = dMinus2 / dPlus2;                  // rho^2
    // (zeta - 1)/(zeta + 1) = (r^2 - 1 + 2 i r sin(theta)) / |zeta + 1|^2
    const double re = r * r - 1.0, im = 2.0 * r * sinT;
    double rhoM, cosMPhi, sinMPhi;
    if (c.joukowsky) {
        const double inv = 1.0 / (dPlus2 * dMinus2);
        rhoM = rho2;
        cosMPhi = (re * re - im * im) * inv;
        sinMPhi = 2.0 * re * im * inv;
    } else {
        // The principal argument keeps each point on its own side of the trailing edge.
        const double phi = std::atan2(im, re);
        rhoM = std::pow(rho2, 0.5 * c.m);
        cosMPhi = std::cos(c.m * phi);
        sinMPhi = std::sin(c.m * phi);
    }
    const double rho2M = rhoM * rhoM;
    const double D = (1.0 + rho2M) - (2.0 * rhoM) * cosMPhi;  // |1 - w|^2
    const double invD = 1.0 / D;
    xOut = c.mb * (1.0 - rho2M) * invD - c.shift;
    yOut = c.mb2 * rhoM * sinMPhi * invD;

    const double s = c.dOverR * (sinT * c.cosDelta + cosT * c.sinDelta);  // sin(gamma)
    const double cosGamma = std::sqrt(1.0 - s * s);
    const double sinTA = sinT * c.cosAlpha - cosT * c.sinAlpha;  // sin(theta - alpha)
    const double cosTA = cosT * c.cosAlpha + sinT * c.sinAlpha;  // cos(theta - alpha)
    const double sinPsi = sinTA * cosGamma - cosTA * s;
    // V = 2 (sin(alpha + beta) + sin(psi)) / J with J = (2m / |zeta + 1|)^2 rho^(m-1) / D, so
    // V^2 = (w |zeta + 1|^2 D)^2 rho^2 / (4 m^4 rho^2m) with w = sin(alpha + beta) + sin(psi).
    const double w = c.sinAlphaBeta + sinPsi;
    const double a = w * dPlus2 * D;
    cuOut = (a * a * rho2) / (c.fourM4 * rho2M);
}

void fillSurface(const SolverInput& in, const MappingConstants& k, SurfacePoints& pts) {
    const auto N = static_cast<std::size_t>(in.N1);
    // Every entry is written below or zeroed as unset, so arrays handed in for reuse keep their
    // memory and only what is new gets initialised.
    pts.x.resize(N + 1);
    pts.y.resize(N + 1);
    pts.Cu.resize(N + 1);
    std::vector<unsigned char> written(N + 1, 0);

    const PointConstants c = pointConstants(in, k);
    const double K = loopBound(in.N1, in.F);
    const double dTheta = (2.0 * in.Pi) / k.steps;
    double cosOffset[AngleBlock], sinOffset[AngleBlock];
    for (long j = 0; j < AngleBlock; ++j) {
        cosOffset[j] = std::cos(static_cast<double>(j) * dTheta);
        sinOffset[j] = std::sin(static_cast<double>(j) * dTheta);
    }
    double cosAnchor = 1.0, sinAnchor = 0.0;
    for (long i = 2; static_cast<double>(i) <= K; ++i) {
        // cosine and sine of (i - 1) * dTheta
        const long j = (i - 2) % AngleBlock;
        double cosA = 0.0, sinA = 0.0;
        if (j != 0) {
            cosA = cosAnchor * cosOffset[j] - sinAnchor * sinOffset[j];
            sinA = sinAnchor * cosOffset[j] + cosAnchor * sinOffset[j];
        }
        if (j == 0 || std::fabs(cosA) > DirectCosine) {
            const double angle = static_cast<double>(i - 1) * dTheta;
            cosA = std::cos(angle);
            sinA = std::sin(angle);
            if (j == 0) {
                cosAnchor = cosA;
                sinAnchor = sinA;
            }
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
    pts.Cu[1] = isJoukowsky(in.m) ? (cosTE * cosTE) / k.R2 : 0.0;
    pts.Cu[N] = pts.Cu[1];
    written[1] = written[N] = 1;

    pts.unset.clear();
    for (std::size_t i = 0; i <= N; ++i) {
        if (written[i]) continue;
        pts.x[i] = pts.y[i] = pts.Cu[i] = 0.0;
        if (i > 0) pts.unset.push_back(i);
    }
}

}  // namespace

double loopBound(double N1, double F) { return F == 0.0 ? (N1 - 1.0) / 2.0 : (N1 - 1.0) / 2.0 + 1.0; }

Status inputFault(const SolverInput& in) {
    // A fault of the typed inputs, and a fault of the airfoil itself.
    const auto calc = [](const std::string& why) { return Failure{CannotCalculate + why}; };
    const auto airfoil = [](const std::string& why) { return Failure{CannotCalculateAirfoil + why}; };
    if (!std::isfinite(in.N1) || in.N1 != std::floor(in.N1)) {
        return calc("the number of points NP must be a whole number, not " + shortestText(in.N1) + ".");
    }
    if (in.N1 < 2) return calc("the number of points NP must be at least 2, not " + shortestText(in.N1) + ".");
    if (in.N1 > MaxPoints) {
        return calc("the number of points NP must be at most " + shortestText(MaxPoints) + ", not " +
               shortestText(in.N1) + ".");
    }
    if (!(std::fabs(in.AlfaD) <= MaxAngleDegrees)) {
        const std::string range = "the angle of attack must be from -" + shortestText(MaxAngleDegrees) + " to " +
                                  shortestText(MaxAngleDegrees) + " degrees";
        if (std::isnan(in.AlfaD)) return calc(range + "; it is not a number.");
        if (std::isinf(in.AlfaD)) return calc(range + "; it is too large.");
        return calc(range + ", not " + shortestText(in.AlfaD) + ".");
    }
    const struct { const char* name; double value; } parameters[] = {
        {"F", in.F}, {"G", in.G}, {"the exponent m", in.m}, {"the chord", in.Chord}};
    for (const auto& p : parameters) {
        if (!std::isfinite(p.value)) return airfoil(std::string(p.name) + " is not a finite number.");
    }
    if (in.m == 0.0) return airfoil("the exponent m is 0.");
    if (in.F == -1.0) return airfoil("F is -1.");
    if (in.F > -1.0 && in.F < 0.0 && in.m != std::floor(in.m)) {
        return airfoil("F is negative (" + shortestText(in.F) + ") and the exponent m is not a whole number (" +
               shortestText(in.m) + ").");
    }
    const double b = (in.Chord / (2.0 * in.m)) * (1.0 - std::pow(in.F / (1.0 + in.F), in.m));
    if (b == 0.0) return airfoil("the mapping scale b is 0.");
    if (in.F < -0.5) return airfoil("F is below -1/2 (" + shortestText(in.F) + "), so the circle does not enclose the origin.");
    return {};
}

SolverResult coefficients(const SolverInput& in) {
    SolverResult out;
    MappingConstants& k = out.k;
    const double F = in.F, G = in.G, m = in.m, Chord = in.Chord, pi = in.Pi;
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
    k.alpha = (in.AlfaD * pi) / 180.0;
    k.Gamma = (((4.0 * pi) * k.R) * k.b) * std::sin(k.alpha + k.beta);
    out.CL = (2.0 * k.Gamma) / Chord;
    const double normalLift = out.CL * std::cos(k.alpha);
    const double A = ((4.0 * (m * m - 1.0)) / 3.0) / (k.chordOverB * k.chordOverB) * pi * std::sin(2.0 * k.alpha);
    const double B = ((8.0 * pi) * k.R) / (k.chordOverB * k.chordOverB) * (F * std::cos(k.alpha) - G * std::sin(k.alpha)) *
                     std::sin(k.alpha + k.beta);
    k.CM0 = A + B;
    out.CMc4 = k.CM0 - normalLift * (std::fabs(k.shift) / Chord - 0.25);
    out.Alfa0 = (-k.beta * 180.0) / pi;
    return out;
}

Status nonFiniteQuantity(const SolverResult& r) {
    const struct { const char* name; double value; } scalars[] = {
        {"the mapping scale b", r.k.b},      {"the zero-lift angle", r.k.beta}, {"the circle radius", r.k.R},
        {"the centre distance", r.k.dOverR}, {"the angle of attack", r.k.alpha}, {"the lift coefficient CL", r.CL},
        {"the moment coefficient CMc/4", r.CMc4}, {"the zero-lift angle Alfa0", r.Alfa0}};
    for (const auto& s : scalars) {
        if (!std::isfinite(s.value)) return Failure{std::string(s.name) + " is not a finite number"};
    }
    const struct { const char* name; const std::vector<double>* values; } arrays[] = {
        {"x", &r.points.x}, {"y", &r.points.y}, {"1-Cp", &r.points.Cu}};
    for (const auto& a : arrays) {
        const std::vector<double>& v = *a.values;
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (!std::isfinite(v[i])) {
                return Failure{std::string("the surface value ") + a.name + " at point " + std::to_string(i) +
                               " is not a finite number"};
            }
        }
    }
    return {};
}

Expected<SolverResult> ORVEK(const SolverInput& in, SurfacePoints reuse) {
    if (Status fault = inputFault(in); !fault) return Failure{fault.error()};
    SolverResult result = coefficients(in);
    result.points = std::move(reuse);
    fillSurface(in, result.k, result.points);
    if (Status finite = nonFiniteQuantity(result); !finite) {
        return Failure{std::string(CannotCalculateAirfoil) + finite.error() + "."};
    }
    return result;
}

}  // namespace orvek
