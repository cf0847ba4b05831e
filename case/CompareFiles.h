#pragma once
// Files a user lays over the program's own results: an airfoil's coordinates (Selig or Lednicer,
// as our export and other programs write them), a pressure distribution (x, Cp or x, y, Cp, with
// or without a header line, blank- or comma-separated; XFOIL's saved Cp layout; our own CSV export
// with its 1-Cp column) and a polar (our sweep CSV, or XFOIL's saved polar: title lines, a header
// naming alpha, CL, CD, ..., a line of dashes, the rows). They come from anywhere, so the readers
// are bounded as the catalogue reader is (line length, number of rows, file size), take numbers
// with a point only, never throw, and say what is wrong in a sentence naming the file and line.
// The differences against our own values are taken where the x values (or angles) can be matched.

#include "solver/Expected.h"
#include "solver/surface/SurfacePoints.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvek {

inline constexpr std::size_t MaxCompareLineLength = 4096;
inline constexpr std::size_t MaxCompareRows = 100000;
inline constexpr std::size_t MaxCompareFileBytes = std::size_t{16} * 1024 * 1024;

// A contour in Selig order: from the trailing edge over the upper surface to the leading edge
// and back along the lower surface (a Lednicer file is put in that order).
struct ComparedProfile {
    std::string name;
    std::vector<double> x, y;
};

enum class ComparedSide { Upper, Lower };

// Cp (not 1-Cp: a 1-Cp column is converted) at x, with y where the file gives it, and the side
// of each point: from a surface column, or from the order (the points run round the contour and
// turn at the foremost one; with y the higher half is the upper side, without it the first half,
// as XFOIL writes them).
struct ComparedPressure {
    std::vector<double> x, y, cp;
    std::vector<ComparedSide> side;
};

// One row per angle; CD and CM are NaN where the file has no such column.
struct ComparedPolar {
    std::string name;
    std::vector<double> alpha, CL, CD, CM;
};

Expected<ComparedProfile> readComparedProfile(std::string_view text, const std::string& fileName);
Expected<ComparedPressure> readComparedPressure(std::string_view text, const std::string& fileName);
Expected<ComparedPolar> readComparedPolar(std::string_view text, const std::string& fileName);

// The bytes of a regular file of at most MaxCompareFileBytes, or why not (named by `fileName`).
Expected<std::string> readCompareFile(const std::string& path, const std::string& fileName);

// The file's values less ours where they can be matched, in the file's order.
struct Difference {
    std::vector<double> x, value;
};

// Per side (upper, lower): the file's Cp less ours at the same x on the same side (our surface
// interpolated linearly between its points; an x beyond our side's span is left out).
std::vector<Difference> pressureDifference(const SurfacePoints& ours, const ComparedPressure& file);
// Per side: the file's y less ours at the same x (the file's points split at its foremost one).
std::vector<Difference> profileDifference(const SurfacePoints& ours, const ComparedProfile& file);

}  // namespace orvek
