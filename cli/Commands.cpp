#include "cli/Commands.h"

#include "case/Catalogue.h"
#include "case/CatalogueTable.h"
#include "cli/Arguments.h"
#include "cli/FlowCommands.h"
#include "export/AirfoilCoordinates.h"
#include "export/CatalogueLine.h"
#include "export/NumberFormat.h"
#include "export/PolarTable.h"
#include "export/ResultFile.h"
#include "solver/Describe.h"
#include "solver/Design.h"
#include "solver/PressureMinimum.h"
#include "solver/Solver.h"
#include "solver/Sweep.h"

#include <cmath>

namespace orvek::cli {

namespace {

// The options of solve, shown in its own help and in the help of orvek-batch as a whole.
const std::string CaseOptions = R"(  --F F          thickness parameter (centre offset along the negative real axis)
  --G G          camber parameter (centre offset along the imaginary axis)
  --m M          Karman-Trefftz exponent; 2 gives a Joukowsky airfoil
  --alpha DEG    angle of attack in degrees
  --np N         number of surface points, a whole number from 2 to 1000001
  --chord C      chord length (default 1)
  --layout L     write the result file instead of JSON: 1 "i x y", 2 "i x y 1-Cp",
                 3 "i xU yU xL yL", 4 "i xU yU 1-Cp xL yL 1-Cp", none (header only)
)";
const std::string HeaderOptions = R"(  --delta D, --gama G, --xdltc X, --tau T
                 catalogue values for the result file's header; by default they
                 are measured as by the describe command
)";

const std::string GeneralHelp = R"(Usage:
  orvek-batch solve --F F --G G --m M --alpha DEG --np N [--chord C]
  orvek-batch solve ... --layout 1|2|3|4|none [--output FILE|-]
                        [--delta D --gama G --xdltc X --tau T]
  orvek-batch sweep --F F --G G --m M --from A --to B --step S [--np N]
                    [--format csv|json] [--output FILE|-]
  orvek-batch export --F F --G G --m M --format selig|lednicer|csv [--np N]
                     [--alpha DEG] [--name TEXT] [--output FILE|-]
  orvek-batch design --thickness T --camber C --te-angle DEG [--format line|json]
                     [--output FILE|-]
  orvek-batch table --catalogue FILE --alpha DEG [--np N] [--format csv|json]
                    [--output FILE|-]
  orvek-batch describe --F F --G G --m M
  orvek-batch field --F F --G G --m M --alpha DEG --points FILE|-
  orvek-batch field --F F --G G --m M --alpha DEG --grid X0:X1:NX,Y0:Y1:NY
                    [--format csv|vtk] [--output FILE|-]
  orvek-batch streamlines --F F --G G --m M --alpha DEG [--count N]
                          [--extent X0:X1,Y0:Y1] [--plane airfoil|circle]
                          [--format csv|svg] [--output FILE|-]
  orvek-batch COMMAND --help
  orvek-batch --help | --version

Commands:
  solve      Calculates one Karman-Trefftz airfoil (a Joukowsky airfoil for m = 2).
             Without --layout it prints the case as JSON: CL, CMc4, Alfa0 and the arrays
             x, y and OneMinusCp (1-Cp) for the surface points 1..N in index order,
             an unset point as null, and the stagnation points, every number with 17
             significant digits.
  sweep      A polar: one row per angle of attack A, A+S, ... up to B with alpha, CL,
             CMc4, Alfa0, CpMin, xCpMin and the side of the suction peak.
  export     The airfoil's coordinates for other programs: a Selig or Lednicer .dat
             file, or CSV with 1-Cp.
  design     Finds the airfoil of a given thickness, camber and trailing-edge angle and
             prints its catalogue line.
  table      Calculates every airfoil of a catalogue file at one angle of attack.
  describe   Prints the catalogue line "Delta,Gama,xDltC,Tau,F,G,m" of an airfoil:
             maximum thickness, maximum camber and its position over chord and the
             trailing-edge angle in degrees, measured on a dense surface.
  field      The exact flow around the airfoil (velocity, Cp, stream function) at the
             points of a file or on a grid, as CSV or a VTK file for ParaView.
  streamlines  Lines of constant stream function over an extent, as CSV or SVG.

