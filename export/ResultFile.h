#pragma once
// The result file "ORVEK_result.txt": a header with the selected airfoil's catalogue values, the
// point count, and in one of four layouts the coefficients and the surface points.

#include "case/CaseState.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvek {

inline constexpr const char* ResultFileName = "ORVEK_result.txt";

// The output-format options: 1 "i x y", 2 "i x y 1-Cp", 3 the split "i xU yU xL yL", 4 the split
// with 1-Cp; 0 when no option is selected (header and point count only).
enum class Layout { None = 0, XY = 1, XYCp = 2, Split = 3, SplitCp = 4 };

// The file's bytes for the case state as it stands, CR LF after every line. `separator` is the
// decimal separator of the user's locale.
std::string resultFileText(const CaseState& state, Layout layout, char separator);

// Replaces the file at `path` with `bytes` as a whole: written to a temporary file in the same
// folder and renamed over the old one, so a failed save leaves the previous file untouched.
// Returns the message for the user when it fails ("Could not save ORVEK_result.txt: Permission
// denied"), nothing when it succeeds.
std::optional<std::string> saveFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace orvek
