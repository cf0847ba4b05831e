#pragma once
// One calculated case as JSON, as orvek-batch solve prints it.

#include "export/TextOutput.h"
#include "solver/boundarylayer/BoundaryLayer.h"
#include "solver/flow/FlowField.h"
#include "solver/surface/Solver.h"

#include <optional>
#include <vector>

namespace orvek {

// {"CL": , "CMc4": , "Alfa0": , "x": [...], "y": [...], "OneMinusCp": [...], "stagnation": ...}:
// the surface points 1..N in index order, an unset point as null, the stagnation points as
// [x, y] pairs (null when there are none to give), every number with 17 significant digits; then
// "viscous" and "compressible" (export/ViscousTable.h) when they are given.
void writeCaseJson(TextOutput& out, const SolverResult& result,
                   const std::optional<std::vector<FlowPoint>>& stagnation, const ViscousResult* viscous = nullptr,
                   const CompressibleResult* compressible = nullptr);

}  // namespace orvek
