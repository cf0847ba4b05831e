#pragma once
// The calculation driver: turns the chosen list entry and the two typed values into one case.

#include "case/CaseState.h"

#include <string>
#include <string_view>

namespace orvek {

inline constexpr const char* ChooseAnAirfoil = "Choose an airfoil";

// The catalogue index whose display text equals `text` exactly; when several lines are identical
// the highest matching index, and when none matches the current SelIndex.
int matchSelection(const CaseState& state, std::string_view text);

struct CalculationOutcome {
    bool ok = false;
    std::string message;  // why nothing was calculated, shown to the user
    std::string textCL, textCMc4, textAlfa0;
};

// Runs one case for the selected airfoil with the typed point count and angle of attack. All or
// nothing: on success the case state holds the new NP, AlfaD, arrays and coefficients; on failure
// it is left exactly as it was and `message` says why.
CalculationOutcome Calculate(CaseState& state, std::string_view textN1, std::string_view textAlfaD);

}  // namespace orvek
