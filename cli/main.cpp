// orvek-batch: the solver and the result file of OrvekAnalysis without the window, for scripts.

#include "cli/Arguments.h"
#include "export/CatalogueLine.h"
#include "export/NumberFormat.h"
#include "export/ResultFile.h"
#include "export/SaveFile.h"
#include "solver/Describe.h"
#include "solver/Solver.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

using orvek::Expected;
using orvek::Failure;
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

// What a command gives: the bytes for standard output, or why the case cannot be calculated or
// saved. Usage errors are thrown as UsageError by the argument reader.
using CommandOutput = Expected<std::string>;

std::string jsonArray(const std::vector<double>& values, const orvek::SurfacePoints& p) {
    std::string out = "[";
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (i > 1) out += ",";
        out += p.isSet(i) ? orvek::roundTripText(values[i]) : "null";
    }
    return out + "]";
}

std::string json(const orvek::SolverResult& r) {
    return "{\"CL\": " + orvek::roundTripText(r.CL) + ", \"CMc4\": " + orvek::roundTripText(r.CMc4) +
           ", \"Alfa0\": " + orvek::roundTripText(r.Alfa0) + ", \"x\": " + jsonArray(r.points.x, r.points) +
           ", \"y\": " + jsonArray(r.points.y, r.points) + ", \"OneMinusCp\": " + jsonArray(r.points.Cu, r.points) +
           "}\n";
}

orvek::SolverInput solverInput(const Arguments& a) {
    orvek::SolverInput in;
    in.F = a.number("F");
    in.G = a.number("G");
    in.m = a.number("m");
    in.AlfaD = a.number("alpha");
    in.N1 = a.number("np");
    in.Chord = a.optionalNumber("chord").value_or(1.0);
    // A chord of zero, below zero, of denormal size or beyond every number has no airfoil.
    if (!std::isnormal(in.Chord) || in.Chord < 0) {
        throw UsageError{"option '--chord' expects a positive number of normal size (from 2.3e-308 to 1.7e308), not '" +
                         a.text("chord").value_or("") + "'"};
    }
    return in;
}

orvek::Layout layoutOption(const std::string& text) {
    if (text == "none") return orvek::Layout::None;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return static_cast<orvek::Layout>(text[0] - '0');
    throw UsageError{"option '--layout' expects 1, 2, 3, 4 or none, not '" + text + "'"};
}

// The result file's header values: those given, the rest measured as describe measures them.
Expected<orvek::AirfoilGeometry> headerValues(const Arguments& a, const orvek::SolverInput& in) {
    const std::optional<double> given[4] = {a.optionalNumber("delta"), a.optionalNumber("gama"),
                                            a.optionalNumber("xdltc"), a.optionalNumber("tau")};
    orvek::AirfoilGeometry g;
    if (!given[0] || !given[1] || !given[2] || !given[3]) {
        Expected<orvek::AirfoilGeometry> measured = orvek::describeAirfoil(in.F, in.G, in.m);
        if (!measured) return measured;
        g = *measured;
    }
    g.Delta = given[0].value_or(g.Delta);
    g.Gama = given[1].value_or(g.Gama);
    g.xDltC = given[2].value_or(g.xDltC);
    g.Tau = given[3].value_or(g.Tau);
    return g;
}

CommandOutput describe(const std::vector<std::string>& args) {
    Arguments a(args, {"F", "G", "m"});
    const double F = a.number("F"), G = a.number("G"), m = a.number("m");
    Expected<orvek::AirfoilGeometry> g = orvek::describeAirfoil(F, G, m);
    if (!g) return Failure{g.error()};
    return orvek::catalogueLine(*g, F, G, m) + "\n";
}

CommandOutput solve(const std::vector<std::string>& args) {
    Arguments a(args, {"F", "G", "m", "alpha", "np", "chord", "layout", "output", "delta", "gama", "xdltc", "tau"});
    if (a.command() != "solve") throw UsageError{"unknown command '" + a.command() + "' (solve or describe); see --help"};
    std::optional<orvek::Layout> layout;
    if (std::optional<std::string> l = a.text("layout")) layout = layoutOption(*l);
    if (!layout && (a.has("output") || a.has("delta") || a.has("gama") || a.has("xdltc") || a.has("tau"))) {
        throw UsageError{"--output, --delta, --gama, --xdltc and --tau go with --layout"};
    }
    const orvek::SolverInput in = solverInput(a);
    Expected<orvek::SolverResult> r = orvek::ORVEK(in);
    if (!r) return Failure{r.error()};
    if (!layout) return json(*r);

    Expected<orvek::AirfoilGeometry> header = headerValues(a, in);
    if (!header) return Failure{header.error()};
    orvek::ResultFileCase c;
    c.Delta = header->Delta;
    c.Gama = header->Gama;
    c.xDltC = header->xDltC;
    c.Tau = header->Tau;
    c.NP = in.N1;
    c.AlfaD = in.AlfaD;
    c.CL = r->CL;
    c.CMc4 = r->CMc4;
    c.Alfa0 = r->Alfa0;
    c.points = &r->points;
    std::string bytes = orvek::resultFileText(c, *layout, '.');
    if (std::optional<std::string> output = a.text("output")) {
        if (const orvek::Status saved = orvek::saveFileAtomically(*output, bytes); !saved) return Failure{saved.error()};
        return std::string();
    }
    return bytes;
}

CommandOutput run(const std::vector<std::string>& args) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) return std::string(HelpText);
    if (!args.empty() && args[0] == "describe") return describe(args);
    return solve(args);
}

}  // namespace

// The one place where outcomes become exit codes: 0 done, 1 cannot be calculated or saved (one
// line on stderr, nothing on stdout), 2 invalid arguments.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const CommandOutput out = run(args);
        if (!out) {
            std::fprintf(stderr, "orvek-batch: %s\n", out.error().c_str());
            return ExitCannotCalculate;
        }
        std::fwrite(out->data(), 1, out->size(), stdout);
        return 0;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "orvek-batch: %s\n", e.message.c_str());
        return ExitUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvek-batch: %s\n", e.what());
        return ExitCannotCalculate;
    }
}
