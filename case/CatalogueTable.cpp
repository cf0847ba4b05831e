#include "case/CatalogueTable.h"

#include "solver/Solver.h"

#include <utility>

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
        in.F = t.airfoil.F;
        in.G = t.airfoil.G;
        in.m = t.airfoil.m;
        in.AlfaD = AlfaD;
        in.N1 = N1;
        Expected<SolverResult> r = ORVEK(in, std::exchange(spare, {}));
        if (!r) {
            t.problem = r.error();
        } else if (Expected<PressureMinimum> pm = pressureMinimum(r->points); !pm) {
            t.problem = "Cannot calculate: " + pm.error() + ".";
        } else {
            t.CL = r->CL;
            t.CMc4 = r->CMc4;
            t.Alfa0 = r->Alfa0;
            t.CpMin = pm->CpMin;
            t.xCpMin = pm->xCpMin;
            t.surface = pm->surface;
            spare = std::move(r->points);
        }
        rows.push_back(std::move(t));
    }
    return rows;
}

}  // namespace orvek
