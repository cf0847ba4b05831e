#include "export/AirfoilCoordinates.h"

#include "solver/Constants.h"
#include "solver/PressureMinimum.h"
#include "solver/ShortestText.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace orvek {

namespace {

constexpr int Decimals = 8;

// "-0.12345678" or " 0.12345678": a place for the sign always, so columns of mixed signs align.
// A value that rounds to zero is written without a minus.
std::string fixedText(double value) {
    char buf[400];
    const auto [end, ec] = std::to_chars(buf + 1, buf + sizeof buf, value, std::chars_format::fixed, Decimals);
    if (ec != std::errc()) return " 0.00000000";
    std::string text(buf + 1, end);
    if (text[0] == '-') {
        if (text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
        else return text;
    }
    return " " + text;
}

// A table of texts whose columns are right-aligned to their widest entry.
class Columns {
public:
    void add(std::vector<std::string> row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths_.size() <= c) widths_.push_back(0);
            widths_[c] = std::max(widths_[c], row[c].size());
        }
        rows_.push_back(std::move(row));
    }
    // Each row's cells joined by `separator`, after `indent`; the last cell of a CSV row (a word)
    // is not padded.
    void write(std::string& out, const std::string& indent, const std::string& separator, bool padLast = true) const {
        for (const std::vector<std::string>& row : rows_) {
            out += indent;
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (c > 0) out += separator;
                if (padLast || c + 1 < row.size()) out.append(widths_[c] - row[c].size(), ' ');
                out += row[c];
            }
            out += '\n';
        }
    }

private:
    std::vector<std::size_t> widths_;
    std::vector<std::vector<std::string>> rows_;
};

Columns pairs(const SurfacePoints& p, const std::vector<std::size_t>& indices) {
    Columns t;
    for (std::size_t i : indices) t.add({fixedText(p.x[i]), fixedText(p.y[i])});
    return t;
}

}  // namespace

std::optional<CoordinateFormat> coordinateFormat(std::string_view name) {
    if (name == "selig") return CoordinateFormat::Selig;
    if (name == "lednicer") return CoordinateFormat::Lednicer;
    if (name == "csv") return CoordinateFormat::Csv;
    return std::nullopt;
}

Expected<std::string> airfoilCoordinatesText(const SurfacePoints& points, CoordinateFormat format,
                                             const std::string& name) {
    if (format != CoordinateFormat::Csv) {  // the CSV file has no name line
        if (name.find_first_not_of(" \t") == std::string::npos) return Failure{"the airfoil's name is empty"};
        for (char c : name) {
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                return Failure{"the airfoil's name must be one line of text"};
        }
    }
    const std::size_t N = points.size() == 0 ? 0 : points.size() - 1;
    // Index order, set points only; `upper` and `lower` each from the leading edge to the trailing edge.
    std::vector<std::size_t> all, upper, lower;
    for (std::size_t i = 1; i <= N; ++i) {
        if (!points.isSet(i)) continue;
        all.push_back(i);
        if (2 * i >= N + 1) upper.push_back(i);
    }
    for (std::size_t i = N; i >= 1; --i) {
        if (points.isSet(i) && 2 * i <= N + 1) lower.push_back(i);
    }
    if (all.empty()) return Failure{"the surface has no points"};

    std::string out = name + "\n";
    switch (format) {
    case CoordinateFormat::Selig: {
        const std::vector<std::size_t> fromTheUpperSide(all.rbegin(), all.rend());
        pairs(points, fromTheUpperSide).write(out, " ", "  ");
        break;
    }
    case CoordinateFormat::Lednicer:
        out += "  " + std::to_string(upper.size()) + ".  " + std::to_string(lower.size()) + ".\n\n";
        pairs(points, upper).write(out, " ", "  ");
        out += "\n";
        pairs(points, lower).write(out, " ", "  ");
        break;
    case CoordinateFormat::Csv: {
        out = "index,x,y,OneMinusCp,surface\n";
        Columns t;
        for (std::size_t i : all) {
            t.add({std::to_string(i), fixedText(points.x[i]), fixedText(points.y[i]), fixedText(points.Cu[i]),
                   surfaceName(surfaceOfPoint(i, N))});
        }
        t.write(out, "", ",", false);
        break;
    }
    }
    return out;
}

}  // namespace orvek
