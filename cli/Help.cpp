#include "cli/Help.h"

#include "case/CaseState.h"
#include "case/PointFile.h"
#include "cli/Commands.h"
#include "cli/FlowCommands.h"
#include "export/AirfoilCoordinates.h"
#include "solver/ShortestText.h"
#include "solver/analysis/Sweep.h"
#include "solver/boundarylayer/BoundaryLayer.h"
#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"
#include "solver/surface/Solver.h"

#include <algorithm>

namespace orvek::cli {

namespace {

// An option shown longer than this has its help on the next line.
constexpr std::size_t LongestOptionColumn = 20;

// A limit as the help writes it: the shortest text, an exponent without its sign and zeros ("1e9").
std::string number(double v) {
    std::string text = shortestText(v);
    const std::size_t e = text.find("e+");
    if (e != std::string::npos) text.erase(e + 1, text.find_first_not_of("+0", e + 1) - (e + 1));
    return text;
}

// The rows every command with an airfoil shares.
std::vector<OptionHelp> airfoilOptions(const std::string& help) {
    return {{"F", "F", ""}, {"G", "G", ""}, {"m", "M", help}};
}

// The rows of the commands that need a simple airfoil around which the flow is calculated.
std::vector<OptionHelp> flowAirfoilOptions() {
    return airfoilOptions("the airfoil, as for solve (F from 0 to " + number(MaxShapeParameter) + ", G from\n-" +
                          number(MaxShapeParameter) + " to " + number(MaxShapeParameter) +
                          ", m above 1 and at most 2)");
}

OptionHelp angleOption() { return {"alpha", "DEG", "angle of attack in degrees"}; }

// The one --output line.
OptionHelp outputOption() { return {"output", "FILE|-", "write to FILE (replaced whole) instead of stdout"}; }

OptionHelp formatOption(const std::string& choices, const std::string& help) { return {"format", choices, help}; }

// The viscous estimate's rows, for solve, sweep and boundary-layer.
std::vector<OptionHelp> viscousOptions() {
    return {{"re", "RE",
             "Reynolds number of the chord and free stream (" + number(MinReynolds) + " to " + number(MaxReynolds) +
                 "):\nadds the viscous estimate (boundary layers, transition,\nCD = CDf + CDp)"},
            {"ncrit", "N",
             "critical amplification exponent of transition, " + number(MinNcrit) + " to " + number(MaxNcrit) +
                 " (default " + number(DefaultNcrit) + ")"},
            {"trip-upper", "X", ""},
            {"trip-lower", "X", "force transition at x/c = X (0 to 1) on that side"}};
}

// "X0:X1,Y0:Y1" as --extent takes it.
std::string extentText(const Extent& e) {
    return number(e.x0) + ":" + number(e.x1) + "," + number(e.y0) + ":" + number(e.y1);
}

std::string circulationLimit() {
    return "from -" + number(FlowField::MaxCirculation) + " to " + number(FlowField::MaxCirculation);
}

std::vector<OptionHelp> joined(std::initializer_list<std::vector<OptionHelp>> parts) {
    std::vector<OptionHelp> all;
    for (const std::vector<OptionHelp>& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The text shown for one option: "--name VALUE".
std::string shown(const OptionHelp& o) { return "--" + o.name + (o.value.empty() ? "" : " " + o.value); }

}  // namespace

std::string optionLines(const std::vector<OptionHelp>& options) {
    // The rows as lines: options with an empty help join the next one's name column.
    std::vector<std::pair<std::string, std::string>> rows;
    std::string names;
    for (const OptionHelp& o : options) {
        names += (names.empty() ? "" : ", ") + shown(o);
        if (o.help.empty()) continue;
        rows.emplace_back(names, o.help);
        names.clear();
    }
    std::size_t column = 0;
    for (const auto& [n, h] : rows) {
        if (n.size() <= LongestOptionColumn) column = std::max(column, n.size());
    }
    column += 2;
    const std::string indent(2 + column, ' ');
    std::string text;
    for (const auto& [n, h] : rows) {
        text += "  " + n;
        text += n.size() <= LongestOptionColumn ? std::string(column - n.size(), ' ') : "\n" + indent;
        for (const char c : h) {
            text += c;
            if (c == '\n') text += indent;
        }
        text += '\n';
    }
    return text;
}

HelpText solveHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch solve --F F --G G --m M --alpha DEG --np N [--chord C]
  orvek-batch solve ... --layout 1|2|3|4|none [--output FILE|-]
                        [--delta D --gama G --xdltc X --tau T]
  orvek-batch solve ... --re RE [--ncrit N] [--trip-upper X] [--trip-lower X]
                        [--mach M]
)";
    h.summary = "one airfoil at one angle of attack: the case as JSON, or the result file\n";
    h.body = R"(
Calculates one Karman-Trefftz airfoil (a Joukowsky airfoil for m = 2). Without --layout
it prints JSON: CL, CMc4, Alfa0, the arrays x, y and OneMinusCp (1-Cp) for the
surface points 1..N in index order (points 1 and N are the trailing edge, the lower
surface runs from point 2 to the leading edge, the upper surface back; an unset point
is null), and "stagnation": the front stagnation point and, unless m = 2, the
trailing edge, as [x, y] pairs (null when the flow cannot be calculated: F below 0 or
m above 2); every number with 17 significant digits. With --layout it writes the
result file, byte for byte as the window writes ORVEK_result.txt with a point as
decimal separator; --output and the header values go with --layout.

With --re the JSON adds "viscous": {"Re", "Ncrit", "CD", "CDf", "CDp", "transition":
{"upper", "lower"}, "separation": {"upper", "lower"}, "valid", "flags"}: the integral
boundary layer of each side from the front stagnation point, transition by the e^N
envelope (or a trip) as x/c (1 where the side stays laminar), separation as x/c or
null, and "valid": false with each reason in "flags" where the estimate stops
meaning anything (turbulent separation, H above )" + number(TurbulentSeparationH) + R"(, ahead of the last per cent
of chord; a laminar separation that never reattaches; a locally supersonic flow).
With --mach it adds "compressible".
)";
    h.options = joined({
        {{"F", "F",
          "thickness parameter (centre offset along the negative real axis),\nfrom -" + number(MaxShapeParameter) +
              " to " + number(MaxShapeParameter)},
         {"G", "G",
          "camber parameter (centre offset along the imaginary axis), from\n-" + number(MaxShapeParameter) + " to " +
              number(MaxShapeParameter) + ": beyond, the surface loses its accuracy\n(about 5e-16 (F^2 + G^2) chords)"},
         {"m", "M",
          "Karman-Trefftz exponent; 2 gives a Joukowsky airfoil; " + number(MinExponent) + " to " +
              number(MaxExponent) + "\n(or -" + number(MaxExponent) + " to -" + number(MinExponent) +
              "); a simple airfoil (describe, export, field) needs\nF of 0 or more and m above 1 and at most 2"},
         {"alpha", "DEG",
          "angle of attack in degrees, from -" + number(MaxAngleDegrees) + " to " + number(MaxAngleDegrees)},
         {"np", "N", "number of surface points, a whole number from 2 to " + number(MaxPoints)},
         {"chord", "C", "chord length (default 1), a positive number of normal size"},
         {"layout", "L",
          "write the result file instead of JSON: 1 \"i x y\", 2 \"i x y 1-Cp\",\n"
          "3 \"i xU yU xL yL\", 4 \"i xU yU 1-Cp xL yL 1-Cp\", none (header only)"},
         outputOption(),
         {"delta", "D", ""},
         {"gama", "G", ""},
         {"xdltc", "X", ""},
         {"tau", "T",
          "catalogue values for the result file's header; by default they\n"
          "are measured as by the describe command"}},
        viscousOptions(),
        {{"mach", "M",
          "free-stream Mach number, 0 to below 1: adds \"compressible\" with\n"
          "Karman-Tsien CL and CMc4, the corrected least Cp and the critical Mach"}},
    });
    return h;
}