Options of solve and describe:
)" + CaseOptions + R"(  --output FILE  write the result file to FILE (replaced whole) instead of stdout
)" + HeaderOptions + R"(  --help         shows this text, or after a command that command's help
  --version      shows the version

"orvek-batch COMMAND --help" lists a command's options. Options may be written
--name value or --name=value; "--" ends the options. "--output -" is standard
output. Numbers use a point as decimal separator. Exit status: 0 done, 1 the
airfoil cannot be calculated or designed or the output cannot be written,
2 invalid arguments.
)";

const std::string SolveHelp = R"(Usage:
  orvek-batch solve --F F --G G --m M --alpha DEG --np N [--chord C]
  orvek-batch solve ... --layout 1|2|3|4|none [--output FILE|-]
                        [--delta D --gama G --xdltc X --tau T]

Calculates one Karman-Trefftz airfoil (a Joukowsky airfoil for m = 2). Without --layout
it prints JSON: CL, CMc4, Alfa0, the arrays x, y and OneMinusCp (1-Cp) for the
surface points 1..N in index order (an unset point as null), and "stagnation": the
front stagnation point and, unless m = 2, the trailing edge, as [x, y] pairs (null when
the flow cannot be calculated: F below 0 or m above 2); every number with 17
significant digits. With --layout it writes the result file, as the window does.

Options:
)" + CaseOptions + R"(  --output FILE  write the result file to FILE (replaced whole); - is stdout
)" + HeaderOptions + R"()";

const std::string SweepHelp = R"(Usage:
  orvek-batch sweep --F F --G G --m M --from A --to B --step S [--np N]
                    [--format csv|json] [--output FILE|-]

A polar: one calculation per angle of attack A, A+S, A+2S, ... up to B inclusive
(B counts as reached within a billionth of a step; S may be negative; at most
100001 angles; each angle rounded to 15 significant digits). One row per angle:
  alpha, CL, CMc4, Alfa0   the closed-form coefficients, as solve gives them
  CpMin                    1 - max(1-Cp) over the N surface points
  xCpMin                   the x/c of that point
  surfaceCpMin             upper or lower: its side, by the point layout
CSV has a header line; numbers are the shortest text that reads back unchanged.
An angle that cannot be calculated fails the whole sweep (exit 1); a step that is
0, not a number or pointing away from B is an invalid argument (exit 2).

Options:
  --F F, --G G, --m M   the airfoil, as for solve
  --from A, --to B      first and last angle of attack, degrees
  --step S              degrees between angles
  --np N                surface points per angle (default 201)
  --format csv|json     default csv
  --output FILE|-       write to FILE (replaced whole) instead of stdout
)";

const std::string ExportHelp = R"(Usage:
  orvek-batch export --F F --G G --m M --format selig|lednicer|csv [--np N]
                     [--alpha DEG] [--name TEXT] [--output FILE|-]

The airfoil's surface coordinates (chord 1) for other programs:
  selig      line 1 the name, then one "x y" pair per line from the trailing edge
             along the upper surface to the leading edge and back along the lower
             surface to the trailing edge
  lednicer   the name; the upper and lower point counts; a blank line; the upper
             surface from the leading edge to the trailing edge; a blank line; the
             lower surface the same way
  csv        index,x,y,OneMinusCp,surface with 1-Cp at --alpha
Values with 8 decimals in aligned columns, a point as decimal separator, LF line
ends. Unset points (the leading edge of an F = 0 airfoil) are left out.

Options:
  --F F, --G G, --m M   the airfoil, as for solve
  --format FORMAT       selig, lednicer or csv
  --np N                number of surface points (default 161; an odd number gives
                        both surfaces the leading-edge point)
  --alpha DEG           angle of attack for the csv 1-Cp column (default 0)
  --name TEXT           the name line (default e.g. "Karman-Trefftz F=0.1 G=0.05 m=1.9",
                        "Joukowsky F=0.1 G=0.05" for m = 2)
  --output FILE|-       write to FILE (replaced whole) instead of stdout
)";

const std::string DesignHelp = R"(Usage:
  orvek-batch design --thickness T --camber C --te-angle DEG [--format line|json]
                     [--output FILE|-]

