#pragma once
// The result file "ORVEK_result.txt": a header with the selected airfoil's catalogue values, the
// point count, and in one of four layouts the coefficients and the surface points.

#include "export/TextOutput.h"
#include "solver/Airfoil.h"
#include "solver/analysis/Describe.h"
#include "solver/surface/SurfacePoints.h"

#include <optional>
#include <string>

namespace orvek {

inline constexpr const char* ResultFileName = "ORVEK_result.txt";

// The output-format options: 1 "i x y", 2 "i x y 1-Cp", 3 the split "i xU yU xL yL", 4 the split
// with 1-Cp; 0 when no option is selected (header and point count only).
enum class Layout { None = 0, XY = 1, XYCp = 2, Split = 3, SplitCp = 4 };

// What the file holds: the selected airfoil's catalogue values for the header and the last case.
// Before any calculation the case values are unset: the point-count line is then empty and the
// other values are written as 0.
struct ResultFileCase {
    AirfoilGeometry header;  // Delta, Gama, xDltC and Tau as the catalogue gives them
    std::optional<double> NP, AlfaD;
    std::optional<Coefficients> coefficients;
    const SurfacePoints* points = nullptr;  // the case's points, not owned; none before a calculation
};

// Writes the file, CR LF after every line, line by line to `file`. `separator` is the decimal
// separator of the user's locale.
void writeResultFile(TextOutput& file, const ResultFileCase& state, Layout layout, char separator);

// The same bytes as one string.
std::string resultFileText(const ResultFileCase& state, Layout layout, char separator);

}  // namespace orvek