HelpText sweepHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch sweep --F F --G G --m M --from A --to B --step S [--np N]
                    [--format csv|json] [--output FILE|-]
                    [--re RE [--ncrit N] [--trip-upper X] [--trip-lower X]]
)";
    h.summary = "a polar: coefficients and pressure minimum at the angles A, A+S, ... B\n";
    h.body = R"(
A polar: one calculation per angle of attack A, A+S, A+2S, ... up to B inclusive
(the first row always at A; B counts as reached within a billionth of a step; S may
be negative; at most )" + std::to_string(MaxSweepRows) +
             R"( angles; each angle rounded to 15 significant digits).
One row per angle:
  alpha, CL, CMc4, Alfa0   the closed-form coefficients, as solve gives them
  CpMin                    the least Cp of the continuous surface: the largest
                           1-Cp of the N points refined on the exact surface speed
                           (over the points for F = 0, whose nose is sharp)
  xCpMin                   the x/c of that minimum
  surfaceCpMin             upper or lower: its side
With --re a drag polar: each row adds CD, CDf, CDp, xtrUpper and xtrLower (the
transition positions, x/c), LD (CL/CD) and valid, as solve --re gives them.
CSV has a header line; numbers are the shortest text that reads back unchanged.
Every angle is judged before the first row: an angle that cannot be calculated fails
the whole sweep (exit 1); a step that is 0, not a number or pointing away from B is
an invalid argument (exit 2).