Finds F, G and m whose airfoil has the maximum thickness T, maximum camber C and
trailing-edge angle DEG as describe measures them (thickness and camber to 1e-6),
and prints its catalogue line "Delta,Gama,xDltC,Tau,F,G,m" as describe does, ready
for ORVEK_Input.txt. m = 2 - DEG/180; F and G by a Newton iteration.

Reachable range: trailing-edge angle 0 to 30 degrees, camber -0.10 to 0.10,
thickness up to 0.30 and at least tan(DEG/4) + 0.01 (as F goes to 0 the airfoil
becomes a lens about tan(DEG/4) thick). Targets outside it are refused (exit 1).

Options:
  --thickness T      maximum thickness over chord
  --camber C         maximum camber over chord (negative: cambered downwards)
  --te-angle DEG     trailing-edge angle in degrees
  --format line|json line (default) prints the catalogue line; json the targets,
                     the values reached, the residuals, F, G, m and the line
  --output FILE|-    write to FILE (replaced whole) instead of stdout
)";

const std::string TableHelp = R"(Usage:
  orvek-batch table --catalogue FILE --alpha DEG [--np N] [--format csv|json]
                    [--output FILE|-]
  orvek-batch table --alpha DEG [options] -- FILE

Calculates every airfoil of a catalogue file (read as the window reads
ORVEK_Input.txt: at most 50 airfoils, a malformed line reported on stderr and the
airfoils before it listed) at one angle of attack. One row each:
  row, F, G, m, Delta, Gama, xDltC, Tau, CL, CMc4, Alfa0, CpMin, xCpMin, problem
Delta to Tau are the catalogue's columns; CpMin and xCpMin as for sweep. An airfoil
that cannot be calculated has the reason in the problem column; the exit status is
then 1, after all rows.

Options:
  --catalogue FILE    the catalogue file
  --alpha DEG         angle of attack in degrees
  --np N              surface points per airfoil (default 201)
  --format csv|json   default csv
  --output FILE|-     write to FILE (replaced whole) instead of stdout
)";

const std::string DescribeHelp = R"(Usage:
  orvek-batch describe --F F --G G --m M

Prints the catalogue line "Delta,Gama,xDltC,Tau,F,G,m" of an airfoil: maximum
thickness, maximum camber and its position over chord and the trailing-edge angle
in degrees, measured on a surface of 200001 points.
)";

// --- number and text forms ----------------------------------------------------------------

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            const char* hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char ch : s) {
        if (ch == '"') out += '"';
        out += ch;
    }
    return out + "\"";
}

// The shortest text that reads back as the same double; zero without a sign.
std::string num(double v) { return shortestText(v == 0.0 ? 0.0 : v); }

// --- options shared by commands ----------------------------------------------------------

std::string formatOption(const Arguments& a, const std::vector<std::string>& choices) {
    const std::optional<std::string> f = a.text("format");
    if (!f) return choices.front();
    for (const std::string& c : choices) {
        if (*f == c) return c;
    }
    std::string list;
    for (std::size_t k = 0; k < choices.size(); ++k)
        list += (k == 0 ? "" : k + 1 == choices.size() ? " or " : ", ") + choices[k];
    throw UsageError{"option '--format' expects " + list + ", not '" + *f + "'"};
}

Output to(const Arguments& a, std::string bytes) {
    Output o;
    o.bytes = std::move(bytes);
    o.path = a.text("output");
    return o;
}

// --- solve and describe -------------------------------------------------------------------

std::string jsonArray(const std::vector<double>& values, const SurfacePoints& p) {
    std::string out = "[";
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (i > 1) out += ",";
        out += p.isSet(i) ? roundTripText(values[i]) : "null";
    }
    return out + "]";
}

std::string solveJson(const SolverResult& r, const SolverInput& in) {
    const Coefficients& c = r.coefficients;
    return "{\"CL\": " + roundTripText(c.CL) + ", \"CMc4\": " + roundTripText(c.CMc4) +
           ", \"Alfa0\": " + roundTripText(c.Alfa0) + ", \"x\": " + jsonArray(r.points.x, r.points) +
           ", \"y\": " + jsonArray(r.points.y, r.points) + ", \"OneMinusCp\": " + jsonArray(r.points.Cu, r.points) +
           ", " + stagnationJson(in.airfoil, in.AlfaD, in.Chord) + "}\n";
}

