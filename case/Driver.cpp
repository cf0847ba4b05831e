#include "case/Driver.h"

#include "case/TextNumber.h"
#include "solver/Solver.h"

namespace orvek {

int matchSelection(const CaseState& state, std::string_view text) {
    int selected = state.SelIndex;
    for (int i = 1; i <= state.AirfoilCount && i <= MaxAirfoils; ++i) {
        if (state.AirfoilRow[static_cast<std::size_t>(i)] == text) selected = i;
    }
    return selected;
}

CalculationOutcome Calculate(CaseState& state, std::string_view textN1, std::string_view textAlfaD) {
    CalculationOutcome outcome;
    if (state.SelIndex <= 0 || state.SelIndex > MaxAirfoils) {
        outcome.message = ChooseAnAirfoil;
        return outcome;
    }
    const auto slot = static_cast<std::size_t>(state.SelIndex);
    SolverInput in;
    in.F = state.F[slot];
    in.G = state.G[slot];
    in.m = state.m[slot];
    in.N1 = textNumber(textN1);
    in.AlfaD = textNumber(textAlfaD);
    in.Chord = state.Chord;
    in.Pi = state.Pi;
    SolverOutcome solved = ORVEK(in);
    if (!solved) {
        outcome.message = solved.error;
        return outcome;
    }
    SolverResult& r = *solved.result;
    state.NP = in.N1;
    state.AlfaD = in.AlfaD;
    state.points = std::move(r.points);
    state.CL = r.CL;
    state.CMc4 = r.CMc4;
    state.Alfa0 = r.Alfa0;
    outcome.ok = true;
    outcome.textCL = r.textCL;
    outcome.textCMc4 = r.textCMc4;
    outcome.textAlfa0 = r.textAlfa0;
    return outcome;
}

}  // namespace orvek