Every row solves the surface at N points for its pressure minimum, so the time
grows with rows x N. Rows are written as they are calculated; a file given by
--output appears whole at the end. On a terminal, standard error shows the rows
done, rows per second and the time left after the first second; Ctrl+C (SIGINT)
stops the sweep and leaves no file behind.
)";
    h.options = joined({
        airfoilOptions("the airfoil, as for solve"),
        {{"from", "A", ""},
         {"to", "B", "first and last angle of attack, degrees"},
         {"step", "S", "degrees between angles"},
         {"np", "N", "surface points per angle (default " + number(SweepPoints) + ")"},
         formatOption("csv|json", "default csv"),
         outputOption()},
        viscousOptions(),
    });
    return h;
}

HelpText boundaryLayerHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch boundary-layer --F F --G G --m M --alpha DEG --re RE [--ncrit N]
                             [--trip-upper X] [--trip-lower X] [--format csv|json]
                             [--output FILE|-]
)";
    h.summary = "both boundary layers station by station\n";
    h.body = R"(
The integral boundary layer of both sides on the exact surface speed, marched from
the front stagnation point to the trailing edge on stations of its own (the same
for any number of surface points). CSV: side,s,x,y,Ue,theta,deltaStar,H,Cf,N,state
with s the arc length from the stagnation point, Ue the edge speed the layer sees,
Cf on that speed's dynamic pressure, N the amplification exponent and state
laminar, turbulent or separated; the upper side first. JSON: the members of solve's
"viscous" object, then "upper" and "lower" with one array per column.
)";
    h.options = joined({
        airfoilOptions("the airfoil, as for solve"),
        {angleOption()},
        viscousOptions(),
        {formatOption("csv|json", "default csv"), outputOption()},
    });
    return h;
}

HelpText exportHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch export --F F --G G --m M --format selig|lednicer|csv [--np N]
                     [--alpha DEG] [--name TEXT] [--output FILE|-]
)";
    h.summary = "coordinates for other programs: Selig or Lednicer .dat, or CSV with 1-Cp\n";
    h.body = R"(
The airfoil's surface coordinates (chord 1) for other programs (panel codes, CAD,
meshers):
  selig      line 1 the name, then one "x y" pair per line from the trailing edge
             along the upper surface to the leading edge and back along the lower
             surface to the trailing edge
  lednicer   the name; the upper and lower point counts; a blank line; the upper
             surface from the leading edge to the trailing edge; a blank line; the
             lower surface the same way
  csv        index,x,y,OneMinusCp,surface with 1-Cp at --alpha
