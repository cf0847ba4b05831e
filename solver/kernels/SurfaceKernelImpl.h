#pragma once
// The surface-point formulas, written once for any lane width, over an instruction set's lane
// operations `Ops` (KernelsFor.h lists them); included only through KernelsFor.h.
//
// The formulas are those of the mapping in Solver.h, rearranged so that no step subtracts nearly
// equal numbers near the critical points zeta = +1 (trailing edge) and zeta = -1 (close to the
// leading edge of a thin airfoil). With h = theta/2, sh = sin h, ch = cos h:
//   p = -F cos(theta) + G sin(theta), S = sqrt(1 + 2F + p^2), r = p + S on the circle, and
//   r - 1 = 2 (p + F) / (1 + S - p) with p + F = 2 sh (F sh + G ch);
//   |zeta - 1|^2 = (r - 1)^2 + 4 r sh^2,  |zeta + 1|^2 = (r - 1)^2 + 4 r ch^2;
//   (zeta - 1)/(zeta + 1) = ((r - 1)(r + 1) + 2 i r sin(theta)) / |zeta + 1|^2, whose argument is phi.
// The circle speed 2 (sin(alpha + beta) + sin psi) is 2 Im((zeta - 1) k) with the constant
// k = (1 + F + iG) e^(-i(alpha + beta)) / R^2, which vanishes at the trailing edge as zeta - 1 does
// instead of as the difference of two sines; zeta - 1 = (r - 1 - 2 r sh^2) + i r sin(theta).
// Then, as before: w = rho^m e^(i m phi), D = |1 - w|^2, x + iy = m b (1 + w)/(1 - w) - shift and
// 1-Cp = (circle speed * |zeta + 1|^2 * D / (4 m^2 rho^(m-1)))^2.

#include "solver/Complex.h"
#include "solver/kernels/LaneBlocks.h"
#include "solver/kernels/SurfaceKernel.h"

#include <cstddef>

namespace orvek {
namespace {

template <class Ops>
struct SurfaceKernelImpl {
    using V = typename Ops::V;
    static constexpr std::size_t W = Ops::Width;

    struct Point {
        V x, y, Cu;
    };

    static Point point(const PointConstants& c, V theta) {
        V sh, ch;
        Ops::sincos(theta * 0.5, sh, ch);
        const V sinT = 2.0 * sh * ch;
        const V cosT = (ch - sh) * (ch + sh);
        const V p = c.airfoil.G * sinT - c.airfoil.F * cosT;  // centre offset along the ray
        const V S = Ops::sqrt(c.onePlus2F + p * p);
        const V rm1 = (4.0 * sh) * (c.airfoil.F * sh + c.airfoil.G * ch) / ((1.0 + S) - p);  // r - 1
        const V r = 1.0 + rm1;
        const V rm1sq = rm1 * rm1;
        const V fourR = 4.0 * r;
        const V dMinus2 = rm1sq + fourR * (sh * sh);  // |zeta - 1|^2
        const V dPlus2 = rm1sq + fourR * (ch * ch);   // |zeta + 1|^2
        const V rho2 = dMinus2 / dPlus2;
        const Complex<V> ratio{rm1 * (r + 1.0), 2.0 * r * sinT};  // (zeta - 1)/(zeta + 1), times |zeta + 1|^2
        V rhoM, cosMPhi, sinMPhi;
        if (c.joukowsky) {
            const Complex<V> turn = square(ratio) * (1.0 / norm(ratio));  // e^(2 i phi)
            rhoM = rho2;
            cosMPhi = turn.re;
            sinMPhi = turn.im;
        } else {
            // The principal argument keeps each point on its own side of the trailing edge.
            const V phi = Ops::atan2(ratio.im, ratio.re);
            rhoM = Ops::pow(rho2, c.halfM);
            Ops::sincos(c.airfoil.m * phi, sinMPhi, cosMPhi);
        }
        const V rho2M = rhoM * rhoM;
        const V D = (1.0 + rho2M) - (2.0 * rhoM) * cosMPhi;  // |1 - w|^2
        const V invD = 1.0 / D;
        Point out;
        out.x = c.mb * (1.0 - rho2M) * invD - c.shift;
        out.y = c.mb2 * rhoM * sinMPhi * invD;
        // zeta - 1, then the circle speed (halved) as Im((zeta - 1) k)
        const Complex<V> zm1{rm1 - 2.0 * r * (sh * sh), r * sinT};
        const V speed = (zm1 * c.k).im;
        const V a = speed * dPlus2 * (D / rhoM);
        out.Cu = a * a * rho2 * c.inv4m4;
        return out;
    }

    static bool run(const PointConstants& c, const SurfaceRun& s) {
        const V lanes = Ops::iota() * s.tStep;
        V finite = Ops::splat(0.0);  // stays 0 unless a value is infinite or not a number
        forEachBlock<W>(s.count, [&](std::size_t done, std::size_t n) {
            V t = (s.tFirst + static_cast<double>(done) * s.tStep) + lanes;
            if (n < W) t = Ops::fillTail(t, n);  // lanes past the run repeat a valid angle
            // theta = sign * (t * dTheta), exactly as the loop over the circle forms it
            const Point q = point(c, s.sign * (t * c.dTheta));
            Ops::store(s.x + done, q.x, n);
            Ops::store(s.y + done, q.y, n);
            Ops::store(s.Cu + done, q.Cu, n);
            finite = finite + (q.x * 0.0 + q.y * 0.0 + q.Cu * 0.0);
        });
        return Ops::allZero(finite);
    }
};

}  // namespace
}  // namespace orvek
