#pragma once
// What the polar and explorer windows need beyond the core: the geometry measured on a surface
// of any point count (the explorer measures at every slider move, far faster than the 200,001
// points of describeAirfoil), the polar as CSV, and design from targets. Plain functions, no Qt.

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

// The polar's rows as CSV: "alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin" and one line per
// row, shortest round-trip numbers, point decimals, LF line ends.
std::string polarCsv(const std::vector<orvek::SweepRow>& rows);

// F, G and m of the Karman-Trefftz airfoil with the given thickness, camber and trailing-edge
// angle (degrees): m = 2 - tau/180, F and G by Newton's method on the measured thickness and
// camber. Fails, naming the target and the limit, outside the reachable range.
struct Design {
    double F = 0, G = 0, m = 2;
    Geometry reached;
};
orvek::Expected<Design> design(double thickness, double camber, double teAngle);

// Least thickness an airfoil with this trailing-edge angle can have (the lens of F -> 0).
double leastThickness(double teAngle);

}  // namespace airfoil
