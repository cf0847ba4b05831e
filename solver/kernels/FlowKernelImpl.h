#pragma once
// The flow-field formulas, written once for any lane width, over an instruction set's lane
// operations `Ops` (KernelsFor.h lists them); included only through KernelsFor.h.
//
// From a point z of the airfoil plane back to the circle plane, with q = (zeta - 1)/(zeta + 1):
//   w = q^m = (z - 1)/(z - 1 + 2 m b),  1 - w = 2 m b/(z - 1 + 2 m b)   (no cancellation near z = 1).
// The flow's part of the q plane is the disk that the circle's exterior becomes: it passes through
// q = 0 (the trailing edge) tangent to the line Re(q e^(i beta)) = 0 and lies on its positive side,
//   q in the flow  <=>  Q = R Re(q e^(i beta)) - F |q|^2 >= 0.
// So the root is taken of w e^(i m beta), whose argument then lies within +-m pi/2 for every flow
// point: the principal root of that rotated value, turned back by e^(-i beta), is the one branch
// whose zeta lies outside the circle. Rotated values outside that sector, and Q < 0, are inside.
//
// The complex velocity u - iv = dW/dz = W'(zeta)/(dz/dzeta), with W about the circle (t = zeta - zeta0)
//   W = b (e^(-i alpha) t + R^2 e^(i alpha)/t) + i b gamma log t,  gamma = 2 R sin(alpha + beta),
// factors through its two zeros t1 = 1 - zeta0 (the trailing edge, by the Kutta condition) and
// t2 = -R^2 e^(2 i alpha)/t1 (the front stagnation point), and dz/dzeta = m^2 b q^(m-1) (1-q)^2/(1-w)^2:
//   u - iv = e^(-i alpha) (2/m^2) (q^2/w) ((1 - w)/(1 - q))^2 S / T^2,
//   T = t (1 - q) = t1 + (2 - t1) q,   S = (t - t2)(1 - q) = 2q + (t1 - t2)(1 - q).
// Near the trailing edge the zero of W' is the factor q itself instead of a difference of two
// nearly equal terms. The stream function, zero on the circle:
//   psi = b Im(e^(-i alpha) t)(1 - R^2/|t|^2) + b (gamma/2) log(|t|^2/R^2), where
//   1 - R^2/|t|^2 = 4 Q/|T|^2  and  |t|^2/R^2 = 1 + 4 Q/(R^2 |1 - q|^2).

#include "solver/Complex.h"
#include "solver/kernels/FlowKernel.h"
#include "solver/kernels/LaneBlocks.h"

#include <cstddef>
#include <limits>

namespace orvek {
namespace {

template <class Ops>
struct FlowKernelImpl {
    using V = typename Ops::V;
    static constexpr std::size_t W = Ops::Width;

    struct Values {
        V u, v, cp, psi;
    };

