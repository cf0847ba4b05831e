#pragma once
// The surface points of one calculation handed to Python as numpy arrays without copying them.

#include "solver/surface/SurfacePoints.h"

#include <pybind11/numpy.h>

namespace orvek::python {

// x, y and 1-Cp of points 1..NP in index order (the trailing edge first and last).
struct PointArrays {
    pybind11::array_t<double> x, y, Cu;
};

// Takes the core's arrays over: the numpy arrays view them (index 0, never used, is left out) and
// keep them alive together. Unset points (the leading edge of an F = 0 airfoil) become NaN, so
// that no reader mistakes them for the point (0, 0). Needs the GIL.
PointArrays pointArrays(SurfacePoints&& points);

}  // namespace orvek::python
