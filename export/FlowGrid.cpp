#include "export/FlowGrid.h"

#include "export/FlowTable.h"

#include <algorithm>
#include <optional>

namespace orvek {

void writeFlowGrid(TextOutput& out, const FlowField& field, const GridShape& shape, FlowGridFormat format,
                   const std::string& title) {
    // Blocks of points, not of rows, so a grid of very long rows costs no more than a square one.
    constexpr std::size_t BlockPoints = 65536;
    const std::size_t total = shape.nx * shape.ny;
    FlowSamples block(std::min(BlockPoints, total));
    std::optional<VtkGridFile> vtk;
    if (format == FlowGridFormat::Vtk) {
        vtk.emplace(shape, title);
    } else {
        writeFlowCsvHeader(out);
    }
    for (std::size_t first = 0; first < total; first += BlockPoints) {
        const std::size_t n = std::min(BlockPoints, total - first);
        std::size_t i = first % shape.nx, j = first / shape.nx;
        for (std::size_t k = 0; k < n; ++k) {
            block.x[k] = shape.xAt(i);
            block.y[k] = shape.yAt(j);
            if (++i == shape.nx) {
                i = 0;
                ++j;
            }
        }
        FlowRun run = block.run();
        run.count = n;
        field.evaluate(run);
        if (vtk) {
            vtk->setPoints(first, n, block.u.data(), block.v.data(), block.cp.data(), block.psi.data());
        } else {
            writeFlowCsvRows(out, block, n);
        }
    }
    if (vtk) out << vtk->bytes();
}

}  // namespace orvek
