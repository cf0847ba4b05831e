#pragma once
/// \file
/// The potential flow around a Karman-Trefftz airfoil, at any point of the plane.
///
/// Frame of the surface points: chord 1, leading edge (0, 0), trailing edge (1, 0), unit free
/// stream at the angle of attack \f$\alpha\f$ to the x axis. With the circle of `Solver.h`
/// (centre \f$\zeta_0 = -F + iG\f$, radius R) and \f$t = \zeta - \zeta_0\f$, the complex potential
/// \f[ W = b\left(e^{-i\alpha} t + \frac{R^2 e^{i\alpha}}{t}\right) + i b \gamma \log t, \qquad
///     \gamma = 2R\sin(\alpha + \beta) \f]
/// (b the mapping scale: far away \f$z \approx b\zeta\f$) has the Kutta condition at the trailing
/// edge \f$\zeta = 1\f$. The velocity is \f$u - iv = dW/dz\f$, \f$C_p = 1 - (u^2 + v^2)\f$, and the
/// stream function \f$\psi = \operatorname{Im} W - b\gamma\ln R\f$ is zero on the airfoil and about
/// \f$y\cos\alpha - x\sin\alpha\f$ far away. `FlowKernelImpl.h` gives the well-conditioned form.
///
/// The circulation may also be set by hand, to see what the Kutta condition does: as
/// \f$\Gamma\f$ in units of the free-stream speed times the chord (\f$C_L = 2\Gamma\f$ by the
/// Kutta-Joukowski theorem), so \f$\gamma = \Gamma/(2\pi b)\f$. Away from the Kutta value the rear
/// stagnation point leaves the trailing edge, and the speed at a sharp trailing edge is infinite.
/// With \f$|\gamma| > 2R\f$ both zeros of the circle's velocity leave the circle: one lies in the
/// flow (a free stagnation point), the other inside.

#include "solver/Airfoil.h"
#include "solver/Expected.h"
#include "solver/kernels/FlowKernel.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace orvek {

struct FlowPoint {
    double x = 0, y = 0;
};

/// The two planes the flow is seen in: the airfoil's, and the circle's it is mapped from.
enum class StreamPlane { Airfoil, Circle };

/// A rectangle of a plane (the airfoil's or the circle's): x from x0 to x1, y from y0 to y1. The
/// region a streamline request covers, a view of the flow shows and a picture of it spans.
struct Extent {
    double x0 = -1, x1 = 2, y0 = -1, y1 = 1;

    double width() const { return x1 - x0; }
    double height() const { return y1 - y0; }
    bool contains(FlowPoint p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
};

/// The flow at one point; inside the airfoil only `inside` is meaningful (the rest is NaN).
struct FlowValues {
    double u = 0, v = 0, Cp = 0, psi = 0;
    bool inside = false;
};

/// Points and the flow at them as arrays; `run()` hands all of them to `FlowField::evaluate`.
struct FlowSamples {
    std::vector<double> x, y, u, v, cp, psi;

    explicit FlowSamples(std::size_t n = 0) { resize(n); }
    void resize(std::size_t n) {
        for (std::vector<double>* a : {&x, &y, &u, &v, &cp, &psi}) a->resize(n);
    }
    FlowRun run() { return {x.size(), x.data(), y.data(), u.data(), v.data(), cp.data(), psi.data()}; }
};

/// How far from the airfoil the field is evaluated: |x| and |y| up to FlowReach chords, where every
/// value holds 1e-10. Beyond it the inverse mapping's 1 - w^(1/m) loses digits in proportion to the
/// distance (1e-4 at 1e12 chords, Cp = 1 from 1e18) and from about 1e154 chords overflows.
constexpr double FlowReach = 1e5;

/// Whether the point lies within FlowReach, and if not why, as a sentence.
Status checkFlowPoint(FlowPoint z);

class FlowField {
public:
    /// The flow about `airfoil` at `alphaDegrees`, or why there is none. The airfoil must pass
    /// checkSimpleAirfoil (its circle encloses the mapping's critical point -1, F >= 0, and its
    /// mapping is one to one, the image a simple airfoil, 1 < m <= 2, within the calculated
    /// domain); the angle of attack lies within +-360 degrees.
    /// `circulation`: Gamma set by hand (|Gamma| at most MaxCirculation); without it the Kutta
    /// condition fixes it, and the values are exactly those of the Kutta flow.
    static Expected<FlowField> make(const Airfoil& airfoil, double alphaDegrees,
                                    std::optional<double> circulation = std::nullopt);

