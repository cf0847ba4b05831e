#pragma once
// The flow at points as CSV: "x,y,u,v,Cp,psi", numbers as the shortest text that reads back
// unchanged; a point inside the airfoil keeps its x and y and has the four values empty.

#include "export/TextOutput.h"
#include "solver/flow/FlowField.h"

#include <cstddef>

namespace orvek {

// The header line.
void writeFlowCsvHeader(TextOutput& out);

// The rows of the first `count` points of `samples`, evaluated; a NaN u marks a point inside the
// airfoil. Written a row at a time.
void writeFlowCsvRows(TextOutput& out, const FlowSamples& samples, std::size_t count);

}  // namespace orvek
