#include "case/Catalogue.h"

#include "case/DecimalText.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace orvek {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool isBlankLine(std::string_view s) { return trimBlanks(s).empty(); }

// Splits the bytes into lines at LF, dropping a CR before it. A final line end adds no line.
std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

// Parses one airfoil line into its seven numbers, or says what is wrong with it.
std::optional<std::string> parseRow(std::string_view line, CatalogueRow& row) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() != 7) {
        return "expected 7 numbers, found " + std::to_string(isBlankLine(line) ? 0 : fields.size());
    }
    double* targets[7] = {&row.Delta, &row.Gama, &row.xDltC, &row.Tau, &row.F, &row.G, &row.m};
    for (std::size_t k = 0; k < 7; ++k) {
        std::optional<double> v = parseWholeDecimal(trimBlanks(fields[k]));
        if (!v) return "field " + std::to_string(k + 1) + " is not a number";
        if (!std::isfinite(*v)) return "field " + std::to_string(k + 1) + " is out of range";
        *targets[k] = *v;
    }
    return std::nullopt;
}

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(i);
    if (c < 0x80) return 1;
    std::size_t n;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) { n = 2; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { n = 3; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 4; cp = c & 0x07; }
    else return 0;
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Reject overlong forms, surrogates and code points beyond Unicode.
    if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return n;
}

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Windows-1252 for 0x80..0x9F; its five unassigned bytes keep their C1 code points.
constexpr unsigned short Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string CatalogueProblem::message() const {
    return std::string(CatalogueFileName) + ", line " + std::to_string(lineNumber) + ": " + what +
           "; the airfoils from this line on were not loaded.";
}

std::string displayText(std::string_view line) {
    bool valid = true;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t n = utf8SequenceLength(line, i);
        if (n == 0) { valid = false; break; }
        i += n;
    }
    if (valid) return std::string(line);
    std::string out;
    out.reserve(line.size() * 2);
    for (char ch : line) {
        unsigned char c = static_cast<unsigned char>(ch);
        appendUtf8(out, c >= 0x80 && c <= 0x9F ? Cp1252High[c - 0x80] : c);
    }
    return out;
}

Expected<Catalogue> readCatalogue(std::string_view bytes) {
    if (bytes.empty()) return Failure{CatalogueMissing};
    Catalogue catalogue;
    std::vector<std::string_view> lines = splitLines(bytes);
    catalogue.title = displayText(lines.empty() ? std::string_view() : lines[0]);
    for (std::size_t k = 1; k < lines.size() && catalogue.rows.size() < MaxAirfoils; ++k) {
        CatalogueRow row;
        if (std::optional<std::string> fault = parseRow(lines[k], row)) {
            bool onlyBlankLinesFollow = true;
            for (std::size_t rest = k; rest < lines.size(); ++rest) {
                if (!isBlankLine(lines[rest])) { onlyBlankLinesFollow = false; break; }
            }
            if (!onlyBlankLinesFollow) catalogue.problem = CatalogueProblem{static_cast<int>(k + 1), *fault};
            break;
        }
        row.text = displayText(lines[k]);
        catalogue.rows.push_back(std::move(row));
    }
    return catalogue;
}

Expected<Catalogue> loadCatalogueFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failure{CatalogueMissing};
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return Failure{CatalogueMissing};
    return readCatalogue(bytes);
}

void storeCatalogue(CaseState& state, const Catalogue& catalogue) {
    state.AirfoilRow[0] = catalogue.title;
    state.AirfoilCount = static_cast<int>(std::min<std::size_t>(catalogue.rows.size(), MaxAirfoils));
    for (int i = 1; i <= state.AirfoilCount; ++i) {
        const CatalogueRow& row = catalogue.rows[static_cast<std::size_t>(i - 1)];
        const auto slot = static_cast<std::size_t>(i);
        state.AirfoilRow[slot] = row.text;
        state.Delta[slot] = row.Delta;
        state.Gama[slot] = row.Gama;
        state.xDltC[slot] = row.xDltC;
        state.Tau[slot] = row.Tau;
        state.F[slot] = row.F;
        state.G[slot] = row.G;
        state.m[slot] = row.m;
    }
}

}  // namespace orvek
