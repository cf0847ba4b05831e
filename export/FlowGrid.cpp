#include "export/FlowGrid.h"

#include "export/FlowTable.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace orvek {

void writeFlowGrid(TextOutput& out, const FlowField& field, const GridShape& shape, FlowGridFormat format,
                   const std::string& title) {
    // Blocks of whole rows, about 65,536 points each.
    const std::size_t rowsPerBlock = std::max<std::size_t>(1, 65536 / shape.nx);
    FlowSamples block(rowsPerBlock * shape.nx);
    std::optional<VtkGridFile> vtk;
    std::string csv;
    if (format == FlowGridFormat::Vtk) {
        vtk.emplace(shape, title);
    } else {
        out << FlowCsvHeader;
    }
    for (std::size_t j0 = 0; j0 < shape.ny; j0 += rowsPerBlock) {
        const std::size_t rows = std::min(rowsPerBlock, shape.ny - j0);
        const std::size_t n = rows * shape.nx;
        for (std::size_t j = 0; j < rows; ++j) {
            for (std::size_t i = 0; i < shape.nx; ++i) {
                block.x[j * shape.nx + i] = shape.xAt(i);
                block.y[j * shape.nx + i] = shape.yAt(j0 + j);
            }
        }
        FlowRun run = block.run();
        run.count = n;
        field.evaluate(run);
        if (vtk) {
            for (std::size_t j = 0; j < rows; ++j) {
                const std::size_t k0 = j * shape.nx;
                vtk->setRow(j0 + j, &block.u[k0], &block.v[k0], &block.cp[k0], &block.psi[k0]);
            }
            continue;
        }
        csv.clear();
        for (std::size_t k = 0; k < n; ++k) {
            appendFlowCsvRow(csv, block.x[k], block.y[k], block.u[k], block.v[k], block.cp[k], block.psi[k]);
        }
        out << csv;
    }
    if (vtk) out << vtk->bytes();
}

}  // namespace orvek
