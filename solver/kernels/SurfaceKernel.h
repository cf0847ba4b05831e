#pragma once
// The per-point work of the solver: one run of consecutive surface indices, computed by the
// widest vector instructions the processor offers, and the choice among them.
//
// Every kernel evaluates the same well-conditioned formulas lane by lane, so a point's value does
// not depend on which run, block or thread computed it.

#include "solver/Airfoil.h"
#include "solver/Complex.h"
#include "solver/kernels/InstructionSets.h"

#include <cstddef>

namespace orvek {

// What every surface point needs, computed once per calculation.
struct PointConstants {
    Airfoil airfoil;
    double halfM = 0;      // m / 2: rho^m = (rho^2)^(m/2)
    double mb = 0;         // m b: abscissa of the trailing edge before the shift
    double mb2 = 0;        // 2 m b
    double shift = 0;      // m b - chord
    double onePlus2F = 0;  // 1 + 2F: the circle's power of the origin, negated
    // (1 + F + iG) e^(-i(alpha + beta)) / R^2: turns zeta - 1 into the circle speed's numerator
    Complex<double> k{0, 0};
    double inv4m4 = 0;       // 1 / (4 m^4)
    double dTheta = 0;       // angular step 2 pi / (N1 - 1)
    bool joukowsky = false;  // m = 2: the argument is doubled without trigonometry
};

// Consecutive output indices whose polar angles are sign * t * dTheta, with t = tFirst for the
// first index and changing by tStep (+1 or -1) from one index to the next.
struct SurfaceRun {
    double sign = 1;
    double tFirst = 0;
    double tStep = 1;
    std::size_t count = 0;
    double* x = nullptr;
    double* y = nullptr;
    double* Cu = nullptr;  // 1-Cp
};

// Computes one run; false when any value it wrote is not a finite number.
using SurfaceKernelFn = bool (*)(const PointConstants&, const SurfaceRun&);

// The kernel of an instruction set; the scalar one when the set does not run here.
SurfaceKernelFn surfaceKernel(InstructionSet set);

}  // namespace orvek
