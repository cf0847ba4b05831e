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

#include "solver/kernels/FlowKernel.h"

#include <cstddef>
#include <cstring>
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

    // Lanes n.. repeat lane 0, so a partial block computes only points that were asked for.
    static V load(const double* from, std::size_t n) {
        V out = Ops::splat(from[0]);
        if (n == W) {
            std::memcpy(&out, from, sizeof out);  // one vector load
        } else {
            std::memcpy(&out, from, n * sizeof(double));
        }
        return out;
    }

    static Values point(const FlowConstants& c, V x, V y) {
        const V dRe = x - 1.0, dIm = y;                 // z - 1
        const V nRe = dRe + c.twoMb, nIm = dIm;         // z - 1 + 2 m b
        const V invN2 = 1.0 / (nRe * nRe + nIm * nIm);  // 1/|z - 1 + 2 m b|^2
        const V wRe = (dRe * nRe + dIm * nIm) * invN2, wIm = (dIm * nRe - dRe * nIm) * invN2;
        const V omwRe = c.twoMb * nRe * invN2, omwIm = -c.twoMb * nIm * invN2;  // 1 - w
        // s = w e^(i m beta); its principal root of order m is q e^(i beta)
        const V sRe = wRe * c.cosMB - wIm * c.sinMB, sIm = wRe * c.sinMB + wIm * c.cosMB;
        V hRe, hIm;  // q e^(i beta)
        if (c.joukowsky) {
            // principal square root, each part from the larger of |s| +- Re s
            const V mag = Ops::sqrt(sRe * sRe + sIm * sIm);
            const V absRe = sRe < 0.0 ? -sRe : sRe;
            const V big = Ops::sqrt(0.5 * (mag + absRe));
            const V small = big > 0.0 ? 0.5 * sIm / big : Ops::splat(0.0);  // signed
            const V absSmall = small < 0.0 ? -small : small;
            const V signedBig = sIm < 0.0 ? -big : big;
            hRe = sRe >= 0.0 ? big : absSmall;
            hIm = sRe >= 0.0 ? small : signedBig;
        } else {
            const V a = Ops::fastAtan2(sIm, sRe);
            const V mod = Ops::exp(c.halfInvM * Ops::fastLog(sRe * sRe + sIm * sIm));  // |s|^(1/m)
            V sinA, cosA;
            Ops::fastSincos(a * c.invM, sinA, cosA);
            hRe = mod * cosA;
            hIm = mod * sinA;
        }
        const V q2 = hRe * hRe + hIm * hIm;  // |q|^2
        const V Q = c.R * hRe - c.F * q2;    // >= 0 in the flow
        const V qRe = hRe * c.cosB - hIm * c.sinB, qIm = hRe * c.sinB + hIm * c.cosB;

        const V omqRe = 1.0 - qRe, omqIm = -qIm;  // 1 - q
        const V omq2 = omqRe * omqRe + omqIm * omqIm;
        const V TRe = c.t1Re + (c.twoMinusT1Re * qRe - c.twoMinusT1Im * qIm);
        const V TIm = c.t1Im + (c.twoMinusT1Re * qIm + c.twoMinusT1Im * qRe);
        const V SRe = 2.0 * qRe + (c.t12Re * omqRe - c.t12Im * omqIm);
        const V SIm = 2.0 * qIm + (c.t12Re * omqIm + c.t12Im * omqRe);

        // q^(2-m) = q^2 / w; at the trailing edge itself 1 for the cusp, 0 for a corner
        const V w2 = wRe * wRe + wIm * wIm;
        const V sqRe = (qRe - qIm) * (qRe + qIm), sqIm = 2.0 * qRe * qIm;
        const V invW2 = w2 > 0.0 ? 1.0 / w2 : Ops::splat(0.0);
        const V edge = Ops::splat(c.joukowsky ? 1.0 : 0.0);
        const V pRe = w2 > 0.0 ? (sqRe * wRe + sqIm * wIm) * invW2 : edge;
        const V pIm = w2 > 0.0 ? (sqIm * wRe - sqRe * wIm) * invW2 : Ops::splat(0.0);
        // ((1 - w)/(1 - q))^2
        const V invOmq2 = 1.0 / omq2;
        const V rRe = (omwRe * omqRe + omwIm * omqIm) * invOmq2, rIm = (omwIm * omqRe - omwRe * omqIm) * invOmq2;
        const V r2Re = (rRe - rIm) * (rRe + rIm), r2Im = 2.0 * rRe * rIm;
        // S / T^2
        const V T2Re = (TRe - TIm) * (TRe + TIm), T2Im = 2.0 * TRe * TIm;
        const V invT2 = 1.0 / (TRe * TRe + TIm * TIm);
        const V invT4 = invT2 * invT2;
        const V fRe = (SRe * T2Re + SIm * T2Im) * invT4, fIm = (SIm * T2Re - SRe * T2Im) * invT4;
        // product of the three factors, then e^(-i alpha) 2/m^2
        const V gRe = pRe * r2Re - pIm * r2Im, gIm = pRe * r2Im + pIm * r2Re;
        const V hfRe = gRe * fRe - gIm * fIm, hfIm = gRe * fIm + gIm * fRe;
        V cRe = c.twoOverM2 * (hfRe * c.cosA + hfIm * c.sinA);
        V cIm = c.twoOverM2 * (hfIm * c.cosA - hfRe * c.sinA);  // u - iv
        if (c.byHand) {
            // Circulation beyond the Kutta value adds i b dgamma/t to dW/dzeta, which the mapping
            // turns into i (dgamma/m^2) (q/w) (1 - w)^2 / ((1 - q) T): infinite at the trailing edge
            // itself (q = 0), where u is given as infinite.
            const V aRe = (qRe * wRe + qIm * wIm) * invW2, aIm = (qIm * wRe - qRe * wIm) * invW2;  // q/w
            const V o2Re = (omwRe - omwIm) * (omwRe + omwIm), o2Im = 2.0 * omwRe * omwIm;        // (1 - w)^2
            const V DRe = omqRe * TRe - omqIm * TIm, DIm = omqRe * TIm + omqIm * TRe;            // (1 - q) T
            const V invD = 1.0 / (DRe * DRe + DIm * DIm);
            const V kRe = aRe * o2Re - aIm * o2Im, kIm = aRe * o2Im + aIm * o2Re;
            const V eRe = (kRe * DRe + kIm * DIm) * invD, eIm = (kIm * DRe - kRe * DIm) * invD;
            const V infinite = Ops::splat(std::numeric_limits<double>::infinity());
            cRe = w2 > 0.0 ? cRe - c.extraGammaOverM2 * eIm : infinite;
            cIm = w2 > 0.0 ? cIm + c.extraGammaOverM2 * eRe : cIm;
        }

        // Im(e^(-i alpha) t) with t = T/(1 - q)
        const V tcRe = TRe * omqRe + TIm * omqIm, tcIm = TIm * omqRe - TRe * omqIm;  // T conj(1 - q)
        const V across = (c.cosA * tcIm - c.sinA * tcRe) * invOmq2;
        // (log of 1 + x rather than log1p: the stream function needs its error absolute near the body)
        const V psi = c.b * across * (4.0 * Q * invT2) + c.halfGammaB * Ops::fastLog(1.0 + c.inv4OverR2 * Q * invOmq2);

        Values out;
        const V nan = Ops::splat(std::numeric_limits<double>::quiet_NaN());
        const auto flow = Q >= 0.0;  // false inside and for w beyond every number
        out.u = flow ? cRe : nan;
        out.v = flow ? -cIm : nan;
        out.cp = flow ? 1.0 - (cRe * cRe + cIm * cIm) : nan;
        out.psi = flow ? psi : nan;
        return out;
    }

    static void run(const FlowConstants& c, const FlowRun& r) {
        for (std::size_t done = 0; done < r.count; done += W) {
            const std::size_t n = r.count - done < W ? r.count - done : W;
            const Values o = point(c, load(r.x + done, n), load(r.y + done, n));
            Ops::store(r.u + done, o.u, n);
            Ops::store(r.v + done, o.v, n);
            Ops::store(r.cp + done, o.cp, n);
            Ops::store(r.psi + done, o.psi, n);
        }
    }
};

}  // namespace
}  // namespace orvek
