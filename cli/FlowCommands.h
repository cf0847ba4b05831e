#pragma once
// The commands of orvek-batch about the flow around the airfoil: field (values at points or on a
// grid) and streamlines; and the stagnation points that solve adds to its JSON.

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "solver/Airfoil.h"
#include "solver/flow/FlowField.h"

#include <optional>

#include <string>
#include <vector>

namespace orvek::cli {

// The largest grid of field: 16,777,216 points, about 690 MB of VTK.
inline constexpr double MaxGridPoints = 16777216;

CommandOutput fieldCommand(const Arguments& a);
CommandOutput streamlinesCommand(const Arguments& a);

// The stagnation points solve adds to its JSON, in the surface points' units of `chord`; none for
// an airfoil whose flow cannot be calculated.
std::optional<std::vector<FlowPoint>> stagnationPoints(const Airfoil& airfoil, double alphaDegrees, double chord);

}  // namespace orvek::cli
