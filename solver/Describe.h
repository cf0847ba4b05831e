#pragma once
// Geometry of a catalogue airfoil, for the first four columns of "ORVEK_Input.txt".

#include "solver/Expected.h"

namespace orvek {

struct AirfoilGeometry {
    double Delta = 0;  // maximum thickness over chord
    double Gama = 0;   // maximum camber over chord (signed: the camber of largest size)
    double xDltC = 0;  // chordwise position of the maximum thickness, over chord
    double Tau = 0;    // trailing-edge angle in degrees
};

// Number of surface points of the dense surface the geometry is measured on.
constexpr double DescribePoints = 200001.0;

// Thickness below this (chord 1) is rounding noise of a profile without thickness, a flat plate
// or a circular arc (F = 0): it has no thickness maximum, so Delta and xDltC are 0.
constexpr double NoThickness = 1e-9;

// Measures the airfoil on a dense surface (chord 1, from (0, 0) to the trailing edge (1, 0)):
// the contour is split at its foremost point into upper and lower surfaces, both are sampled at
// common stations by linear interpolation, and thickness and camber are taken between them. The
// trailing-edge angle is the angle between the two surface segments that meet there.
// Fails with the solver's reason when the airfoil cannot be calculated.
Expected<AirfoilGeometry> describeAirfoil(double F, double G, double m);

}  // namespace orvek
