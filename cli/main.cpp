// orvek-batch: the solver and the result file of OrvekAnalysis without the window, for scripts.

#include "cli/Arguments.h"
#include "export/NumberFormat.h"
#include "export/ResultFile.h"
#include "solver/Describe.h"
#include "solver/Solver.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

using orvek::cli::Arguments;
using orvek::cli::UsageError;

constexpr int ExitCannotCalculate = 1;
constexpr int ExitUsage = 2;

const char* const HelpText = R"(Usage:
  orvek-batch solve --F F --G G --m M --alpha DEG --np N [--chord C]
  orvek-batch solve ... --layout 1|2|3|4|none [--output FILE]
                        [--delta D --gama G --xdltc X --tau T]
  orvek-batch describe --F F --G G --m M
  orvek-batch --help

Commands:
  solve      Calculates one Karman-Trefftz airfoil (a Joukowsky airfoil for m = 2).
             Without --layout it prints the case as JSON: CL, CMc4, Alfa0 and the arrays
             x, y and OneMinusCp (1-Cp) for the surface points 1..N in index order,
             an unset point as null, every number with 17 significant digits.
  describe   Prints the catalogue line "Delta,Gama,xDltC,Tau,F,G,m" of an airfoil:
             maximum thickness, maximum camber and its position over chord and the
             trailing-edge angle in degrees, measured on a dense surface.

Options:
  --F F          thickness parameter (centre offset along the negative real axis)
  --G G          camber parameter (centre offset along the imaginary axis)
  --m M          Karman-Trefftz exponent; 2 gives a Joukowsky airfoil
  --alpha DEG    angle of attack in degrees
  --np N         number of surface points, a whole number from 2 to 1000001
  --chord C      chord length (default 1)
  --layout L     write the result file instead of JSON: 1 "i x y", 2 "i x y 1-Cp",
                 3 "i xU yU xL yL", 4 "i xU yU 1-Cp xL yL 1-Cp", none (header only)
  --output FILE  write the result file to FILE (replaced whole) instead of stdout
  --delta D, --gama G, --xdltc X, --tau T
                 catalogue values for the result file's header; by default they
                 are measured as by the describe command
  --help         shows this text

Numbers use a point as decimal separator. Exit status: 0 done, 1 the airfoil
cannot be calculated, 2 invalid arguments.
)";

struct CannotCalculate {
    std::string message;
};

std::string jsonArray(const std::vector<double>& values, const orvek::SurfacePoints& p) {
    std::string out = "[";
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (i > 1) out += ",";
        out += p.isSet(i) ? orvek::roundTripText(values[i]) : "null";
    }
    return out + "]";
}

orvek::SolverInput solverInput(const Arguments& a) {
    orvek::SolverInput in;
    in.F = a.number("F");
    in.G = a.number("G");
    in.m = a.number("m");
    in.AlfaD = a.number("alpha");
    in.N1 = a.number("np");
    in.Chord = a.optionalNumber("chord").value_or(1.0);
    in.Pi = 4.0 * std::atan(1.0);
    return in;
}

orvek::SolverResult solve(const orvek::SolverInput& in) {
    orvek::SolverOutcome outcome = orvek::ORVEK(in);
    if (!outcome) throw CannotCalculate{outcome.error};
    return std::move(*outcome.result);
}

orvek::Layout layoutOption(const std::string& text) {
    if (text == "none") return orvek::Layout::None;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return static_cast<orvek::Layout>(text[0] - '0');
    throw UsageError{"option '--layout' expects 1, 2, 3, 4 or none, not '" + text + "'"};
}

std::string resultFile(const Arguments& a, const orvek::SolverInput& in, orvek::SolverResult r, orvek::Layout layout) {
    orvek::CaseState state;
    state.SelIndex = 1;
    const double F = in.F, G = in.G, m = in.m;
    std::optional<double> given[4] = {a.optionalNumber("delta"), a.optionalNumber("gama"), a.optionalNumber("xdltc"),
                                      a.optionalNumber("tau")};
    if (!given[0] || !given[1] || !given[2] || !given[3]) {
        std::string error;
        std::optional<orvek::AirfoilGeometry> g = orvek::describeAirfoil(F, G, m, error);
        if (!g) throw CannotCalculate{error};
        given[0] = given[0].value_or(g->Delta);
        given[1] = given[1].value_or(g->Gama);
        given[2] = given[2].value_or(g->xDltC);
        given[3] = given[3].value_or(g->Tau);
    }
    state.Delta[1] = *given[0];
    state.Gama[1] = *given[1];
    state.xDltC[1] = *given[2];
    state.Tau[1] = *given[3];
    state.F[1] = F;
    state.G[1] = G;
    state.m[1] = m;
    state.NP = in.N1;
    state.AlfaD = in.AlfaD;
    state.CL = r.CL;
    state.CMc4 = r.CMc4;
    state.Alfa0 = r.Alfa0;
    state.points = std::move(r.points);
    return orvek::resultFileText(state, layout, '.');
}

int run(const std::vector<std::string>& args) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        std::fputs(HelpText, stdout);
        return 0;
    }
    if (!args.empty() && args[0] == "describe") {
        Arguments a(args, {"F", "G", "m"});
        const double F = a.number("F"), G = a.number("G"), m = a.number("m");
        std::string error;
        std::optional<orvek::AirfoilGeometry> g = orvek::describeAirfoil(F, G, m, error);
        if (!g) throw CannotCalculate{error};
        std::cout << orvek::catalogueLine(*g, F, G, m) << '\n';
        return 0;
    }
    Arguments a(args, {"F", "G", "m", "alpha", "np", "chord", "layout", "output", "delta", "gama", "xdltc", "tau"});
    if (a.command() != "solve") throw UsageError{"unknown command '" + a.command() + "' (solve or describe); see --help"};
    std::optional<orvek::Layout> layout;
    if (std::optional<std::string> l = a.text("layout")) layout = layoutOption(*l);
    if (!layout && (a.has("output") || a.has("delta") || a.has("gama") || a.has("xdltc") || a.has("tau"))) {
        throw UsageError{"--output, --delta, --gama, --xdltc and --tau go with --layout"};
    }
    const orvek::SolverInput in = solverInput(a);
    orvek::SolverResult r = solve(in);
    if (!layout) {
        std::string json = "{\"CL\": " + orvek::roundTripText(r.CL) + ", \"CMc4\": " + orvek::roundTripText(r.CMc4) +
                           ", \"Alfa0\": " + orvek::roundTripText(r.Alfa0) + ", \"x\": " + jsonArray(r.points.x, r.points) +
                           ", \"y\": " + jsonArray(r.points.y, r.points) +
                           ", \"OneMinusCp\": " + jsonArray(r.points.Cu, r.points) + "}\n";
        std::fwrite(json.data(), 1, json.size(), stdout);
        return 0;
    }
    const std::string bytes = resultFile(a, in, std::move(r), *layout);
    if (std::optional<std::string> output = a.text("output")) {
        if (std::optional<std::string> failure = orvek::saveFileAtomically(*output, bytes)) {
            throw CannotCalculate{*failure};
        }
        return 0;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return run(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "orvek-batch: %s\n", e.message.c_str());
        return ExitUsage;
    } catch (const CannotCalculate& e) {
        std::fprintf(stderr, "orvek-batch: %s\n", e.message.c_str());
        return ExitCannotCalculate;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvek-batch: %s\n", e.what());
        return ExitCannotCalculate;
    }
}
