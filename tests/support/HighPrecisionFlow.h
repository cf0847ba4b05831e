#pragma once
// The flow about an airfoil in 113-bit binary floating point (GCC's __float128), straight from the
// complex potential about the circle and the forward mapping, at a point given in the circle
// plane: the yardstick for the flow field, which never needs the inverse mapping.

#include "solver/Airfoil.h"

#include <cmath>

struct ExactFlowPoint {
    double x = 0, y = 0;                   // the image of zeta in the frame of the surface points
    double u = 0, v = 0, Cp = 0, psi = 0;  // the flow there
};

// zeta must lie outside the circle of centre -F + iG through 1. alpha in radians, as the field
// forms it from degrees. `circulation`: Gamma set by hand (free-stream speed times chord), NaN for
// the Kutta condition's.
ExactFlowPoint exactFlowAt(const orvek::Airfoil& airfoil, double alpha, double zetaRe, double zetaIm,
                           double circulation = std::nan(""));
