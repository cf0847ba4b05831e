#include "HighPrecisionFlow.h"

#include "QuadComplex.h"

#include <quadmath.h>

#include <cmath>

ExactFlowPoint exactFlowAt(const orvek::Airfoil& airfoil, double alphaD, double zetaRe, double zetaIm,
                           double circulation) {
    const quad F = airfoil.F, G = airfoil.G, m = airfoil.m, one = 1, two = 2;
    const quad b = (one / (two * m)) * (one - powq(F / (one + F), m));
    const quad mb = m * b, shift = mb - one;
    const Complex unit{one, 0}, zeta{zetaRe, zetaIm};

    // The mapping z = m b (1 + w)/(1 - w) - shift, w = ((zeta - 1)/(zeta + 1))^m: the principal
    // power is the right one for every point outside the circle (the argument of
    // (zeta - 1)/(zeta + 1) stays within a half turn of the trailing edge's outward normal).
    const Complex w = power((zeta - unit) / (zeta + unit), m);
    const Complex z = mb * ((unit + w) / (unit - w)) - Complex{shift, 0};

    // Unit free stream at angle alpha in the airfoil plane is b e^(-i alpha) about the circle;
    // the circulation makes dW/dzeta vanish at zeta = 1 (the Kutta condition).
    const quad alpha = alphaD;
    const Complex zeta0{-F, G};
    const quad R2 = (one + F) * (one + F) + G * G;
    const Complex eMinus = polar(one, -alpha), ePlus = R2 * polar(one, alpha);
    const auto flowWithout = [&](Complex at) { return eMinus - ePlus / ((at - zeta0) * (at - zeta0)); };
    const Complex te = unit - zeta0;
    // W' = ... + i gamma / t; a circulation Gamma set by hand is 2 pi b gamma
    const quad gamma =
        std::isnan(circulation) ? -((te * flowWithout(unit)).im) : quad(circulation) / (4 * acosq(quad(0)) * b);
    const Complex t = zeta - zeta0;
    const Complex dW = b * (flowWithout(zeta) + Complex{0, gamma} / t);
    const Complex oneMinusW = unit - w;
    const Complex dz = (4 * m * m * b) * (w / (oneMinusW * oneMinusW * ((zeta - unit) * (zeta + unit))));
    const Complex vel = dW / dz;  // u - iv

    // psi = Im W, with W = b (e^(-i alpha) t + R^2 e^(i alpha)/t + i gamma log t), less its value on the circle
    const Complex W = b * (eMinus * t + ePlus / t);
    const quad psi = W.im + b * gamma * (logq(abs(t)) - logq(sqrtq(R2)));

    ExactFlowPoint out;
    out.x = static_cast<double>(z.re);
    out.y = static_cast<double>(z.im);
    out.u = static_cast<double>(vel.re);
    out.v = static_cast<double>(-vel.im);
    out.Cp = static_cast<double>(one - (vel.re * vel.re + vel.im * vel.im));
    out.psi = static_cast<double>(psi);
    return out;
}
