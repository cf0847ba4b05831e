#pragma once
// The suction peak of a calculated surface: the least pressure coefficient, where it lies, and on
// which side of the airfoil.

#include "solver/Expected.h"
#include "solver/surface/Solver.h"
#include "solver/surface/SurfacePoints.h"

#include <cstddef>

namespace orvek {

enum class Surface { Upper, Lower };

// "upper" or "lower".
const char* surfaceName(Surface s);

// The side of the airfoil that point i of an NP-point surface lies on, by the point layout: the
// indices from 1 (the trailing edge) up to the middle run along the lower surface, the rest along
// the upper surface. The points every side shares count as upper: the trailing edge at index NP
// and, for an odd NP, the leading-edge point (NP+1)/2, which lies at x = 0, y = 0.
Surface surfaceOfPoint(std::size_t i, std::size_t NP);

struct PressureMinimum {
    double CpMin = 0;       // 1 - max(1-Cp): the least pressure coefficient over the surface points
    double xCpMin = 0;      // its chordwise position, x over chord
    double y = 0;           // its ordinate (chord units, as the points hold it)
    std::size_t index = 0;  // its point index (1..NP)
    Surface surface = Surface::Upper;
};

// The set point of largest 1-Cp (unset points are skipped). Exact ties go to the upper surface,
// so a symmetric airfoil at zero incidence reports its upper side. Fails only for a surface
// without points or a chord that is not a positive number.
Expected<PressureMinimum> pressureMinimum(const SurfacePoints& points, double chord = 1.0);

// The least pressure coefficient of the continuous surface of a calculated case, not only of its
// points: the largest 1-Cp of the points (and, for fewer than 257 points, of 256 angles around the
// circle as well) is refined on the exact surface speed as a function of the circle's polar
// angle, by golden sections and then the zero of the speed's slope, so CpMin and its position are
// the same to about 1e-10 at any NP. `index` is the point nearest to it, `surface` its side (the
// leading edge counts as upper). An F = 0 airfoil has a sharp nose where the speed grows without
// bound at almost every angle: there the minimum over the points is given. Fails as
// pressureMinimum does.
Expected<PressureMinimum> surfacePressureMinimum(const SolverInput& in, const SolverResult& result);

}  // namespace orvek