Values with 8 decimals in aligned columns, a point as decimal separator, LF line
ends. The selig and lednicer files hold the leading edge (0, 0) at any --np; the
csv file lists the calculated points only (not the unset nose of an F = 0 airfoil).
A shape that is no simple airfoil is refused, as describe refuses it.
)";
    h.options = joined({
        airfoilOptions("the airfoil, as for solve"),
        {formatOption("FORMAT", "selig, lednicer or csv"),
         {"np", "N",
          "number of surface points, at least " + number(LeastCoordinatePoints) + " (default " +
              number(CoordinatePoints) + ")"},
         {"alpha", "DEG", "angle of attack for the csv 1-Cp column (default 0)"},
         {"name", "TEXT",
          "the name line (default e.g. \"Karman-Trefftz F=0.1 G=0.05 m=1.9\",\n"
          "\"Joukowsky F=0.1 G=0.05\" for m = 2)"},
         outputOption()},
    });
    return h;
}

HelpText designHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch design --thickness T --camber C --te-angle DEG [--format line|json]
                     [--output FILE|-]
)";
    h.summary = "the airfoil of a given thickness, camber and trailing-edge angle\n";
    h.body = R"(
Finds F, G and m whose airfoil has the maximum thickness T, maximum camber C and
trailing-edge angle DEG as describe measures them (thickness and camber to 1e-6),
and prints its catalogue line "Delta,Gama,xDltC,Tau,F,G,m" as describe does, ready
for ORVEK_Input.txt. m = 2 - DEG/180; F and G by a Newton iteration.

Reachable range: trailing-edge angle 0 to 30 degrees, camber -0.10 to 0.10,
thickness up to 0.30 and at least tan(DEG/4) + 0.01 (as F goes to 0 the airfoil
becomes a lens about tan(DEG/4) thick). Targets outside it are refused, naming the
limit they break (exit 1).
)";
    h.options = {
        {"thickness", "T", "maximum thickness over chord"},
        {"camber", "C", "maximum camber over chord (negative: cambered downwards)"},
        {"te-angle", "DEG", "trailing-edge angle in degrees"},
        formatOption("line|json",
                     "line (default) prints the catalogue line; json the targets,\n"
                     "the values reached, the residuals, F, G, m and the line"),
        outputOption(),
    };
    return h;
}

HelpText tableHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch table --catalogue FILE --alpha DEG [--np N] [--format csv|json]
                    [--output FILE|-]
                    [--re RE [--ncrit N] [--trip-upper X] [--trip-lower X]]
)";
    h.moreUsage = "  orvek-batch table --alpha DEG [options] -- FILE\n";
    h.summary = "every airfoil of a catalogue file at one angle of attack\n";
    h.body = R"(
Calculates every airfoil of a catalogue file (read as the window reads
ORVEK_Input.txt: at most )" +
             std::to_string(MaxAirfoils) + R"( airfoils, a malformed line reported on stderr and the
airfoils before it listed) at one angle of attack. One row each:
  row, F, G, m, Delta, Gama, xDltC, Tau, CL, CMc4, Alfa0, CpMin, xCpMin, problem
Delta to Tau are the catalogue's columns; CpMin and xCpMin as for sweep. An airfoil
that cannot be calculated has the reason in the problem column; the exit status is
then 1, after all rows. A catalogue that cannot be read is said with what the path
is; an --output that is the catalogue itself is refused (exit 2). With --re a column
CD (the viscous estimate, as solve --re gives it) stands before problem; an airfoil
without one has its reason there.
)";
    h.options = joined({{
                            {"catalogue", "FILE", "the catalogue file"},
                            angleOption(),
                            {"np", "N", "surface points per airfoil (default " + number(SweepPoints) + ")"},
                            formatOption("csv|json", "default csv"),
                            outputOption(),
                        },
                        viscousOptions()});
    h.operands = 1;
    return h;
}

