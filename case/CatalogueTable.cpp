#include "case/CatalogueTable.h"

#include "solver/analysis/Sweep.h"

namespace orvek {

std::vector<CatalogueTableRow> catalogueTable(const Catalogue& catalogue, double AlfaD, double N1) {
    std::vector<CatalogueTableRow> rows;
    rows.reserve(catalogue.rows.size());
    SurfacePoints spare;  // the arrays pass from one airfoil to the next
    for (std::size_t k = 0; k < catalogue.rows.size(); ++k) {
        CatalogueTableRow t;
        t.row = k + 1;
        t.airfoil = catalogue.rows[k];
        SolverInput in;
        in.airfoil = t.airfoil.airfoil;
        in.AlfaD = AlfaD;
        in.N1 = N1;
        t.result = polarRow(in, spare);
        rows.push_back(std::move(t));
    }
    return rows;
}

}  // namespace orvek
