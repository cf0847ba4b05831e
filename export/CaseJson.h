#pragma once
// One calculated case as JSON, as orvek-batch solve prints it.

#include "export/TextOutput.h"
#include "solver/Solver.h"

namespace orvek {

// {"CL": , "CMc4": , "Alfa0": , "x": [...], "y": [...], "OneMinusCp": [...]}: the surface points
// 1..N in index order, an unset point as null, every number with 17 significant digits.
void writeCaseJson(TextOutput& out, const SolverResult& result);

}  // namespace orvek
