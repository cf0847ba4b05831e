#pragma once
// The flow on a regular grid as a file: the CSV of `orvek-batch field --grid` or the legacy VTK
// grid ParaView opens. The window's "Export grid…" and orvek-batch write it with this one function.

#include "export/TextOutput.h"
#include "export/VtkGrid.h"
#include "solver/flow/FlowField.h"

#include <string>

namespace orvek {

enum class FlowGridFormat { Csv, Vtk };

// Evaluates the field on the grid (x fastest) in blocks of points, each on every core, and writes
// it: the CSV block by block as they are done, so only a block is held; the VTK file, which
// lays its arrays out one after the other, once whole. `title` is the VTK file's title line.
void writeFlowGrid(TextOutput& out, const FlowField& field, const GridShape& shape, FlowGridFormat format,
                   const std::string& title);

}  // namespace orvek
