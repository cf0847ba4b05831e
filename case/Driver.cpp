#include "case/Driver.h"

#include "case/TextNumber.h"
#include "export/NumberFormat.h"
#include "solver/Solver.h"

namespace orvek {

int matchSelection(const CaseState& state, std::string_view text) {
    int selected = state.SelIndex;
    for (int i = 1; i <= state.AirfoilCount && i <= MaxAirfoils; ++i) {
        if (state.AirfoilRow[static_cast<std::size_t>(i)] == text) selected = i;
    }
    return selected;
}

CoefficientTexts coefficientTexts(double CL, double CMc4, double Alfa0) {
    return {roundedDisplayText(CL, 3), roundedDisplayText(CMc4, 3), roundedDisplayText(Alfa0, 2)};
}

Expected<CoefficientTexts> Calculate(CaseState& state, std::string_view textN1, std::string_view textAlfaD) {
    if (state.SelIndex <= 0 || state.SelIndex > MaxAirfoils) return Failure{ChooseAnAirfoil};
    const auto slot = static_cast<std::size_t>(state.SelIndex);
    SolverInput in;
    in.F = state.F[slot];
    in.G = state.G[slot];
    in.m = state.m[slot];
    in.N1 = textNumber(textN1);
    in.AlfaD = textNumber(textAlfaD);
    in.Chord = state.Chord;
    in.Pi = state.Pi;
    // The solver fills the spare arrays; the shown case's arrays stay untouched until it succeeds.
    // Inputs it would refuse are refused here, before the spare arrays are handed over.
    if (Status fault = inputFault(in); !fault) return Failure{fault.error()};
    Expected<SolverResult> solved = ORVEK(in, std::move(state.spare));
    if (!solved) return Failure{solved.error()};
    SolverResult& r = *solved;
    state.NP = in.N1;
    state.AlfaD = in.AlfaD;
    state.spare = std::move(state.points);
    state.points = std::move(r.points);
    state.CL = r.CL;
    state.CMc4 = r.CMc4;
    state.Alfa0 = r.Alfa0;
    return coefficientTexts(r.CL, r.CMc4, r.Alfa0);
}

ResultFileCase resultFileCase(const CaseState& state) {
    const std::size_t sel =
        state.SelIndex >= 0 && state.SelIndex <= MaxAirfoils ? static_cast<std::size_t>(state.SelIndex) : 0;
    ResultFileCase c;
    c.Delta = state.Delta[sel];
    c.Gama = state.Gama[sel];
    c.xDltC = state.xDltC[sel];
    c.Tau = state.Tau[sel];
    c.NP = state.NP;
    c.AlfaD = state.AlfaD;
    c.CL = state.CL;
    c.CMc4 = state.CMc4;
    c.Alfa0 = state.Alfa0;
    if (state.NP) c.points = &state.points;
    return c;
}

}  // namespace orvek
