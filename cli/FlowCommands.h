#pragma once
// The commands of orvek-batch about the flow around the airfoil: field (values at points or on a
// grid) and streamlines; and the stagnation points that solve adds to its JSON.

#include "cli/Commands.h"
#include "solver/Airfoil.h"

#include <string>
#include <vector>

namespace orvek::cli {

extern const std::string FieldHelp;
extern const std::string StreamlinesHelp;

CommandOutput fieldCommand(const std::vector<std::string>& args);
CommandOutput streamlinesCommand(const std::vector<std::string>& args);

// `"stagnation": [[x, y], ...]` for solve's JSON, in the surface points' units of `chord` (null
// for an airfoil whose flow cannot be calculated), numbers with 17 significant digits.
std::string stagnationJson(const Airfoil& airfoil, double alphaDegrees, double chord);

}  // namespace orvek::cli
