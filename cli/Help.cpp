#include "cli/Help.h"

#include "cli/Commands.h"

#include <algorithm>

namespace orvek::cli {

namespace {

// The options of solve, shown in its own help and in the help of orvek-batch as a whole.
const char* const CaseOptions = R"(  --F F          thickness parameter (centre offset along the negative real axis)
  --G G          camber parameter (centre offset along the imaginary axis)
  --m M          Karman-Trefftz exponent; 2 gives a Joukowsky airfoil
  --alpha DEG    angle of attack in degrees
  --np N         number of surface points, a whole number from 2 to 1000001
  --chord C      chord length (default 1)
  --layout L     write the result file instead of JSON: 1 "i x y", 2 "i x y 1-Cp",
                 3 "i xU yU xL yL", 4 "i xU yU 1-Cp xL yL 1-Cp", none (header only)
)";
// The viscous estimate's options, for solve, sweep and boundary-layer.
const char* const ViscousOptions = R"(  --re RE        Reynolds number of the chord and free stream (1000 to 1e9): adds the
                 viscous estimate (boundary layers, transition, CD = CDf + CDp)
  --ncrit N      critical amplification exponent of transition, 1 to 20 (default 9)
  --trip-upper X, --trip-lower X
                 force transition at x/c = X (0 to 1) on that side
)";
const char* const MachOption = R"(  --mach M       free-stream Mach number, 0 to below 1: adds "compressible" with
                 Karman-Tsien CL and CMc4, the corrected least Cp and the critical Mach
)";

const char* const HeaderOptions = R"(  --delta D, --gama G, --xdltc X, --tau T
                 catalogue values for the result file's header; by default they
                 are measured as by the describe command
)";

// The width of the command names' column in the general help.
constexpr std::size_t NameColumn = 11;

}  // namespace

HelpText solveHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch solve --F F --G G --m M --alpha DEG --np N [--chord C]
  orvek-batch solve ... --layout 1|2|3|4|none [--output FILE|-]
                        [--delta D --gama G --xdltc X --tau T]
  orvek-batch solve ... --re RE [--ncrit N] [--trip-upper X] [--trip-lower X]
                        [--mach M]
)";
    h.summary = R"(Calculates one Karman-Trefftz airfoil (a Joukowsky airfoil for m = 2).
             Without --layout it prints the case as JSON: CL, CMc4, Alfa0 and the arrays
             x, y and OneMinusCp (1-Cp) for the surface points 1..N in index order,
             an unset point as null, and the stagnation points, every number with 17
             significant digits.
)";
    h.body = std::string(R"(
Calculates one Karman-Trefftz airfoil (a Joukowsky airfoil for m = 2). Without --layout
it prints JSON: CL, CMc4, Alfa0, the arrays x, y and OneMinusCp (1-Cp) for the
surface points 1..N in index order (an unset point as null), and "stagnation": the
front stagnation point and, unless m = 2, the trailing edge, as [x, y] pairs (null when
the flow cannot be calculated: F below 0 or m above 2); every number with 17
significant digits. With --layout it writes the result file, as the window does.

With --re the JSON adds "viscous": {"Re", "Ncrit", "CD", "CDf", "CDp", "transition":
{"upper", "lower"}, "separation": {"upper", "lower"}, "valid", "flags"}: the integral
boundary layer of each side from the front stagnation point, transition by the e^N
envelope (or a trip) as x/c (1 where the side stays laminar), separation as x/c or
null, and "valid": false with each reason in "flags" where the estimate stops
meaning anything (turbulent separation, H above 2.4; a laminar separation that
never reattaches; a locally supersonic flow). With --mach it adds "compressible".

Options:
)") + CaseOptions +
             "  --output FILE  write the result file to FILE (replaced whole); - is stdout\n" + HeaderOptions +
             ViscousOptions + MachOption;
    return h;
}

HelpText sweepHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch sweep --F F --G G --m M --from A --to B --step S [--np N]
                    [--format csv|json] [--output FILE|-]
                    [--re RE [--ncrit N] [--trip-upper X] [--trip-lower X]]
)";
    h.summary = R"(A polar: one row per angle of attack A, A+S, ... up to B with alpha, CL,
             CMc4, Alfa0, CpMin, xCpMin and the side of the suction peak.
)";
    h.body = R"(
A polar: one calculation per angle of attack A, A+S, A+2S, ... up to B inclusive
(B counts as reached within a billionth of a step; S may be negative; at most
100001 angles; each angle rounded to 15 significant digits). One row per angle:
  alpha, CL, CMc4, Alfa0   the closed-form coefficients, as solve gives them
  CpMin                    1 - max(1-Cp) over the N surface points
  xCpMin                   the x/c of that point
  surfaceCpMin             upper or lower: its side, by the point layout
With --re a drag polar: each row adds CD, CDf, CDp, xtrUpper and xtrLower (the
transition positions, x/c), LD (CL/CD) and valid, as solve --re gives them.
CSV has a header line; numbers are the shortest text that reads back unchanged.
An angle that cannot be calculated fails the whole sweep (exit 1); a step that is
0, not a number or pointing away from B is an invalid argument (exit 2).

