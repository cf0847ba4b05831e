#pragma once
// A plain transcription of the solver's formulas, one transcendental call per symbol and in the
// written order of evaluation: the yardstick for the restructured production solver.

#include "solver/surface/Solver.h"

orvek::SolverResult referenceSolve(const orvek::SolverInput& in);