    static Values point(const FlowConstants& c, V x, V y) {
        using C = Complex<V>;
        const C d{x - 1.0, y};            // z - 1
        const C n{d.re + c.twoMb, d.im};  // z - 1 + 2 m b
        const V invN2 = 1.0 / norm(n);    // 1/|z - 1 + 2 m b|^2
        const C w = timesConj(d, n) * invN2;
        const C omw = conj(c.twoMb * n) * invN2;  // 1 - w
        // s = w e^(i m beta); its principal root of order m is q e^(i beta)
        const C s = w * c.turnMBeta;
        C h;  // q e^(i beta)
        if (c.joukowsky) {
            // principal square root, each part from the larger of |s| +- Re s
            const V mag = Ops::sqrt(norm(s));
            const V absRe = s.re < 0.0 ? -s.re : s.re;
            const V big = Ops::sqrt(0.5 * (mag + absRe));
            const V small = big > 0.0 ? 0.5 * s.im / big : Ops::splat(0.0);  // signed
            const V absSmall = small < 0.0 ? -small : small;
            const V signedBig = s.im < 0.0 ? -big : big;
            h.re = s.re >= 0.0 ? big : absSmall;
            h.im = s.re >= 0.0 ? small : signedBig;
        } else {
            const V a = Ops::fastAtan2(s.im, s.re);
            const V mod = Ops::exp(c.halfInvM * Ops::fastLog(norm(s)));  // |s|^(1/m)
            C turn;
            Ops::fastSincos(a * c.invM, turn.im, turn.re);
            h = mod * turn;
        }
        const V q2 = norm(h);               // |q|^2
        const V Q = c.R * h.re - c.F * q2;  // >= 0 in the flow
        const C q = h * c.turnBackBeta;

        const C omq = 1.0 - q;
        const V omq2 = norm(omq);
        const C T = c.t1 + c.twoMinusT1 * q;
        const C S = 2.0 * q + c.t12 * omq;

        // q^(2-m) = q^2 / w; at the trailing edge itself 1 for the cusp, 0 for a corner
        const V w2 = norm(w);
        const V invW2 = w2 > 0.0 ? 1.0 / w2 : Ops::splat(0.0);
        const C qqw = timesConj(square(q), w) * invW2;
        const C p{w2 > 0.0 ? qqw.re : Ops::splat(c.joukowsky ? 1.0 : 0.0), w2 > 0.0 ? qqw.im : Ops::splat(0.0)};
        // ((1 - w)/(1 - q))^2
        const V invOmq2 = 1.0 / omq2;
        const C r2 = square(timesConj(omw, omq) * invOmq2);
        // S / T^2
        const V invT2 = 1.0 / norm(T);
        const C f = timesConj(S, square(T)) * (invT2 * invT2);
        // product of the three factors, then e^(-i alpha) 2/m^2
        C cv = c.twoOverM2 * timesConj((p * r2) * f, c.turnAlpha);  // u - iv
        if (c.byHand) {
            // Circulation beyond the Kutta value adds i b dgamma/t to dW/dzeta, which the mapping
            // turns into i (dgamma/m^2) (q/w) (1 - w)^2 / ((1 - q) T): infinite at the trailing edge
            // itself (q = 0), where u is given as infinite.
            const C qw = timesConj(q, w) * invW2;  // q/w
            const C D = omq * T;                   // (1 - q) T
            const C e = timesConj(qw * square(omw), D) * (1.0 / norm(D));
            const V infinite = Ops::splat(std::numeric_limits<double>::infinity());
            cv.re = w2 > 0.0 ? cv.re - c.extraGammaOverM2 * e.im : infinite;
            cv.im = w2 > 0.0 ? cv.im + c.extraGammaOverM2 * e.re : cv.im;
        }

        // Im(e^(-i alpha) t) with t = T/(1 - q)
        const C tc = timesConj(T, omq);  // T conj(1 - q)
        const V across = (c.turnAlpha.re * tc.im - c.turnAlpha.im * tc.re) * invOmq2;
        // (log of 1 + x rather than log1p: the stream function needs its error absolute near the body)
        const V psi = c.b * across * (4.0 * Q * invT2) + c.halfGammaB * Ops::fastLog(1.0 + c.inv4OverR2 * Q * invOmq2);

        Values out;
        const V nan = Ops::splat(std::numeric_limits<double>::quiet_NaN());
        const auto flow = Q >= 0.0;  // false inside and for w beyond every number
        out.u = flow ? cv.re : nan;
        out.v = flow ? -cv.im : nan;
        out.cp = flow ? 1.0 - norm(cv) : nan;
        out.psi = flow ? psi : nan;
        return out;
    }

    static void run(const FlowConstants& c, const FlowRun& r) {
        forEachBlock<W>(r.count, [&](std::size_t done, std::size_t n) {
            const Values o = point(c, Ops::load(r.x + done, n), Ops::load(r.y + done, n));
            Ops::store(r.u + done, o.u, n);
            Ops::store(r.v + done, o.v, n);
            Ops::store(r.cp + done, o.cp, n);
            Ops::store(r.psi + done, o.psi, n);
        });
    }
};

}  // namespace
}  // namespace orvek
