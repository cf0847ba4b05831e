#include "case/CatalogueTable.h"

#include "solver/Sweep.h"

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
        if (Expected<SweepRow> r = polarRow(in, spare); !r) {
            t.problem = r.error();
        } else {
            t.CL = r->CL;
            t.CMc4 = r->CMc4;
            t.Alfa0 = r->Alfa0;
            t.CpMin = r->CpMin;
            t.xCpMin = r->xCpMin;
            t.surface = r->surface;
        }
        rows.push_back(std::move(t));
    }
    return rows;
}

}  // namespace orvek
