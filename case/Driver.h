#pragma once
// The calculation driver: turns the chosen list entry and the two typed values into one case.

#include "case/CaseState.h"
#include "export/ResultFile.h"
#include "solver/Expected.h"

#include <string>
#include <string_view>

namespace orvek {

inline constexpr const char* ChooseAnAirfoil = "Choose an airfoil";

// The catalogue index whose display text equals `text` exactly; when several lines are identical
// the highest matching index, and when none matches the current SelIndex.
int matchSelection(const CaseState& state, std::string_view text);

// The coefficients as the result boxes show them: CL and CMc/4 to 3 decimals, Alfa0 to 2, an
// exact half to the even neighbour, with a point as decimal separator ("0.908", "-2.6", "0").
struct CoefficientTexts {
    std::string CL, CMc4, Alfa0;
};
CoefficientTexts coefficientTexts(const Coefficients& c);

// Runs one case for the selected airfoil with the typed point count and angle of attack. All or
// nothing: on success the case state holds the new NP, AlfaD, arrays and coefficients and the
// texts for the result boxes come back; on failure the state is left exactly as it was and the
// failure says why.
Expected<CoefficientTexts> Calculate(CaseState& state, std::string_view textN1, std::string_view textAlfaD);

// What the result file writes for the case state as it stands: the selected airfoil's catalogue
// values (slot 0, all 0, when none is selected) and the last case. Refers to the state's points.
ResultFileCase resultFileCase(const CaseState& state);

}  // namespace orvek