HelpText describeHelp() {
    HelpText h;
    h.usage = "  orvek-batch describe --F F --G G --m M\n";
    h.summary = "the catalogue line of an airfoil: thickness, camber, trailing-edge angle\n";
    h.body = R"(
Prints the catalogue line "Delta,Gama,xDltC,Tau,F,G,m" of an airfoil: maximum
thickness, maximum camber and its position over chord (4 decimals) and the
trailing-edge angle in degrees (2 decimals), ready to be pasted into ORVEK_Input.txt.
They are measured along the exact contour, not between surface points: at each
chordwise station the heights of the upper and lower surface are found on the
contour itself, thickness and camber are their difference and mean, and each
maximum and its position is located to about 1e-9 of the chord. The trailing-edge
angle is the corner the mapping makes, (2 - m) * 180 degrees.
)";
    h.options = airfoilOptions("the airfoil, as for solve");
    return h;
}

HelpText fieldHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch field --F F --G G --m M --alpha DEG --points FILE|-
  orvek-batch field --F F --G G --m M --alpha DEG --grid X0:X1:NX,Y0:Y1:NY
                    [--format csv|vtk] [--output FILE|-] [--circulation G]
)";
    h.summary = "the flow (velocity, Cp, stream function) at points or on a grid\n";
    h.body = R"(
The exact potential flow around the airfoil (chord 1, leading edge (0, 0), trailing edge
(1, 0), unit free stream at the angle of attack): velocity u, v, pressure coefficient
Cp = 1 - (u^2 + v^2) and stream function psi (0 on the airfoil, about y cos(alpha) -
x sin(alpha) far away), each within 1e-10 of a quad-precision evaluation.
CSV: "x,y,u,v,Cp,psi", one row per point in input order, numbers as the shortest text
that reads back unchanged; a point inside the airfoil has the four values empty.
VTK (--grid only): the legacy binary STRUCTURED_POINTS file ParaView and VisIt open,
with point arrays velocity, Cp, psi (NaN inside the airfoil) and body (1 inside).
)";
    h.options = joined({
        flowAirfoilOptions(),
        {angleOption(),
         {"points", "FILE|-",
          "one point per line, \"x,y\" or \"x y\"; blank lines and lines\n"
          "starting with # are skipped, a header line \"x,y\" or \"x y\" (any\n"
          "case) is accepted; - reads stdin. A line is at most " +
              std::to_string(MaxPointLineLength) +
              " bytes;\na malformed line is an invalid argument naming its line number."},
         {"grid", "X0:X1:NX,Y0:Y1:NY",
          "NX x NY points from X0 to X1 and Y0 to Y1 (NX, NY at least 2,\nat most " +
              number(MaxGridPoints) + " points), x running fastest, steps of at\nleast 1e-12 chords and 1e-12 of the coordinates' size. Every point\n"
              "lies within the field's reach, x and y from -" + number(FlowReach) + " to " + number(FlowReach) +
              ":\nfarther the values lose their accuracy, and a point beyond is an\ninvalid argument"},
         {"circulation", "G",
          "the circulation set by hand instead of by the Kutta condition, in\n"
          "units of the free-stream speed times the chord (CL = 2 G; the Kutta\n"
          "value is solve's CL/2), " + circulationLimit() + ". The rear stagnation\n"
          "point leaves the trailing edge, where the speed is then infinite\n"
          "(a point exactly there gets u = inf and Cp = -inf)."},
         formatOption("csv|vtk", "default csv"),
         outputOption()},
    });
    return h;
}

HelpText streamlinesHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch streamlines --F F --G G --m M --alpha DEG [--count N]
                          [--extent X0:X1,Y0:Y1] [--plane airfoil|circle]
                          [--format csv|svg] [--output FILE|-] [--circulation G]
)";
    h.summary = "lines of constant stream function over an extent, as CSV or SVG\n";
    h.body = R"(
