#pragma once
// What the polar and explorer windows and the coordinate export need of one airfoil, built on
// the solver: the geometry measured on a surface, the pressure minimum, a polar and the
// coordinate files. Plain functions of values, no Qt.

#include "solver/Expected.h"
#include "solver/SurfacePoints.h"

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

// The lowest pressure coefficient on the surface: Cp = 1 - max(1-Cp) over the set points.
struct PressureMinimum {
    double CpMin = 1, x = 0;
    bool upper = true;
};
PressureMinimum minimumPressure(const orvek::SurfacePoints& p);

struct PolarRow {
    double alpha = 0, CL = 0, CMc4 = 0, Alfa0 = 0;
    PressureMinimum minimum;
};
// One row per angle from `from` towards `to` in steps of `step` (the end included within a
// millionth of a step), each calculated at NP points. Fails whole on the first angle that cannot
// be calculated, or for a step of the wrong sign, zero, or more than 100,001 rows.
orvek::Expected<std::vector<PolarRow>> polar(double F, double G, double m, double from, double to, double step, double NP);

// "alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin" and one line per row, shortest round-trip
// numbers, point decimals, LF line ends.
std::string polarCsv(const std::vector<PolarRow>& rows);

enum class CoordinateFormat { Selig, Lednicer, Csv };
// The surface as an airfoil coordinate file. Selig: the name, then x y from the trailing edge
// along the upper surface to the leading edge and back along the lower one. Lednicer: the name,
// the point counts of both surfaces, each surface from the leading edge to the trailing edge after
// a blank line. CSV: index,x,y,OneMinusCp,surface. Eight decimals, point separator, LF; unset
// points left out.
std::string coordinateFile(const orvek::SurfacePoints& p, CoordinateFormat format, const std::string& name);

// The default name of an airfoil, "Karman-Trefftz F=0.1 G=0.05 m=1.9" ("Joukowsky" for m = 2).
std::string airfoilName(double F, double G, double m);

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
