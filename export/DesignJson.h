#pragma once
// A design's report as JSON, as orvek-batch design --format json prints it.

#include "export/TextOutput.h"
#include "solver/analysis/Design.h"

#include <string>

namespace orvek {

// The targets, the values reached (as describe measures the airfoil found), the residuals
// (reached less target), F, G, m and the catalogue line, over four lines.
void writeDesignJson(TextOutput& out, const DesignTargets& targets, const AirfoilGeometry& reached,
                     const DesignResult& design, const std::string& line);

}  // namespace orvek
