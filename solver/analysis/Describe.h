#pragma once
// The one measurement of an airfoil's shape: thickness, camber, their positions and the
// trailing-edge angle. The catalogue's first four columns, `orvek-batch describe`, the design from
// targets and the explorer all take their numbers from here.

#include "solver/Airfoil.h"
#include "solver/Expected.h"

namespace orvek {

// The catalogue's columns Delta, Gama, xDltC and Tau are the first four fields; the reader and
// the writers of files map them, nothing else uses those names.
struct AirfoilGeometry {
    double thickness = 0;          // maximum thickness over chord (Delta)
    double camber = 0;             // maximum camber over chord, signed: the camber of largest size (Gama)
    double thicknessPosition = 0;  // chordwise position of the maximum thickness, over chord (xDltC)
    double teAngleDegrees = 0;     // trailing-edge angle (Tau)
    double camberPosition = 0;     // chordwise position of the maximum camber (no catalogue column holds it)
};

// Thickness below this (chord 1) is rounding noise of a profile without thickness, a flat plate
// or a circular arc (F = 0): it has no thickness maximum, so its thickness and position are 0.
constexpr double NoThickness = 1e-9;

// Measures the airfoil along its exact contour (chord 1, from the leading edge at (0, 0) to the
// trailing edge at (1, 0)): the contour is split at its foremost point into upper and lower
// surfaces; at each chordwise station the two surfaces' heights are found on the contour itself
// (not between surface points), and thickness and camber are their difference and mean, each
// maximum located to about 1e-9 of the chord. The trailing-edge angle is the corner the mapping
// makes, (2 - m) * 180 degrees. A fraction of a millisecond. Fails with the solver's reason when
// the airfoil cannot be calculated, and with checkSimpleAirfoil's when it is not a simple airfoil.
Expected<AirfoilGeometry> measureAirfoil(const Airfoil& airfoil);

}  // namespace orvek
