#pragma once
// Design from targets: the Karman-Trefftz airfoil of a given thickness, camber and trailing-edge
// angle, as measureAirfoil measures them.
//
// The trailing-edge angle fixes the exponent: a Karman-Trefftz airfoil has a corner of
// tau = (2 - m) * 180 degrees, so m = 2 - tau/180 (tau = 0 gives the Joukowsky cusp). Thickness and
// camber then follow F and G; a Newton iteration on the two (Jacobian by differences) finds them.
//
// Reachable range: tau from 0 to 30 degrees, camber from -0.10 to 0.10, thickness up to 0.30 and
// at least tan(tau/4) + 0.01. As F goes to 0 the airfoil becomes a lens with corners at both
// ends, about tan(tau/4) thick (0.0437 at 10 degrees, 0.1095 at 25), the thinnest airfoil of that
// angle; the margin of 0.01 keeps the nose round enough to be measured and calculated well.

#include "solver/analysis/Describe.h"
#include "solver/Expected.h"

namespace orvek {

struct DesignTargets {
    double thickness = 0.12;    // maximum thickness over chord (Delta)
    double camber = 0;          // maximum camber over chord, signed (Gama)
    double teAngleDegrees = 0;  // trailing-edge angle (Tau)
};

struct DesignLimits {
    double thickness = 0.30;        // largest thickness
    double thicknessMargin = 0.01;  // above the lens limit tan(tau/4)
    double camber = 0.10;           // largest size of the camber
    double teAngleDegrees = 30;     // largest trailing-edge angle
};

// The least thickness a design accepts for a trailing-edge angle in degrees: tan(tau/4) + 0.01.
double leastDesignThickness(double teAngleDegrees);

struct DesignResult {
    Airfoil airfoil;
    // The geometry of the airfoil found, as measureAirfoil gives it.
    AirfoilGeometry reached;
    int iterations = 0;
};

// Finds F, G and m (m = 2 - tau/180 exactly) whose airfoil has the target thickness and camber to
// within 1e-9. Fails with a message naming the target and the limit it breaks when the targets lie
// outside the reachable range ("Cannot design: the thickness 0.35 is above the largest thickness
// 0.3."), and when the iteration does not converge. A few milliseconds.
Expected<DesignResult> designAirfoil(const DesignTargets& targets);

}  // namespace orvek
