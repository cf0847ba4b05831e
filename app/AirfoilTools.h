#pragma once
// What the polar and explorer windows need beyond the core: the geometry measured on a surface
// of any point count, with the position of the largest camber (which the core's measurement does
// not give). Plain functions, no Qt.

#include "solver/SurfacePoints.h"

#include <vector>

namespace airfoil {

// Thickness and camber of a surface (chord from (0, 0) to (1, 0)), measured between its upper and
// lower branches, split at the foremost point and interpolated linearly at common stations.
struct Geometry {
    double Delta = 0, xDelta = 0;  // largest thickness and its x/c
    double Gama = 0, xGama = 0;    // camber-line height of largest size and its x/c
    double Tau = 0;                // trailing-edge angle, degrees
};
Geometry measure(const orvek::SurfacePoints& p);

// Index of the foremost set point (the leading edge), 1 when there is none.
std::size_t leadingEdge(const orvek::SurfacePoints& p);

}  // namespace airfoil
