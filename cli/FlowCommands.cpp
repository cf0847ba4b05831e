#include "cli/FlowCommands.h"

#include "case/DecimalText.h"
#include "case/PointFile.h"
#include "cli/Arguments.h"
#include "cli/PointSpool.h"
#include "export/FlowGrid.h"
#include "export/FlowTable.h"
#include "export/NumberFormat.h"
#include "export/StreamlineFiles.h"
#include "export/VtkGrid.h"
#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace orvek::cli {

HelpText fieldHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch field --F F --G G --m M --alpha DEG --points FILE|-
  orvek-batch field --F F --G G --m M --alpha DEG --grid X0:X1:NX,Y0:Y1:NY
                    [--format csv|vtk] [--output FILE|-] [--circulation G]
)";
    h.summary = R"(The exact flow around the airfoil (velocity, Cp, stream function) at the
             points of a file or on a grid, as CSV or a VTK file for ParaView.
)";
    h.body = R"(
The exact potential flow around the airfoil (chord 1, leading edge (0, 0), trailing edge
(1, 0), unit free stream at the angle of attack): velocity u, v, pressure coefficient
Cp = 1 - (u^2 + v^2) and stream function psi (0 on the airfoil, about y cos(alpha) -
x sin(alpha) far away), each within 1e-10 of a quad-precision evaluation.

  --points FILE   one point per line, "x,y" or "x y"; blank lines and lines starting
                  with # are skipped, a header line "x,y" is accepted; - reads stdin.
                  A malformed line is an invalid argument naming its line number.
  --grid ...      NX x NY points from X0 to X1 and Y0 to Y1 (NX, NY at least 2, at
                  most 16777216 points), x running fastest
CSV: "x,y,u,v,Cp,psi", one row per point in input order, numbers as the shortest text
that reads back unchanged; a point inside the airfoil has the four values empty.
VTK (--grid only): the legacy binary STRUCTURED_POINTS file ParaView and VisIt open,
with point arrays velocity, Cp, psi (NaN inside the airfoil) and body (1 inside).

Options:
  --F F, --G G, --m M   the airfoil, as for solve (F at least 0, m above 1 and at most 2)
  --alpha DEG           angle of attack in degrees
  --circulation G       the circulation set by hand instead of by the Kutta condition, in
                        units of the free-stream speed times the chord (CL = 2 G; the Kutta
                        value is solve's CL/2), from -1000 to 1000. The rear stagnation
                        point leaves the trailing edge, where the speed is then infinite
                        (a point exactly there gets u = inf and Cp = -inf).
  --format csv|vtk      default csv
  --output FILE|-       write to FILE (replaced whole) instead of stdout
)";
    return h;
}

HelpText streamlinesHelp() {
    HelpText h;
    h.usage = R"(  orvek-batch streamlines --F F --G G --m M --alpha DEG [--count N]
                          [--extent X0:X1,Y0:Y1] [--plane airfoil|circle]
                          [--format csv|svg] [--output FILE|-] [--circulation G]
)";
    h.summary = R"(Lines of constant stream function over an extent, as CSV or SVG.
)";
    h.body = R"(
Lines of constant stream function psi, every point on its level to 1e-9, points at most
0.01 apart and closer where the line bends. The N levels are spaced evenly over the
values of psi that enter the extent, psi = 0 always among them: the dividing streamline,
given as two lines (from upstream to the front stagnation point, over the upper side to
the trailing edge and downstream; and the lower side from the front stagnation point
to the trailing edge). A level that crosses the extent more than once gives a line for
each crossing.
CSV: "line,psi,x,y", lines numbered from 1, points in order along each line (the
direction of the flow). SVG: the lines over the extent with the airfoil filled and the
stagnation points marked, the dividing streamline in red.

Options:
  --F F, --G G, --m M   the airfoil, as for solve (F at least 0, m above 1 and at most 2)
  --alpha DEG           angle of attack in degrees
  --circulation G       the circulation set by hand (CL = 2 G), as for field; the
                        stagnation points move off the trailing edge, and for a large G
                        off the body, when psi = 0 is the contour and one line passing it
  --count N             number of levels, 1 to 1000 (default 21)
  --extent X0:X1,Y0:Y1  the box (default -1:2,-1:1; in the circle plane -3:3,-2:2)
  --plane P             airfoil (default), or circle: the same lines in the circle's own
                        frame (centre -F + iG, the trailing-edge point at 1)
  --format csv|svg      default csv
  --output FILE|-       write to FILE (replaced whole) instead of stdout
)";
    return h;
}

