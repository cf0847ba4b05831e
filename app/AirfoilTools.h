#pragma once
// What the polar and explorer windows need beyond the core: the geometry measured on a surface
// of any point count, with the position of the largest camber (which the core's measurement does
// not give), and the polar as CSV. Plain functions, no Qt.

#include "solver/Expected.h"
#include "solver/SurfacePoints.h"
#include "solver/Sweep.h"

#include <string>
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

// The polar's rows as CSV, byte for byte as `orvek-batch sweep --format csv` writes them:
// "alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin" and one line per row, shortest round-trip
// numbers, point decimals, LF line ends.
std::string polarCsv(const std::vector<orvek::SweepRow>& rows);

}  // namespace airfoil
