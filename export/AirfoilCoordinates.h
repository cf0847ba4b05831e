#pragma once
// Airfoil coordinate files for other programs (panel codes, CAD, meshers): the surface points of
// a case as Selig or Lednicer ".dat" text, or as CSV with 1-Cp.

#include "export/TextOutput.h"
#include "solver/Airfoil.h"
#include "solver/Expected.h"
#include "solver/surface/SurfacePoints.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvek {

enum class CoordinateFormat {
    // Line 1 the name, then one "x y" pair per line from the trailing edge along the upper
    // surface to the leading edge and back along the lower surface to the trailing edge (the
    // trailing-edge point at both ends).
    Selig,
    // The name; the upper and lower point counts ("  81.  81."); a blank line; the upper surface
    // from the leading edge to the trailing edge; a blank line; the lower surface the same way.
    Lednicer,
    // "index,x,y,OneMinusCp,surface" and one row per point in index order, surface "upper" or
    // "lower" (as surfaceOfPoint tells).
    Csv,
};

// The default number of points of a coordinate file: 80 intervals per surface, and (being odd)
// the leading-edge point x = 0, y = 0 shared by both surfaces.
inline constexpr double CoordinatePoints = 161.0;

// The fewest points a coordinate file is made from: the trailing edge at both ends, the leading
// edge and at least one point of each surface between them.
inline constexpr double LeastCoordinatePoints = 5.0;

// Whether NP points are enough for a coordinate file; if not, why, as a sentence.
Status coordinatePointsFault(double NP);

// "selig", "lednicer" or "csv".
std::optional<CoordinateFormat> coordinateFormat(std::string_view name);

// The file's text: LF line ends, a point as decimal separator whatever the locale, every value
// with 8 decimals, right-aligned in its column. Unset points (the nose of an F = 0 airfoil) are
// left out. The Selig and Lednicer files always hold the leading edge (0, 0): the middle point of
// an odd NP, and for an even NP (or an unset nose) the point (0, 0) between the two middle
// points. The Lednicer split follows the point layout: the lower surface is indices 1 up to the
// middle, the upper surface the middle up to NP, both beginning at the leading edge. The CSV file
// lists the calculated points by index, nothing else. Fails for a name that is empty or not one
// line (the CSV file has no name line and ignores it), and for fewer than LeastCoordinatePoints
// points, before anything is written. Streamed: the memory used is that of one line.
Status writeAirfoilCoordinates(TextOutput& out, const SurfacePoints& points, CoordinateFormat format,
                               const std::string& name);

// What a coordinate file is made of: the airfoil, the format, the surface points (NP), the angle
// of attack of the CSV's 1-Cp, and the name line (the airfoil's own name when none is given).
struct CoordinateFileRequest {
    Airfoil airfoil{0.1, 0.05, 2.0};
    CoordinateFormat format = CoordinateFormat::Selig;
    double NP = CoordinatePoints;
    double alphaDegrees = 0.0;
    std::optional<std::string> name;
};

// A coordinate file judged whole and ready to be written; writing it cannot fail.
struct CoordinateFile {
    SurfacePoints points;
    CoordinateFormat format = CoordinateFormat::Selig;
    std::string name;

    void write(TextOutput& out) const;
    std::string text() const;
};

// The coordinate file of an airfoil, as the windows' "Export coordinates", orvek-batch export and
// the Python module give it: the airfoil solved at NP points (chord 1), then refused, with the
// sentence saying why, when it cannot be calculated, when its shape is no simple airfoil (as
// describe judges it), when the name cannot stand on the name line, or when NP is fewer than
// LeastCoordinatePoints (said before anything is calculated).
Expected<CoordinateFile> coordinateFile(const CoordinateFileRequest& request);

// Whether `name` can stand on a file's name line: not empty and one line; else why, as a sentence.
Status checkAirfoilName(const std::string& name);

}  // namespace orvek
