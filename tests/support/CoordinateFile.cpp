#include "support/CoordinateFile.h"

#include <locale>
#include <sstream>

namespace orvek::test {

std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

bool readPair(const std::string& line, Point& p) {
    std::istringstream in(line);
    in.imbue(std::locale::classic());
    std::string rest;
    return static_cast<bool>(in >> p.x >> p.y) && !(in >> rest);
}

namespace {

bool readBlock(const std::vector<std::string>& lines, std::size_t from, std::size_t count, std::vector<Point>& out) {
    for (std::size_t k = from; k < from + count; ++k) {
        Point p;
        if (k >= lines.size() || !readPair(lines[k], p)) return false;
        out.push_back(p);
    }
    return true;
}

}  // namespace

CoordinateFile readSelig(const std::string& text) {
    CoordinateFile f;
    f.lines = textLines(text);
    if (f.lines.size() < 2) return f;
    f.name = f.lines[0];
    f.ok = readBlock(f.lines, 1, f.lines.size() - 1, f.all);
    return f;
}

CoordinateFile readLednicer(const std::string& text) {
    CoordinateFile f;
    f.lines = textLines(text);
    Point counts;
    if (f.lines.size() < 4 || !readPair(f.lines[1], counts) || !f.lines[2].empty()) return f;
    f.name = f.lines[0];
    const auto nu = static_cast<std::size_t>(counts.x), nl = static_cast<std::size_t>(counts.y);
    f.ok = f.lines.size() == 3 + nu + 1 + nl && readBlock(f.lines, 3, nu, f.upper) && f.lines[3 + nu].empty() &&
           readBlock(f.lines, 4 + nu, nl, f.lower);
    return f;
}

}  // namespace orvek::test