namespace {

// The largest grid: 16,777,216 points, about 690 MB of VTK.
constexpr double MaxGridPoints = 16777216;

Expected<FlowField> flowOf(const Arguments& a) {
    const Airfoil airfoil{a.number("F"), a.number("G"), a.number("m")};
    return FlowField::make(airfoil, a.number("alpha"), a.optionalNumber("circulation"));
}

// The title's words for a circulation set by hand; none for the Kutta condition's.
std::string circulationWords(const FlowField& f) {
    return f.kutta() ? std::string() : ", circulation " + shortestText(f.circulation());
}

std::string formatChoice(const Arguments& a, const std::vector<std::string>& choices) {
    const std::optional<std::string> f = a.text("format");
    if (!f) return choices.front();
    for (const std::string& c : choices) {
        if (*f == c) return c;
    }
    throw UsageError{"option '--format' expects " + choices[0] + " or " + choices[1] + ", not '" + *f + "'"};
}

Output to(const Arguments& a, std::function<Status(TextOutput&)> write) {
    Output o;
    o.write = std::move(write);
    o.path = a.text("output");
    return o;
}

// Splits at `sep`; exactly `count` parts or a usage error naming the option.
std::vector<std::string> parts(const std::string& text, char sep, std::size_t count, const std::string& option,
                               const std::string& form) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(sep, from);
        out.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) break;
        from = at + 1;
    }
    if (out.size() != count) throw UsageError{"option '--" + option + "' expects " + form + ", not '" + text + "'"};
    return out;
}

double finiteNumber(const std::string& text, const std::string& option, const std::string& form,
                    const std::string& whole) {
    const std::optional<double> v = parseWholeDecimal(text);
    if (!v || !std::isfinite(*v)) {
        throw UsageError{"option '--" + option + "' expects " + form + ", not '" + whole + "'"};
    }
    return *v;
}

struct Range {
    double from = 0, to = 0;
};

// "A:B" with A < B, both finite.
Range range(const std::string& text, const std::string& option, const std::string& form, const std::string& whole,
            const char* axis) {
    const std::vector<std::string> p = parts(text, ':', 2, option, form);
    const Range r{finiteNumber(p[0], option, form, whole), finiteNumber(p[1], option, form, whole)};
    if (!(r.from < r.to)) {
        throw UsageError{"option '--" + option + "': " + axis + "0 must be less than " + axis + "1, not " + p[0] +
                         " and " + p[1]};
    }
    if (!std::isfinite(r.to - r.from)) {
        throw UsageError{"option '--" + option + "': " + axis + "1 - " + axis +
                         "0 must be at most the largest number (about 1.8e308), not " + p[0] + " to " + p[1]};
    }
    return r;
}

}  // namespace

CommandOutput fieldCommand(const std::vector<std::string>& args) {
    const Arguments a(args, {"F", "G", "m", "alpha", "points", "grid", "format", "output", "circulation"});
    const std::string format = formatChoice(a, {"csv", "vtk"});
    const std::optional<std::string> pointsFile = a.text("points"), grid = a.text("grid");
    if (pointsFile && grid) throw UsageError{"give either --points or --grid, not both"};
    if (!pointsFile && !grid) throw UsageError{"missing option '--points' or '--grid'"};
    if (pointsFile && format == "vtk") throw UsageError{"--format vtk goes with --grid"};

    if (pointsFile) {
        Expected<FlowField> f = flowOf(a);  // the airfoil's options judged before the input is read
        Expected<PointFile> input = PointFile::open(*pointsFile);
        if (!input) throw UsageError{"option '--points': " + input.error()};
        // Every point is read and judged before the first byte is written, and kept in blocks.
        auto points = std::make_shared<PointSpool>();
        const Status read = input->read(PointSpool::BlockPoints, [&](const double* x, const double* y,
                                                                      std::size_t n) { points->add(x, y, n); });
        if (!read) throw UsageError{read.error()};
        if (Status kept = points->status(); !kept) return Failure{kept.error()};
        if (!f) return Failure{f.error()};
        return to(a, [field = *f, points](TextOutput& out) {
            writeFlowCsvHeader(out);
            FlowSamples block(std::min(PointSpool::BlockPoints, points->size()));
            return points->replay([&](const double* x, const double* y, std::size_t n) {
                std::copy(x, x + n, block.x.begin());
                std::copy(y, y + n, block.y.begin());
                FlowRun run = block.run();
                run.count = n;
                field.evaluate(run);
                writeFlowCsvRows(out, block, n);
            });
        });
    }

    const std::string form = "X0:X1:NX,Y0:Y1:NY";
    const std::vector<std::string> axes = parts(*grid, ',', 2, "grid", form);
    GridShape shape;
    double n[2];
    Range r[2];
    for (std::size_t k = 0; k < 2; ++k) {
        const std::vector<std::string> p = parts(axes[k], ':', 3, "grid", form);
        r[k] = range(p[0] + ":" + p[1], "grid", form, *grid, k == 0 ? "X" : "Y");
        n[k] = finiteNumber(p[2], "grid", form, *grid);
        if (n[k] != std::floor(n[k]) || n[k] < 2) {
            throw UsageError{std::string("option '--grid': N") + (k == 0 ? "X" : "Y") +
                             " must be a whole number of at least 2, not " + p[2]};
        }
    }
    if (n[0] * n[1] > MaxGridPoints) {
        throw UsageError{"option '--grid': at most " + shortestText(MaxGridPoints) + " points, not " +
                         shortestText(n[0] * n[1])};
    }
    Expected<FlowField> f = flowOf(a);
    if (!f) return Failure{f.error()};
    shape = GridShape::spanning(r[0].from, r[0].to, static_cast<std::size_t>(n[0]), r[1].from, r[1].to,
                                static_cast<std::size_t>(n[1]));
    const std::string title =
        f->airfoil().name() + " at " + shortestText(a.number("alpha")) + " degrees" + circulationWords(*f);
    return to(a, [field = *f, shape, format, title](TextOutput& out) {
        writeFlowGrid(out, field, shape, format == "vtk" ? FlowGridFormat::Vtk : FlowGridFormat::Csv, title);
        return Status{};
    });
}

