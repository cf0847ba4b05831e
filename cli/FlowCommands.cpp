#include "cli/FlowCommands.h"

#include "case/DecimalText.h"
#include "case/PointFile.h"
#include "cli/Arguments.h"
#include "cli/OptionForms.h"
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
#include <optional>

namespace orvek::cli {

namespace {

// The least step between grid points, relative to the larger of 1 chord and the coordinates.
constexpr double MinGridStep = 1e-12;

Expected<FlowField> flowOf(const Arguments& a) {
    const Airfoil airfoil{a.number("F"), a.number("G"), a.number("m")};
    return FlowField::make(airfoil, a.number("alpha"), a.optionalNumber("circulation"));
}

// The title's words for a circulation set by hand; none for the Kutta condition's.
std::string circulationWords(const FlowField& f) {
    return f.kutta() ? std::string() : ", circulation " + shortestText(f.circulation());
}

}  // namespace

namespace {

// field --points: every point read and judged before the first byte is written, kept in blocks,
// then evaluated and written a block at a time.
CommandOutput fieldAtPoints(const Arguments& a, const std::string& path) {
    Expected<FlowField> f = flowOf(a);  // the airfoil's options judged before the input is read
    Expected<PointFile> input = PointFile::open(path);
    if (!input) throw UsageError{"option '--points': " + input.error()};
    auto points = std::make_shared<PointSpool>();
    // A point beyond the field's reach would get values that lost their accuracy: refused.
    std::optional<FlowPoint> far;
    const Status read = input->read(PointSpool::BlockPoints, [&](const double* x, const double* y, std::size_t n) {
        for (std::size_t k = 0; k < n && !far; ++k) {
            if (!checkFlowPoint({x[k], y[k]})) far = FlowPoint{x[k], y[k]};
        }
        if (!far) points->add(x, y, n);
    });
    if (!read) throw UsageError{read.error()};
    if (far) throw UsageError{"option '--points': " + checkFlowPoint(*far).error()};
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

// --grid X0:X1:NX,Y0:Y1:NY.
GridShape gridOption(const std::string& grid) {
    const std::string form = "X0:X1:NX,Y0:Y1:NY";
    const std::vector<std::string> axes = parts(grid, ',', 2, "grid", form);
    double n[2];
    Range r[2];
    for (std::size_t k = 0; k < 2; ++k) {
        const std::vector<std::string> p = parts(axes[k], ':', 3, "grid", form);
        r[k] = range(p[0] + ":" + p[1], "grid", form, grid, k == 0 ? "X" : "Y");
        n[k] = finiteNumber(p[2], "grid", form, grid);
        if (n[k] != std::floor(n[k]) || n[k] < 2) {
            throw UsageError{std::string("option '--grid': N") + (k == 0 ? "X" : "Y") +
                             " must be a whole number of at least 2, not " + p[2]};
        }
    }
    if (n[0] * n[1] > MaxGridPoints) {
        throw UsageError{"option '--grid': at most " + shortestText(MaxGridPoints) + " points, not " +
                         shortestText(n[0] * n[1])};
    }
    for (std::size_t k = 0; k < 2; ++k) {
        // Points closer than this are no longer told apart by their coordinates (and a VTK file's
        // spacing would round to 0).
        const double step = (r[k].to - r[k].from) / (n[k] - 1);
        if (!(step >= MinGridStep * std::max({1.0, std::fabs(r[k].from), std::fabs(r[k].to)}))) {
            throw UsageError{std::string("option '--grid': the ") + (k == 0 ? "x" : "y") +
                             " step must be at least 1e-12 chords (and 1e-12 of the coordinates' size), not " +
                             shortestText(step)};
        }
    }
    for (const FlowPoint corner : {FlowPoint{r[0].from, r[1].from}, FlowPoint{r[0].to, r[1].to}}) {
        if (Status reach = checkFlowPoint(corner); !reach) throw UsageError{"option '--grid': " + reach.error()};
    }
    return GridShape::spanning(r[0].from, r[0].to, static_cast<std::size_t>(n[0]), r[1].from, r[1].to,
                               static_cast<std::size_t>(n[1]));
}

}  // namespace

CommandOutput fieldCommand(const Arguments& a) {
    const std::string format = formatOption(a, {"csv", "vtk"});
    const std::optional<std::string> pointsFile = a.text("points"), grid = a.text("grid");
    if (pointsFile && grid) throw UsageError{"give either --points or --grid, not both"};
    if (!pointsFile && !grid) throw UsageError{"missing option '--points' or '--grid'"};
    if (pointsFile && format == "vtk") throw UsageError{"--format vtk goes with --grid"};
    if (pointsFile) return fieldAtPoints(a, *pointsFile);

    const GridShape shape = gridOption(*grid);
    Expected<FlowField> f = flowOf(a);
    if (!f) return Failure{f.error()};
    const std::string title =
        f->airfoil().name() + " at " + shortestText(a.number("alpha")) + " degrees" + circulationWords(*f);
    return to(a, [field = *f, shape, format, title](TextOutput& out) {
        writeFlowGrid(out, field, shape, format == "vtk" ? FlowGridFormat::Vtk : FlowGridFormat::Csv, title);
        return Status{};
    });
}

CommandOutput streamlinesCommand(const Arguments& a) {
    const std::string format = formatOption(a, {"csv", "svg"});
    StreamlineRequest rq;
    if (const std::optional<std::string> plane = a.text("plane")) {
        if (*plane == "circle") {
            rq.plane = StreamPlane::Circle;
        } else if (*plane != "airfoil") {
            throw UsageError{"option '--plane' expects airfoil or circle, not '" + *plane + "'"};
        }
    }
    rq.extent = defaultExtent(rq.plane);
    if (const std::optional<std::string> e = a.text("extent")) {
        const std::string form = "X0:X1,Y0:Y1";
        const std::vector<std::string> p = parts(*e, ',', 2, "extent", form);
        const Range rx = range(p[0], "extent", form, *e, "X"), ry = range(p[1], "extent", form, *e, "Y");
        rq.extent = Extent{rx.from, rx.to, ry.from, ry.to};
        if (Status extent = checkStreamlineExtent(rq.extent); !extent) {
            throw UsageError{"option '--extent': " + extent.error()};
        }
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
    if (!lines) return Failure{"Cannot draw the streamlines: " + lines.error()};
    if (format == "csv") {
        return to(a, [lines = std::move(*lines)](TextOutput& out) {
            writeStreamlinesCsv(out, lines);
            return Status{};
        });
    }

    StreamlinePicture pic;
    pic.extent = rq.extent;
    pic.body = bodyOutline(*f, rq.plane);
    pic.stagnation = f->stagnationPoints(rq.plane);
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
