#include "export/AirfoilCoordinates.h"

#include "solver/Constants.h"
#include "solver/NumberText.h"
#include "solver/analysis/Describe.h"
#include "solver/analysis/PressureMinimum.h"
#include "solver/surface/Solver.h"
#include "solver/ShortestText.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <vector>

namespace orvek {

namespace {

constexpr int Decimals = 8;

// "-0.12345678" or " 0.12345678": a place for the sign always, so columns of mixed signs align.
// A value that rounds to zero is written without a minus.
std::string fixedText(double value) {
    char buf[400];
    const auto [end, ec] = doubleToChars(buf + 1, buf + sizeof buf, value, std::chars_format::fixed, Decimals);
    if (ec != std::errc()) return " 0.00000000";
    std::string text(buf + 1, end);
    if (text[0] == '-') {
        if (text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
        else return text;
    }
    return " " + text;
}

// Right-aligned columns written in two passes over the points: the first measures every cell,
// the second writes the rows, so no cell is kept and the memory stays that of one line.
//
// A run of rows walks positions 2i (point i) and, between them, 2i + 1: the leading edge always
// sits at position NP + 1, which is the middle point of an odd NP and lies between the two middle
// points of an even one. Rows are the set points of the run, and, when the run asks for it, the
// leading edge (0, 0) at its position wherever no set point stands there (an even NP, or the
// unset nose of an F = 0 airfoil).
constexpr std::size_t LeadingEdgeRow = static_cast<std::size_t>(-1);

struct PointRun {
    const SurfacePoints* points;
    std::size_t first, last;  // positions, either direction
    bool withLeadingEdge = false;

    template <typename Visit>
    void forEach(Visit visit) const {
        const std::size_t front = points->size();  // NP + 1
        for (std::size_t q = first;; q = first <= last ? q + 1 : q - 1) {
            const bool set = q % 2 == 0 && points->isSet(q / 2);
            if (set) visit(q / 2);
            else if (q == front && withLeadingEdge) visit(LeadingEdgeRow);
            if (q == last) break;
        }
    }
    std::size_t count() const {
        std::size_t n = 0;
        forEach([&n](std::size_t) { ++n; });
        return n;
    }
};

class ColumnWriter {
public:
    using Cells = std::vector<std::string>;
    // `cellsOf(i, cells)` fills the cells of the row of point i.
    ColumnWriter(PointRun rows, std::function<void(std::size_t, Cells&)> cellsOf)
        : rows_(rows), cellsOf_(std::move(cellsOf)) {
        Cells cells;
        rows_.forEach([&](std::size_t i) {
            cellsOf_(i, cells);
            if (widths_.size() < cells.size()) widths_.resize(cells.size(), 0);
            for (std::size_t c = 0; c < cells.size(); ++c) widths_[c] = std::max(widths_[c], cells[c].size());
        });
    }
    // Each row's cells joined by `separator`, after `indent`; the last cell of a CSV row (a word)
    // is not padded.
    void write(TextOutput& out, std::string_view indent, std::string_view separator, bool padLast = true) const {
        Cells cells;
        std::string line;
        rows_.forEach([&](std::size_t i) {
            cellsOf_(i, cells);
            line.assign(indent);
            for (std::size_t c = 0; c < cells.size(); ++c) {
                if (c > 0) line += separator;
                if (padLast || c + 1 < cells.size()) line.append(widths_[c] - cells[c].size(), ' ');
                line += cells[c];
            }
            line += '\n';
            out << line;
        });
    }

private:
    PointRun rows_;
    std::function<void(std::size_t, Cells&)> cellsOf_;
    std::vector<std::size_t> widths_;
};

ColumnWriter pairs(const SurfacePoints& p, PointRun indices) {
    return ColumnWriter(indices, [&p](std::size_t i, ColumnWriter::Cells& cells) {
        cells.resize(2);
        cells[0] = fixedText(i == LeadingEdgeRow ? 0.0 : p.x[i]);
        cells[1] = fixedText(i == LeadingEdgeRow ? 0.0 : p.y[i]);
    });
}

}  // namespace

std::optional<CoordinateFormat> coordinateFormat(std::string_view name) {
    if (name == "selig") return CoordinateFormat::Selig;
    if (name == "lednicer") return CoordinateFormat::Lednicer;
    if (name == "csv") return CoordinateFormat::Csv;
    return std::nullopt;
}

Status checkAirfoilName(const std::string& name) {
    if (name.find_first_not_of(" \t") == std::string::npos) return Failure{"The airfoil's name is empty."};
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            return Failure{"The airfoil's name must be one line of text."};
        }
    }
    return {};
}

