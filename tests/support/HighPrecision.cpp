#include "HighPrecision.h"

#include "QuadComplex.h"

#include <quadmath.h>

#include <cmath>

ExactPoint exactSurfacePoint(const orvek::SolverInput& in, std::size_t index) {
    ExactPoint out;
    const double N1 = in.N1;
    const auto N = static_cast<std::size_t>(N1);
    const double K = in.airfoil.F == 0.0 ? (N1 - 1) / 2 : (N1 - 1) / 2 + 1;
    // Which pass of the loop wrote this index last: the upper one (i = N1 + 1 - index) wins.
    const double iUpper = static_cast<double>(N + 1 - index), iLower = static_cast<double>(index);
    const double dTheta = (2 * orvek::Pi) / (N1 - 1);
    double thetaD;
    if (iUpper >= 2 && iUpper <= K) {
        thetaD = (iUpper - 1) * dTheta;
    } else if (iLower >= 2 && iLower <= K) {
        thetaD = -((iLower - 1) * dTheta);
    } else {
        return out;
    }
    out.set = true;

    const quad F = in.airfoil.F, G = in.airfoil.G, m = in.airfoil.m, chord = in.Chord, one = 1, two = 2;
    const quad b = (chord / (two * m)) * (one - powq(F / (one + F), m));
    const quad mb = m * b, shift = mb - chord;
    const quad theta = thetaD;

    // The circle point on the ray at angle theta.
    const quad p = -F * cosq(theta) + G * sinq(theta);
    const quad r = p + sqrtq((one + two * F) + p * p);
    const Complex zeta{r * cosq(theta), r * sinq(theta)};
    const Complex unit{one, 0};
    const Complex w = power((zeta - unit) / (zeta + unit), m);
    const Complex z = mb * ((unit + w) / (unit - w));
    out.x = static_cast<double>(z.re - shift);
    out.y = static_cast<double>(z.im);

    // Unit free stream at angle alpha past the circle with centre zeta0 and radius R, the
    // circulation set by the Kutta condition dW/dzeta = 0 at zeta = 1:
    // dW/dzeta = e^(-i alpha) - R^2 e^(i alpha) / (zeta - zeta0)^2 + c / (zeta - zeta0), c = i Gamma / 2 pi.
    const quad alpha = static_cast<quad>(in.AlfaD) * static_cast<quad>(orvek::Pi) / 180;
    const Complex zeta0{-F, G};
    const quad R2 = (one + F) * (one + F) + G * G;
    const Complex eMinus = polar(one, -alpha), ePlus = R2 * polar(one, alpha);
    const auto flowWithout = [&](Complex at) { return eMinus - ePlus / ((at - zeta0) * (at - zeta0)); };
    const Complex te = unit - zeta0;
    const Complex c{0, -((te * flowWithout(unit)).im)};  // purely imaginary: Gamma is real
    const Complex dW = flowWithout(zeta) + c / (zeta - zeta0);
    // dz/dzeta = 4 m^2 b w / ((1 - w)^2 (zeta^2 - 1)); the airfoil's free stream is e^(-i alpha) / b.
    const Complex oneMinusW = unit - w;
    const Complex dz = (4 * m * m * b) * (w / (oneMinusW * oneMinusW * ((zeta - unit) * (zeta + unit))));
    const quad V = b * abs(dW) / abs(dz);
    out.Cu = static_cast<double>(V * V);
    return out;
}