CommandOutput streamlinesCommand(const std::vector<std::string>& args) {
    const Arguments a(args, {"F", "G", "m", "alpha", "count", "extent", "plane", "format", "output", "circulation"});
    const std::string format = formatChoice(a, {"csv", "svg"});
    StreamlineRequest rq;
    if (const std::optional<std::string> plane = a.text("plane")) {
        if (*plane == "circle") {
            rq.plane = StreamPlane::Circle;
        } else if (*plane != "airfoil") {
            throw UsageError{"option '--plane' expects airfoil or circle, not '" + *plane + "'"};
        }
    }
    if (rq.plane == StreamPlane::Circle) {
        rq.extent = Extent{-3, 3, -2, 2};
    }
    if (const std::optional<std::string> e = a.text("extent")) {
        const std::string form = "X0:X1,Y0:Y1";
        const std::vector<std::string> p = parts(*e, ',', 2, "extent", form);
        const Range rx = range(p[0], "extent", form, *e, "X"), ry = range(p[1], "extent", form, *e, "Y");
        rq.extent = Extent{rx.from, rx.to, ry.from, ry.to};
    }
    if (const std::optional<std::string> c = a.text("count")) {
        const std::optional<double> n = parseWholeDecimal(*c);
        if (!n || *n != std::floor(*n) || *n < 1 || *n > MaxStreamlines) {
            throw UsageError{"option '--count' expects a whole number from 1 to " + std::to_string(MaxStreamlines) +
                             ", not '" + *c + "'"};
        }
        rq.count = static_cast<int>(*n);
    }
    Expected<FlowField> f = flowOf(a);
    if (!f) return Failure{f.error()};
    Expected<std::vector<Streamline>> lines = streamlines(*f, rq);
    if (!lines) throw UsageError{lines.error()};
    if (format == "csv") {
        return to(a, [lines = std::move(*lines)](TextOutput& out) {
            writeStreamlinesCsv(out, lines);
            return Status{};
        });
    }

    StreamlinePicture pic;
    pic.extent = rq.extent;
    pic.body = bodyOutline(*f, rq.plane);
    if (rq.plane == StreamPlane::Airfoil) {
        pic.stagnation = f->stagnationPoints();
    } else {
        // about the circle both zeros of the velocity are stagnation points, the trailing edge too
        pic.stagnation = f->circleStagnationPoints();
    }
    pic.title = "Streamlines about the " + f->airfoil().name() + " airfoil at " + shortestText(a.number("alpha")) +
                " degrees" + circulationWords(*f) + (rq.plane == StreamPlane::Circle ? ", circle plane" : "");
    return to(a, [lines = std::move(*lines), pic = std::move(pic)](TextOutput& out) {
        writeStreamlinesSvg(out, lines, pic);
        return Status{};
    });
}

std::optional<std::vector<FlowPoint>> stagnationPoints(const Airfoil& airfoil, double alphaDegrees, double chord) {
    const Expected<FlowField> f = FlowField::make(airfoil, alphaDegrees);
    if (!f) return std::nullopt;
    std::vector<FlowPoint> points = f->stagnationPoints();
    for (FlowPoint& p : points) p = {chord * p.x, chord * p.y};
    return points;
}

}  // namespace orvek::cli