Status writeAirfoilCoordinates(TextOutput& out, const SurfacePoints& points, CoordinateFormat format,
                               const std::string& name) {
    if (format != CoordinateFormat::Csv) {  // the CSV file has no name line
        if (Status fault = checkAirfoilName(name); !fault) return fault;
    }
    const std::size_t N = points.size() == 0 ? 0 : points.size() - 1;
    if (N == 0 || PointRun{&points, 2, 2 * N}.count() == 0) return Failure{"Cannot export: the surface has no points."};
    if (Status few = coordinatePointsFault(static_cast<double>(N)); !few) return few;
    // The upper surface is the middle up to NP, the lower the middle down to 1, each from the
    // leading edge to the trailing edge; both begin at the leading edge, the shared middle point
    // of an odd NP. The .dat files hold the leading edge at any NP: panel programs start their
    // surfaces there.
    const PointRun all{&points, 2, 2 * N};
    const PointRun upper{&points, N + 1, 2 * N, true};
    const PointRun lower{&points, N + 1, 2, true};

    switch (format) {
    case CoordinateFormat::Selig: {
        out << name << '\n';
        // from the trailing edge over the upper side, the leading edge, and back along the lower
        pairs(points, PointRun{&points, 2 * N, 2, true}).write(out, " ", "  ");
        break;
    }
    case CoordinateFormat::Lednicer:
        out << name << '\n';
        out << "  " << std::to_string(upper.count()) << ".  " << std::to_string(lower.count()) << ".\n\n";
        pairs(points, upper).write(out, " ", "  ");
        out << '\n';
        pairs(points, lower).write(out, " ", "  ");
        break;
    case CoordinateFormat::Csv: {
        out << "index,x,y,OneMinusCp,surface\n";
        ColumnWriter(all, [&points, N](std::size_t i, ColumnWriter::Cells& cells) {
            cells.resize(5);
            cells[0] = std::to_string(i);
            cells[1] = fixedText(points.x[i]);
            cells[2] = fixedText(points.y[i]);
            cells[3] = fixedText(points.Cu[i]);
            cells[4] = surfaceName(surfaceOfPoint(i, N));
        }).write(out, "", ",", false);
        break;
    }
    }
    return {};
}

Status coordinatePointsFault(double NP) {
    if (NP >= LeastCoordinatePoints) return {};
    return Failure{"A coordinate file needs at least " + shortestText(LeastCoordinatePoints) +
                   " points (the trailing edge at both ends, the leading edge and a point of each surface "
                   "between them), not " +
                   shortestText(NP) + "."};
}

void CoordinateFile::write(TextOutput& out) const { (void)writeAirfoilCoordinates(out, points, format, name); }

std::string CoordinateFile::text() const {
    StringOutput out;
    write(out);
    return std::move(out).text();
}

Expected<CoordinateFile> coordinateFile(const CoordinateFileRequest& request) {
    if (Status few = coordinatePointsFault(request.NP); !few && request.NP < LeastCoordinatePoints)
        return Failure{few.error()};
    SolverInput in;
    in.airfoil = request.airfoil;
    in.N1 = request.NP;
    in.AlfaD = request.alphaDegrees;
    Expected<SolverResult> solved = ORVEK(in);
    if (!solved) return Failure{solved.error()};
    if (Status simple = checkSimpleAirfoil(request.airfoil); !simple) return Failure{simple.error()};
    CoordinateFile file;
    file.format = request.format;
    file.name = request.name.value_or(request.airfoil.name());
    if (request.format != CoordinateFormat::Csv) {  // the CSV file has no name line
        if (Status fault = checkAirfoilName(file.name); !fault) return Failure{fault.error()};
    }
    const std::size_t N = solved->points.size() == 0 ? 0 : solved->points.size() - 1;
    if (N == 0 || PointRun{&solved->points, 2, 2 * N}.count() == 0)
        return Failure{"Cannot export: the surface has no points."};
    file.points = std::move(solved->points);
    return file;
}

}  // namespace orvek