Every row solves the surface at N points for its pressure minimum, so the time
grows with rows x N (100001 rows at N = 1000001 take minutes). Rows are written
as they are calculated; a file given by --output appears whole at the end. On a
terminal, standard error shows the rows done, rows per second and the time left
after the first second; Ctrl+C (SIGINT) stops the sweep and leaves no file behind.

Options:
  --F F, --G G, --m M   the airfoil, as for solve
  --from A, --to B      first and last angle of attack, degrees
  --step S              degrees between angles
  --np N                surface points per angle (default 201)
  --format csv|json     default csv
  --output FILE|-       write to FILE (replaced whole) instead of stdout
)" + std::string(ViscousOptions);
    return h;
}

HelpText boundaryLayerHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch boundary-layer --F F --G G --m M --alpha DEG --re RE [--ncrit N]
                             [--trip-upper X] [--trip-lower X] [--format csv|json]
                             [--output FILE|-]
)";
    h.summary = R"(Both boundary layers station by station (CSV or JSON).
)";
    h.body = std::string(R"(
The integral boundary layer of both sides on the exact surface speed, marched from
the front stagnation point to the trailing edge on stations of its own (the same
for any number of surface points). CSV: side,s,x,y,Ue,theta,deltaStar,H,Cf,N,state
with s the arc length from the stagnation point, Ue the edge speed the layer sees,
Cf on that speed's dynamic pressure, N the amplification exponent and state
laminar, turbulent or separated; the upper side first. JSON: the members of solve's
"viscous" object, then "upper" and "lower" with one array per column.

Options:
  --F F, --G G, --m M   the airfoil, as for solve
  --alpha DEG           angle of attack in degrees
)") + ViscousOptions + R"(  --format csv|json     default csv
  --output FILE|-       write to FILE (replaced whole) instead of stdout
)";
    return h;
}

HelpText exportHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch export --F F --G G --m M --format selig|lednicer|csv [--np N]
                     [--alpha DEG] [--name TEXT] [--output FILE|-]
)";
    h.summary = R"(The airfoil's coordinates for other programs: a Selig or Lednicer .dat
             file, or CSV with 1-Cp.
)";
    h.body = R"(
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
    return h;
}

HelpText designHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch design --thickness T --camber C --te-angle DEG [--format line|json]
                     [--output FILE|-]
)";
    h.summary = R"(Finds the airfoil of a given thickness, camber and trailing-edge angle and
             prints its catalogue line.
)";
    h.body = R"(
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
    return h;
}

HelpText tableHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch table --catalogue FILE --alpha DEG [--np N] [--format csv|json]
                    [--output FILE|-]
)";
    h.moreUsage = "  orvek-batch table --alpha DEG [options] -- FILE\n";
    h.summary = "Calculates every airfoil of a catalogue file at one angle of attack.\n";
    h.body = R"(
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
    return h;
}

HelpText describeHelp() {
    HelpText h;
    h.usage = "  orvek-batch describe --F F --G G --m M\n";
    h.summary = R"(Prints the catalogue line "Delta,Gama,xDltC,Tau,F,G,m" of an airfoil:
             maximum thickness, maximum camber and its position over chord and the
             trailing-edge angle in degrees, measured on a dense surface.
)";
    h.body = R"(
Prints the catalogue line "Delta,Gama,xDltC,Tau,F,G,m" of an airfoil: maximum
thickness, maximum camber and its position over chord and the trailing-edge angle
in degrees, measured on a surface of 200001 points.
)";
    return h;
}

std::string commandHelp(const HelpText& help) { return "Usage:\n" + help.usage + help.moreUsage + help.body; }

std::string generalHelp(const std::vector<Command>& commands) {
    std::string text = "Usage:\n";
    for (const Command& c : commands) text += c.help.usage;
    text += "  orvek-batch COMMAND --help\n  orvek-batch --help | --version\n\nCommands:\n";
    for (const Command& c : commands) {
        const std::string name = c.name;
        // Two spaces at least after a name longer than the column.
        text += "  " + name +
                std::string(std::max<std::size_t>(NameColumn - std::min(NameColumn, name.size()), 2), ' ') +
                c.help.summary;
    }
    text += std::string("\nOptions of solve and describe:\n") + CaseOptions +
            "  --output FILE  write the result file to FILE (replaced whole) instead of stdout\n" + HeaderOptions +
            R"(  --help         shows this text, or after a command that command's help
  --version      shows the version

"orvek-batch COMMAND --help" lists a command's options. Options may be written
--name value or --name=value; "--" ends the options. "--output -" is standard
output. Numbers use a point as decimal separator. Exit status: 0 done, 1 the
airfoil cannot be calculated or designed or the output cannot be written,
2 invalid arguments.
)";
    return text;
}

}  // namespace orvek::cli
