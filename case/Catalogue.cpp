#include "case/Catalogue.h"

#include "case/DecimalText.h"

#include <cmath>
#include <cstring>

// The catalogue's grammar: a title line, then lines of seven comma-separated numbers.

namespace orvek {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool isBlankLine(std::string_view s) { return trimBlanks(s).empty(); }

// Parses one airfoil line into its seven numbers, or says what is wrong with it.
Status parseRow(std::string_view line, CatalogueRow& row) {
    std::string_view fields[7];
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        const std::string_view field =
            line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (count < 7) fields[count] = field;
        ++count;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != 7) {
        return Failure{"expected 7 numbers, found " + std::to_string(isBlankLine(line) ? 0 : count)};
    }
    double* targets[7] = {&row.geometry.thickness,
                          &row.geometry.camber,
                          &row.geometry.thicknessPosition,
                          &row.geometry.teAngleDegrees,
                          &row.airfoil.F,
                          &row.airfoil.G,
                          &row.airfoil.m};
    for (std::size_t k = 0; k < 7; ++k) {
        std::optional<double> v = parseWholeDecimal(trimBlanks(fields[k]));
        if (!v) return Failure{"field " + std::to_string(k + 1) + " is not a number"};
        if (!std::isfinite(*v)) return Failure{"field " + std::to_string(k + 1) + " is out of range"};
        *targets[k] = *v;
    }
    return {};
}

std::string tooLong() { return "the line is longer than " + std::to_string(MaxCatalogueLineLength) + " characters"; }

// The report of the line that stopped loading, as one sentence naming the file.
CatalogueProblem problemAt(std::string_view name, int lineNumber, const std::string& what) {
    return {lineNumber, std::string(name) + ", line " + std::to_string(lineNumber) + ": " + what +
                            "; the airfoils from this line on were not loaded."};
}

// The window's sentence with the catalogue's own name in place of ORVEK_Input.txt.
std::string naming(const char* sentence, std::string_view name) {
    return std::string(name) + (sentence + std::strlen(CatalogueFileName));
}

}  // namespace

std::string catalogueMissing(std::string_view name) { return naming(CatalogueMissing, name); }
std::string catalogueUtf16(std::string_view name) { return naming(CatalogueUtf16, name); }
std::string catalogueNotText(std::string_view name) { return naming(CatalogueNotText, name); }

// The title, then airfoil lines until the first that is not seven numbers, the 50th airfoil, or
// the end. Nothing beyond the 51st line is ever read.
Expected<Catalogue> readCatalogueBlocks(const BlockSource& source, std::string_view name) {
    LineReader reader(source, MaxCatalogueLineLength);
    std::string_view first;
    if (!reader.firstBlock(first) || first.empty()) return Failure{catalogueMissing(name)};
    switch (encodingOf(first)) {
    case Encoding::Utf16: return Failure{catalogueUtf16(name)};
    case Encoding::Binary: return Failure{catalogueNotText(name)};
    case Encoding::Text: break;
    }
    if (first.substr(0, 3) == "\xEF\xBB\xBF") reader.skip(3);  // UTF-8 byte-order mark

    Catalogue catalogue;
    std::string line;
    switch (reader.next(line)) {
    case LineReader::Got::Error: return Failure{catalogueMissing(name)};
    case LineReader::Got::TooLong: catalogue.problem = problemAt(name, 1, tooLong()); return catalogue;
    case LineReader::Got::End:
    case LineReader::Got::Line: break;
    }
    catalogue.title = displayText(line);
    const int lastLine = MaxAirfoils + 1;
    for (int lineNumber = 2; lineNumber <= lastLine; ++lineNumber) {
        const LineReader::Got got = reader.next(line);
        if (got == LineReader::Got::Error) return Failure{catalogueMissing(name)};
        if (got == LineReader::Got::End) break;
        if (got == LineReader::Got::TooLong) {
            catalogue.problem = problemAt(name, lineNumber, tooLong());
            break;
        }
        CatalogueRow row;
        if (Status parsed = parseRow(line, row); !parsed) {
            // A blank line is only a fault when an airfoil line follows it within the lines read.
            bool onlyBlankLinesFollow = isBlankLine(line);
            for (int rest = lineNumber + 1; onlyBlankLinesFollow && rest <= lastLine; ++rest) {
                const LineReader::Got after = reader.next(line);
                if (after == LineReader::Got::End) break;
                onlyBlankLinesFollow = after == LineReader::Got::Line && isBlankLine(line);
            }
            if (!onlyBlankLinesFollow) catalogue.problem = problemAt(name, lineNumber, parsed.error());
            break;
        }
        row.text = displayText(line);
        catalogue.rows.push_back(std::move(row));
    }
    return catalogue;
}

Expected<Catalogue> readCatalogue(std::string_view bytes, std::string_view name) {
    bool handedOut = false;
    return readCatalogueBlocks(
        [&](std::string_view& block) {
            block = handedOut ? std::string_view() : bytes;
            handedOut = true;
            return true;
        },
        name);
}

}  // namespace orvek
