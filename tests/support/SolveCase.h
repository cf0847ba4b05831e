#pragma once
// Test helpers: the solver's input for an airfoil and angle, and a case that must succeed.

#include "solver/surface/Solver.h"

#include <QtGlobal>

#include <cmath>

inline orvek::SolverInput caseInput(double F, double G, double m, double AlfaD, double N1 = 51, double Chord = 1) {
    orvek::SolverInput in;
    in.airfoil.F = F;
    in.airfoil.G = G;
    in.airfoil.m = m;
    in.AlfaD = AlfaD;
    in.N1 = N1;
    in.Chord = Chord;
    return in;
}

inline orvek::SolverResult solveCase(const orvek::SolverInput& in) {
    orvek::Expected<orvek::SolverResult> o = orvek::ORVEK(in);
    if (!o) qFatal("unexpected fault: %s", o.error().c_str());
    return std::move(*o);
}

inline orvek::SolverResult solveCase(double F, double G, double m, double AlfaD, double N1) {
    return solveCase(caseInput(F, G, m, AlfaD, N1));
}
