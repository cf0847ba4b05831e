#pragma once
// A whole catalogue at one angle of attack: each airfoil's coefficients and pressure minimum.

#include "case/Catalogue.h"
#include "solver/analysis/PressureMinimum.h"
#include "solver/analysis/Sweep.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orvek {

struct CatalogueTableRow {
    std::size_t row = 0;  // the airfoil's number in the catalogue, from 1
    CatalogueRow airfoil;
    Expected<SweepRow> result = Failure{};  // its coefficients and pressure minimum, or why it cannot be calculated
};

// Calculates every airfoil of the catalogue at AlfaD with N1 surface points (chord 1), in
// catalogue order, exactly as single calculations give them. An airfoil that cannot be
// calculated keeps its row, with the solver's reason in `result`.
std::vector<CatalogueTableRow> catalogueTable(const Catalogue& catalogue, double AlfaD, double N1 = SweepPoints);

}  // namespace orvek