Lines of constant stream function psi, every point on its level to 1e-9, points at most
)" + number(StreamlineSpacing) +
             R"( apart and closer where the line bends. The N levels are spaced evenly over the
values of psi that enter the extent, psi = 0 always among them: the dividing streamline,
given as two lines (from upstream to the front stagnation point, over the upper side to
the trailing edge and downstream; and the lower side from the front stagnation point
to the trailing edge). A level that crosses the extent more than once gives a line for
each crossing.
CSV: "line,psi,x,y", lines numbered from 1, points in order along each line (the
direction of the flow). SVG: the lines over the extent with the airfoil filled and the
stagnation points marked, the dividing streamline in red.
)";
    h.options = joined({
        flowAirfoilOptions(),
        {angleOption(),
         {"circulation", "G",
          "the circulation set by hand (CL = 2 G), as for field; the\n"
          "stagnation points move off the trailing edge, and for a large G\n"
          "off the body, when psi = 0 is the contour and one line passing it"},
         {"count", "N",
          "number of levels, 1 to " + std::to_string(MaxStreamlines) + " (default " +
              std::to_string(StreamlineRequest{}.count) + ")"},
         {"extent", "X0:X1,Y0:Y1",
          "the box (default " + extentText(Extent{}) + "; in the circle plane " + extentText(CircleExtent) +
              "); its\nwidth and height from " + number(MinStreamlineExtent) + " to " + number(MaxStreamlineExtent) +
              ", its corners within x and y\nfrom -" + number(FlowReach) + " to " + number(FlowReach) +
              ". Lines run from edge to edge: a request\nneeding more than " + std::to_string(MaxLinePoints) +
              " points for one line or " + std::to_string(MaxStreamlinePoints) +
              " in\nall is refused (exit 1), never cut short"},
         {"plane", "P",
          "airfoil (default), or circle: the same lines in the circle's own\n"
          "frame (centre -F + iG, the trailing-edge point at 1)"},
         formatOption("csv|svg", "default csv"),
         outputOption()},
    });
    return h;
}

std::string commandHelp(const HelpText& help) {
    return "Usage:\n" + help.usage + help.moreUsage + help.body + "\nOptions:\n" + optionLines(help.options);
}

const std::vector<ExitStatus>& exitStatuses() {
    static const std::vector<ExitStatus> list = {
        {0, "done"},
        {1, "the airfoil cannot be calculated or designed, a row of a table could not be\n"
            "calculated, or the output cannot be written; one line on stderr says why"},
        {2, "invalid arguments (an unknown command or option, a missing or malformed\n"
            "value, a value out of its range, a malformed point file)"},
    };
    return list;
}

std::string conventions() {
    return R"("orvek-batch COMMAND --help" lists a command's options. Options may be written
--name value or --name=value; "--" ends the options. "--output -" is standard
output; a file given by --output is replaced whole, or left as it was when the new
one cannot be written. Numbers use a point as decimal separator.
)";
}

std::string generalHelp(const std::vector<Command>& commands) {
    std::string text = "Usage:\n";
    for (const Command& c : commands) text += c.help.usage;
    text += "  orvek-batch COMMAND --help\n  orvek-batch --help | --version\n\nCommands:\n";
    std::size_t column = 0;  // the names' column: the longest name and two spaces
    for (const Command& c : commands) column = std::max(column, std::string(c.name).size() + 2);
    for (const Command& c : commands) {
        const std::string name = c.name;
        text += "  " + name + std::string(column - name.size(), ' ') + c.help.summary;
    }
    text += "\nOptions:\n" + optionLines({{"help", "", "shows this text, or after a command that command's help"},
                                          {"version", "", "shows the version"}});
    text += "\n" + conventions() + "\nExit status:\n";
    for (const ExitStatus& s : exitStatuses()) {
        text += "  " + std::to_string(s.code) + "  ";
        for (const char c : s.meaning) {
            text += c;
            if (c == '\n') text += "     ";
        }
        text += '\n';
    }
    return text;
}

}  // namespace orvek::cli
