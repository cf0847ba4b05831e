#pragma once
// The per-point work of the flow field: velocity, pressure and stream function at given points of
// the airfoil plane, computed by the widest vector instructions the processor offers (the same
// choice as the surface kernels make).

#include "solver/Complex.h"
#include "solver/kernels/InstructionSets.h"

#include <cstddef>

namespace orvek {

// What every field point needs, computed once per airfoil and angle of attack. Lengths are in
// chords, the airfoil plane's frame is that of the surface points (leading edge (0, 0), trailing
// edge (1, 0)); q = (zeta - 1)/(zeta + 1) is the circle plane seen from its two critical points.
struct FlowConstants {
    double F = 0;
    double invM = 0;                            // 1 / m: q = w^(1/m)
    double halfInvM = 0;                        // 1 / (2m): |q| = (|w|^2)^(1/(2m))
    double twoMb = 0;                           // 2 m b: w = (z - 1)/(z - 1 + 2 m b)
    Complex<double> turnMBeta{1, 0};            // e^(i m beta): turns the flow's sector of w onto the real axis
    Complex<double> turnBackBeta{1, 0};         // e^(-i beta): back from that frame to q
    double R = 0;                               // circle radius
    Complex<double> t1{1, 0};                   // 1 - zeta0 = (1 + F) - iG: the trailing edge seen from the centre
    Complex<double> twoMinusT1{1, 0};           // 2 - t1
    Complex<double> t12{0, 0};                  // t1 - t2, t2 the front stagnation point about the centre
    Complex<double> turnAlpha{1, 0};            // e^(i alpha); the free stream's conjugate velocity is its conjugate
    double twoOverM2 = 0;                       // 2 / m^2
    double b = 0;                               // mapping scale
    double halfGammaB = 0;   // b R sin(alpha + beta): the circulation's share of psi, per unit of log|t|^2
    double inv4OverR2 = 0;   // 4 / R^2
    // (gamma - gamma of the Kutta condition) / m^2, for a circulation set by hand; `byHand` false
    // leaves the Kutta flow's arithmetic untouched.
    double extraGammaOverM2 = 0;
    bool byHand = false;
    bool joukowsky = false;  // m = 2: the root is a complex square root, without trigonometry
};

// Consecutive points: their coordinates in, their values out. Inside the airfoil every value is NaN.
struct FlowRun {
    std::size_t count = 0;
    const double* x = nullptr;
    const double* y = nullptr;
    double* u = nullptr;
    double* v = nullptr;
    double* cp = nullptr;
    double* psi = nullptr;
};

using FlowKernelFn = void (*)(const FlowConstants&, const FlowRun&);

// The kernel of an instruction set; the scalar one when the set does not run here.
FlowKernelFn flowKernel(InstructionSet set);

}  // namespace orvek