    /// The largest circulation set by hand, either way (a lift coefficient of 2000).
    static constexpr double MaxCirculation = 1000;

    /// The values at one point of the airfoil plane (plain double arithmetic).
    FlowValues at(FlowPoint z) const;

    /// The values at `run.count` points, with the preferred instruction set; large requests are
    /// split over the cores. A point's values depend neither on the split nor on its neighbours.
    void evaluate(const FlowRun& run) const;
    void evaluate(const FlowRun& run, InstructionSet set, unsigned threads) const;

    /// The stagnation points, the front one first. In the airfoil plane, by the Kutta condition:
    /// the front one, and the trailing edge (1, 0) unless the airfoil is a Joukowsky one (its cusp
    /// keeps a finite speed). In the circle plane (zeta): the front one and zeta = 1 for every
    /// airfoil (both zeros of dW/dzeta). With the circulation set by hand, in either plane: the
    /// circle's two stagnation points (front first), or, when they have left the circle, the one
    /// free stagnation point in the flow.
    std::vector<FlowPoint> stagnationPoints(StreamPlane plane = StreamPlane::Airfoil) const;

    /// The circle plane: the image in the airfoil plane of the circle-plane point zeta, given by
    /// zeta - 1 (exact near the trailing edge); zeta must lie on or outside the circle.
    FlowPoint toAirfoil(double zetaMinusOneRe, double zetaMinusOneIm) const;
    /// The circle-plane point zeta whose image is z, a point of the flow (the inverse of toAirfoil).
    FlowPoint toCircle(FlowPoint z) const;
    /// The flow in the circle plane at zeta: the velocity there (dW/dzeta conjugated), psi, and
    /// whether zeta is inside the circle. Cp is that of the circle plane's own speed.
    FlowValues atCircle(FlowPoint zeta) const;

    const Airfoil& airfoil() const { return airfoil_; }
    double alphaRadians() const { return alphaRadians_; }
    double betaRadians() const { return betaRadians_; }  ///< minus the zero-lift angle
    double radius() const { return c_.R; }
    FlowPoint centre() const { return {-airfoil_.F, airfoil_.G}; }
    double mappingScale() const { return c_.b; }
    /// The polar angle about the centre of the front stagnation point.
    double frontStagnationAngle() const;
    const FlowConstants& constants() const { return c_; }

    /// Whether the Kutta condition fixes the circulation (it was not set by hand).
    bool kutta() const { return !byHand_; }
    /// Gamma in units of the free-stream speed times the chord: the one set by hand, or the Kutta
    /// value (half the solver's CL). The lift coefficient of the flow is twice it.
    double circulation() const { return byHand_ ? circulation_ : kuttaCirculation(); }
    /// The Kutta condition's Gamma at this angle: 4 pi b R sin(alpha + beta).
    double kuttaCirculation() const;
    /// gamma / (2R): the sine of the stagnation points' angle below the free stream's direction
    /// about the centre (sin(alpha + beta) for the Kutta flow); beyond 1 in size, they leave the circle.
    double circulationRatio() const;

private:
    FlowField() = default;
    Airfoil airfoil_;
    double alphaRadians_ = 0, betaRadians_ = 0;
    bool byHand_ = false;
    double circulation_ = 0;
    FlowConstants c_;
};

}  // namespace orvek
