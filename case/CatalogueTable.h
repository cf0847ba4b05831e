#pragma once
// A whole catalogue at one angle of attack: each airfoil's coefficients and pressure minimum.

#include "case/Catalogue.h"
#include "solver/PressureMinimum.h"
#include "solver/Sweep.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orvek {

struct CatalogueTableRow {
    std::size_t row = 0;  // the airfoil's number in the catalogue, from 1
    CatalogueRow airfoil;
    double CL = 0, CMc4 = 0, Alfa0 = 0;
    double CpMin = 0, xCpMin = 0;
    Surface surface = Surface::Upper;
    std::string problem;  // why the airfoil cannot be calculated; empty when it was
};

// Calculates every airfoil of the catalogue at AlfaD with N1 surface points (chord 1), in
// catalogue order, exactly as single calculations give them. An airfoil that cannot be
// calculated keeps its row, with the solver's reason in `problem`.
std::vector<CatalogueTableRow> catalogueTable(const Catalogue& catalogue, double AlfaD, double N1 = SweepPoints);

}  // namespace orvek