Airfoil airfoilOption(const Arguments& a) { return {a.number("F"), a.number("G"), a.number("m")}; }

SolverInput solverInput(const Arguments& a) {
    SolverInput in;
    in.airfoil = airfoilOption(a);
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

Layout layoutOption(const std::string& text) {
    if (text == "none") return Layout::None;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return static_cast<Layout>(text[0] - '0');
    throw UsageError{"option '--layout' expects 1, 2, 3, 4 or none, not '" + text + "'"};
}

// The result file's header values: those given, the rest measured as describe measures them (zeros
// for a shape that is not a simple airfoil and so has no thickness or camber to measure).
Expected<AirfoilGeometry> headerValues(const Arguments& a, const SolverInput& in) {
    const std::optional<double> given[4] = {a.optionalNumber("delta"), a.optionalNumber("gama"),
                                            a.optionalNumber("xdltc"), a.optionalNumber("tau")};
    AirfoilGeometry g;
    if (!given[0] || !given[1] || !given[2] || !given[3]) {
        if (simpleAirfoilFault(in.airfoil)) {
            Expected<AirfoilGeometry> measured = measureAirfoil(in.airfoil);
            if (!measured) return measured;
            g = *measured;
        }
    }
    g.Delta = given[0].value_or(g.Delta);
    g.Gama = given[1].value_or(g.Gama);
    g.xDltC = given[2].value_or(g.xDltC);
    g.Tau = given[3].value_or(g.Tau);
    return g;
}

CommandOutput solve(const std::vector<std::string>& args) {
    Arguments a(args, {"F", "G", "m", "alpha", "np", "chord", "layout", "output", "delta", "gama", "xdltc", "tau"});
    std::optional<Layout> layout;
    if (std::optional<std::string> l = a.text("layout")) layout = layoutOption(*l);
    if (!layout && (a.has("output") || a.has("delta") || a.has("gama") || a.has("xdltc") || a.has("tau"))) {
        throw UsageError{"--output, --delta, --gama, --xdltc and --tau go with --layout"};
    }
    const SolverInput in = solverInput(a);
    Expected<SolverResult> r = ORVEK(in);
    if (!r) return Failure{r.error()};
    if (!layout) return to(a, solveJson(*r, in));

    Expected<AirfoilGeometry> header = headerValues(a, in);
    if (!header) return Failure{header.error()};
    ResultFileCase c;
    c.header = *header;
    c.NP = in.N1;
    c.AlfaD = in.AlfaD;
    c.coefficients = r->coefficients;
    c.points = &r->points;
    return to(a, resultFileText(c, *layout, '.'));
}

CommandOutput describe(const std::vector<std::string>& args) {
    Arguments a(args, {"F", "G", "m"});
    const Airfoil airfoil = airfoilOption(a);
    Expected<AirfoilGeometry> g = measureAirfoil(airfoil);
    if (!g) return Failure{g.error()};
    return to(a, catalogueLine(*g, airfoil) + "\n");
}

// --- sweep --------------------------------------------------------------------------------

CommandOutput sweepCommand(const std::vector<std::string>& args) {
    Arguments a(args, {"F", "G", "m", "from", "to", "step", "np", "format", "output"});
    const std::string format = formatOption(a, {"csv", "json"});
    SweepInput in;
    in.airfoil = airfoilOption(a);
    in.from = a.number("from");
    in.to = a.number("to");
    in.step = a.number("step");
    in.N1 = a.optionalNumber("np").value_or(SweepPoints);
    if (Expected<std::vector<double>> angles = sweepAngles(in.from, in.to, in.step); !angles) {
        throw UsageError{"invalid sweep: " + angles.error()};
    }
    Expected<std::vector<SweepRow>> rows = sweep(in);
    if (!rows) return Failure{rows.error()};

    std::string out;
    if (format == "csv") {
        out = polarCsv(*rows);
    } else {
        out = "{\"F\": " + num(in.airfoil.F) + ", \"G\": " + num(in.airfoil.G) + ", \"m\": " + num(in.airfoil.m) +
              ", \"np\": " + num(in.N1) + ", \"rows\": [";
        for (std::size_t k = 0; k < rows->size(); ++k) {
            const SweepRow& r = (*rows)[k];
            out += std::string(k == 0 ? "\n" : ",\n") + "  {\"alpha\": " + num(r.alpha) +
                   ", \"CL\": " + num(r.coefficients.CL) + ", \"CMc4\": " + num(r.coefficients.CMc4) +
                   ", \"Alfa0\": " + num(r.coefficients.Alfa0) + ", \"CpMin\": " + num(r.CpMin) +
                   ", \"xCpMin\": " + num(r.xCpMin) + ", \"surfaceCpMin\": \"" + surfaceName(r.surface) + "\"}";
        }
        out += "\n]}\n";
    }
    return to(a, std::move(out));
}

// --- export -------------------------------------------------------------------------------

CommandOutput exportCommand(const std::vector<std::string>& args) {
    Arguments a(args, {"F", "G", "m", "np", "format", "alpha", "name", "output"});
    const std::optional<std::string> formatText = a.text("format");
    if (!formatText) throw UsageError{"missing option '--format' (selig, lednicer or csv)"};
    const std::optional<CoordinateFormat> format = coordinateFormat(*formatText);
    if (!format) throw UsageError{"option '--format' expects selig, lednicer or csv, not '" + *formatText + "'"};
    SolverInput in;
    in.airfoil = airfoilOption(a);
    in.N1 = a.optionalNumber("np").value_or(CoordinatePoints);
    in.AlfaD = a.optionalNumber("alpha").value_or(0.0);
    const std::optional<std::string> givenName = a.text("name");
    Expected<SolverResult> r = ORVEK(in);
    if (!r) return Failure{r.error()};
    if (Status shape = simpleAirfoilFault(in.airfoil); !shape) return Failure{shape.error()};
    Expected<std::string> text = airfoilCoordinatesText(r->points, *format, givenName.value_or(in.airfoil.name()));
    if (!text) {
        if (givenName) throw UsageError{"option '--name': " + text.error()};
        return Failure{"Cannot export: " + text.error() + "."};
    }
    return to(a, std::move(*text));
}

// --- design -------------------------------------------------------------------------------

CommandOutput designCommand(const std::vector<std::string>& args) {
    Arguments a(args, {"thickness", "camber", "te-angle", "format", "output"});
    const std::string format = formatOption(a, {"line", "json"});
    DesignTargets t;
    t.thickness = a.number("thickness");
    t.camber = a.number("camber");
    t.teAngle = a.number("te-angle");
    Expected<DesignResult> d = designAirfoil(t);
    if (!d) return Failure{d.error()};
    // The airfoil found, measured as describe measures it; refused unless it meets the targets.
    const AirfoilGeometry* g = &d->reached;
    const double rT = g->Delta - t.thickness, rC = g->Gama - t.camber, rTau = g->Tau - t.teAngle;
    if (!(std::fabs(rT) <= 1e-6 && std::fabs(rC) <= 1e-6 && std::fabs(rTau) <= 0.01)) {
        return Failure{"Cannot design: the airfoil found misses the targets (thickness by " + num(rT) + ", camber by " +
                       num(rC) + ", trailing-edge angle by " + num(rTau) + ")."};
    }
    const std::string line = catalogueLine(*g, d->airfoil);
    if (format == "line") return to(a, line + "\n");
    const std::string json = "{\"targets\": {\"thickness\": " + num(t.thickness) + ", \"camber\": " + num(t.camber) +
                             ", \"teAngle\": " + num(t.teAngle) + "},\n \"reached\": {\"thickness\": " + num(g->Delta) +
                             ", \"camber\": " + num(g->Gama) + ", \"teAngle\": " + num(g->Tau) +
                             ", \"xDltC\": " + num(g->xDltC) + "},\n \"residuals\": {\"thickness\": " + num(rT) +
                             ", \"camber\": " + num(rC) + ", \"teAngle\": " + num(rTau) +
                             "},\n \"F\": " + num(d->airfoil.F) + ", \"G\": " + num(d->airfoil.G) +
                             ", \"m\": " + num(d->airfoil.m) + ", \"line\": " + jsonString(line) + "}\n";
    return to(a, json);
}

// --- table --------------------------------------------------------------------------------

CommandOutput tableCommand(const std::vector<std::string>& args) {
    Arguments a(args, {"catalogue", "alpha", "np", "format", "output"}, 1);
    const std::string format = formatOption(a, {"csv", "json"});
    std::optional<std::string> file = a.text("catalogue");
    if (file && !a.operands().empty()) throw UsageError{"the catalogue is given twice (--catalogue and an operand)"};
    if (!file && !a.operands().empty()) file = a.operands().front();
    if (!file) throw UsageError{"missing option '--catalogue'"};
    const double alpha = a.number("alpha");
    const double N1 = a.optionalNumber("np").value_or(SweepPoints);

    Expected<Catalogue> catalogue = loadCatalogueFile(*file);
    if (!catalogue) return Failure{"Cannot read the catalogue " + *file + ": the file is missing or empty."};
    Output out = to(a, "");
    if (catalogue->problem) {
        out.problems.push_back(*file + ", line " + std::to_string(catalogue->problem->lineNumber) + ": " +
                               catalogue->problem->what + "; the airfoils from this line on were not loaded.");
    }
    const std::vector<CatalogueTableRow> rows = catalogueTable(*catalogue, alpha, N1);
    for (const CatalogueTableRow& t : rows) {
        if (!t.result) out.problems.push_back(*file + ", row " + std::to_string(t.row) + ": " + t.result.error());
    }

    if (format == "csv") {
        out.bytes = "row,F,G,m,Delta,Gama,xDltC,Tau,CL,CMc4,Alfa0,CpMin,xCpMin,problem\n";
        for (const CatalogueTableRow& t : rows) {
            const Airfoil& c = t.airfoil.airfoil;
            const AirfoilGeometry& g = t.airfoil.geometry;
            out.bytes += std::to_string(t.row) + "," + num(c.F) + "," + num(c.G) + "," + num(c.m) + "," + num(g.Delta) +
                         "," + num(g.Gama) + "," + num(g.xDltC) + "," + num(g.Tau) + ",";
            if (t.result) {
                const Coefficients& k = t.result->coefficients;
                out.bytes += num(k.CL) + "," + num(k.CMc4) + "," + num(k.Alfa0) + "," + num(t.result->CpMin) + "," +
                             num(t.result->xCpMin) + ",\n";
            } else {
                out.bytes += ",,,,," + csvField(t.result.error()) + "\n";
            }
        }
    } else {
        out.bytes = "{\"catalogue\": " + jsonString(*file) + ", \"alpha\": " + num(alpha) + ", \"np\": " + num(N1) +
                    ", \"rows\": [";
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const CatalogueTableRow& t = rows[k];
            const Airfoil& c = t.airfoil.airfoil;
            const AirfoilGeometry& g = t.airfoil.geometry;
            out.bytes += std::string(k == 0 ? "\n" : ",\n") + "  {\"row\": " + std::to_string(t.row) +
                         ", \"F\": " + num(c.F) + ", \"G\": " + num(c.G) + ", \"m\": " + num(c.m) +
                         ", \"Delta\": " + num(g.Delta) + ", \"Gama\": " + num(g.Gama) +
                         ", \"xDltC\": " + num(g.xDltC) + ", \"Tau\": " + num(g.Tau);
            if (t.result) {
                const Coefficients& q = t.result->coefficients;
                out.bytes += ", \"CL\": " + num(q.CL) + ", \"CMc4\": " + num(q.CMc4) + ", \"Alfa0\": " + num(q.Alfa0) +
                             ", \"CpMin\": " + num(t.result->CpMin) + ", \"xCpMin\": " + num(t.result->xCpMin) +
                             ", \"problem\": null}";
            } else {
                out.bytes +=
                    ", \"CL\": null, \"CMc4\": null, \"Alfa0\": null, \"CpMin\": null, \"xCpMin\": null, "
                    "\"problem\": " +
                    jsonString(t.result.error()) + "}";
            }
        }
        out.bytes += "\n]}\n";
    }
    return out;
}

}  // namespace

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"solve", SolveHelp, solve},           {"sweep", SweepHelp, sweepCommand},
        {"export", ExportHelp, exportCommand}, {"design", DesignHelp, designCommand},
        {"table", TableHelp, tableCommand},    {"describe", DescribeHelp, describe},
        {"field", FieldHelp, fieldCommand},    {"streamlines", StreamlinesHelp, streamlinesCommand},
    };
    return list;
}

const std::string& generalHelp() { return GeneralHelp; }

}  // namespace orvek::cli
