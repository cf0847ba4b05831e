#pragma once
// An independent evaluation of the surface points in 113-bit binary floating point (GCC's
// __float128 with libquadmath, about 34 significant digits), straight from the complex mapping
// z = m b (1 + w)/(1 - w), w = ((zeta - 1)/(zeta + 1))^m, and the complex potential of the flow
// past the circle; none of the solver's rearranged formulas are used. The yardstick for the
// solver's accuracy at any number of points.

#include "solver/surface/Solver.h"

#include <cstddef>

struct ExactPoint {
    double x = 0, y = 0, Cu = 0;
    bool set = false;  // false for the entries the loop over the circle does not reach
};

// The value the solver should store at `index` (2..N1-1) for these inputs. The polar angle is the
// double the solver's loop forms, -(i - 1) * dTheta or +(i - 1) * dTheta with dTheta = (2 Pi)/(N1 - 1);
// from there on everything is evaluated in high precision.
ExactPoint exactSurfacePoint(const orvek::SolverInput& in, std::size_t index);
