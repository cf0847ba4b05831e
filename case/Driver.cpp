#include "case/Driver.h"

#include "case/TextNumber.h"
#include "export/NumberFormat.h"
#include "solver/surface/Solver.h"

#include <cmath>
#include <optional>

namespace orvek {

namespace {

// What the user typed, as a message quotes it: without blanks around it, and cut short (at a
// character boundary) when it is too long to read in a message box.
std::string typedForMessage(std::string_view typed) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!typed.empty() && isSpace(typed.front())) typed.remove_prefix(1);
    while (!typed.empty() && isSpace(typed.back())) typed.remove_suffix(1);
    constexpr std::size_t Longest = 40;
    if (typed.size() <= Longest) return std::string(typed);
    std::size_t cut = Longest;
    while (cut > 0 && (static_cast<unsigned char>(typed[cut]) & 0xC0) == 0x80) --cut;  // inside a UTF-8 letter
    return std::string(typed.substr(0, cut)) + "...";
}

// The text quoted as the user typed it, for "is not a number".
std::string quoted(std::string_view typed) { return "'" + typedForMessage(typed) + "'"; }

// Whether a typed point count can be used, and if not why.
Status pointCountFault(std::string_view typed, std::optional<double> value) {
    const std::string wanted = "The number of points must be a whole number from 2 to 1,000,001; ";
    if (packedNumberText(typed).empty()) return Failure{wanted + "the field is empty."};
    // Text that is not one number as a whole ("abc", "0x10", "5abc") is named as such.
    if (!value) return Failure{wanted + quoted(typed) + " is not a number."};
    const double v = *value;
    if (std::isfinite(v) && v == std::floor(v) && v >= 2 && v <= MaxPoints) return {};
    const std::string number = typedForMessage(typed);
    if (!(v >= 2)) return Failure{wanted + number + " is too small."};
    if (!(v <= MaxPoints)) return Failure{wanted + number + " is too large."};
    return Failure{wanted + number + " is not a whole number."};
}

// Whether a typed angle of attack can be used, and if not why.
Status angleFault(std::string_view typed, std::optional<double> value) {
    const std::string range = "from -" + shortestText(MaxAngleDegrees) + " to " + shortestText(MaxAngleDegrees);
    const std::string wanted = "The angle of attack must be a number of degrees " + range + "; ";
    if (packedNumberText(typed).empty()) return Failure{wanted + "the field is empty."};
    if (!value) return Failure{wanted + quoted(typed) + " is not a number."};
    if (std::fabs(*value) <= MaxAngleDegrees) return {};
    return Failure{"The angle of attack " + typedForMessage(typed) + " is too large. Type an angle " + range +
                   " degrees."};
}

}  // namespace

int matchSelection(const CaseState& state, std::string_view text) {
    int selected = state.SelIndex;
    for (int i = 1; i <= state.AirfoilCount && i <= MaxAirfoils; ++i) {
        if (state.AirfoilRow[static_cast<std::size_t>(i)].text == text) selected = i;
    }
    return selected;
}

CoefficientTexts coefficientTexts(const Coefficients& c) {
    return {roundedDisplayText(c.CL, 3), roundedDisplayText(c.CMc4, 3), roundedDisplayText(c.Alfa0, 2)};
}

Expected<CoefficientTexts> Calculate(CaseState& state, std::string_view textN1, std::string_view textAlfaD) {
    if (state.SelIndex <= 0 || state.SelIndex > MaxAirfoils) return Failure{ChooseAnAirfoil};
    const auto slot = static_cast<std::size_t>(state.SelIndex);
    SolverInput in;
    in.airfoil = state.AirfoilRow[slot].airfoil;
    // The typed values are judged here, where the text is still at hand to be quoted: a point or
    // a comma as decimal separator, and nothing else left over.
    const std::optional<double> N1 = typedNumber(textN1), AlfaD = typedNumber(textAlfaD);
    if (Status fault = pointCountFault(textN1, N1); !fault) return Failure{fault.error()};
    if (Status fault = angleFault(textAlfaD, AlfaD); !fault) return Failure{fault.error()};
    in.N1 = *N1;
    in.AlfaD = *AlfaD;
    in.Chord = state.Chord;
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
    state.coefficients = r.coefficients;
    return coefficientTexts(r.coefficients);
}

ResultFileCase resultFileCase(const CaseState& state) {
    const std::size_t sel =
        state.SelIndex >= 0 && state.SelIndex <= MaxAirfoils ? static_cast<std::size_t>(state.SelIndex) : 0;
    ResultFileCase c;
    c.header = state.AirfoilRow[sel].geometry;
    c.NP = state.NP;
    c.AlfaD = state.AlfaD;
    c.coefficients = state.coefficients;
    if (state.NP) c.points = &state.points;
    return c;
}

}  // namespace orvek
