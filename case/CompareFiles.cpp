#include "case/CompareFiles.h"

#include "case/DecimalText.h"
#include "case/LineReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <optional>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvek {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trim(std::string_view s) {
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// The fields of a line: comma-separated when it holds a comma, else separated by blanks.
std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    if (line.find(',') != std::string_view::npos) {
        std::size_t from = 0;
        for (;;) {
            const std::size_t at = line.find(',', from);
            out.push_back(trim(line.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from)));
            if (at == std::string_view::npos) break;
            from = at + 1;
        }
        return out;
    }
    std::size_t k = 0;
    while (k < line.size()) {
        while (k < line.size() && (line[k] == ' ' || line[k] == '\t' || line[k] == '\r')) ++k;
        const std::size_t from = k;
        while (k < line.size() && line[k] != ' ' && line[k] != '\t' && line[k] != '\r') ++k;
        if (k > from) out.push_back(line.substr(from, k - from));
    }
    return out;
}

// All fields finite numbers (a point as decimal separator), or none.
std::optional<std::vector<double>> numbers(const std::vector<std::string_view>& f) {
    if (f.empty()) return std::nullopt;
    std::vector<double> out;
    out.reserve(f.size());
    for (const std::string_view t : f) {
        const std::optional<double> v = parseWholeDecimal(t);
        if (!v || !std::isfinite(*v)) return std::nullopt;
        out.push_back(*v);
    }
    return out;
}

// The lines of a text, bounded: each at most MaxCompareLineLength characters, at most
// MaxCompareRows + 100 of them (the rows and some header lines).
struct Lines {
    std::vector<std::string> text;
    std::string problem;  // empty when every line was read
};

Lines splitLines(std::string_view bytes, const std::string& name) {
    Lines out;
    bool given = false;
    LineReader reader(
        [&](std::string_view& block) {
            block = given ? std::string_view() : bytes;
            given = true;
            return true;
        },
        MaxCompareLineLength);
    std::string line;
    for (;;) {
        const LineReader::Got got = reader.next(line);
        if (got == LineReader::Got::End) break;
        if (got != LineReader::Got::Line) {
            out.problem = name + ", line " + std::to_string(out.text.size() + 1) + ": the line is longer than " +
                          std::to_string(MaxCompareLineLength) + " characters.";
            break;
        }
        if (out.text.size() >= MaxCompareRows + 100) {
            out.problem = name + ": more than " + std::to_string(MaxCompareRows) + " rows.";
            break;
        }
        if (out.text.empty() && line.size() >= 3 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        out.text.push_back(line);
    }
    return out;
}

std::string at(const std::string& name, std::size_t line) { return name + ", line " + std::to_string(line) + ": "; }

std::string shown(std::string_view line) {
    std::string s(trim(line).substr(0, 60));
    for (char& c : s) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return s;
}

// Our surface on one side as x ascending with a value per point.
struct Side {
    std::vector<double> x, value;
    // A point's own value where x matches it to the eight decimals files carry (5e-9), else
    // linear interpolation; NaN outside the span.
    double at(double where) const {
        if (x.empty()) return NaN;
        const auto hi = std::lower_bound(x.begin(), x.end(), where);
        const auto k = static_cast<std::size_t>(hi - x.begin());
        for (const std::size_t j : {k, k - 1}) {
            if (j < x.size() && std::fabs(x[j] - where) <= 5e-9) return value[j];
        }
        if (x.size() < 2 || where < x.front() || where > x.back()) return NaN;
        if (k == 0 || x[k] == where) return value[k];
        const double t = (where - x[k - 1]) / (x[k] - x[k - 1]);
        return value[k - 1] + t * (value[k] - value[k - 1]);
    }
};

// Upper (leading edge to trailing edge) and lower sides of our surface, by x ascending.
std::vector<Side> ourSides(const SurfacePoints& p, bool pressure) {
    std::vector<Side> out(2);
    const std::size_t le = leadingEdgeIndex(p), np = p.size() - 1;
    const auto add = [&](Side& s, std::size_t i) {
        if (!p.isSet(i)) return;
        s.x.push_back(p.x[i]);
        s.value.push_back(pressure ? 1.0 - p.Cu[i] : p.y[i]);
    };
    for (std::size_t i = le; i <= np && i < p.size(); ++i) add(out[0], i);
    for (std::size_t i = le; i >= 1; --i) add(out[1], i);
    for (Side& s : out) {
        // a contour that turns back in x (a thick airfoil's nose) is kept in x order
        std::vector<std::size_t> order(s.x.size());
        for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return s.x[a] < s.x[b]; });
        Side sorted;
        for (const std::size_t k : order) {
            sorted.x.push_back(s.x[k]);
            sorted.value.push_back(s.value[k]);
        }
        s = sorted;
    }
    return out;
}

// The index of the foremost point (the turn of a contour).
std::size_t foremost(const std::vector<double>& x) {
    return static_cast<std::size_t>(std::min_element(x.begin(), x.end()) - x.begin());
}

}  // namespace

Expected<ComparedProfile> readComparedProfile(std::string_view text, const std::string& fileName) {
    const Lines lines = splitLines(text, fileName);
    if (!lines.problem.empty()) return Failure{lines.problem};
    ComparedProfile out;
    std::vector<std::pair<double, double>> pts;
    std::vector<std::size_t> lineOf;
    std::optional<std::pair<double, double>> counts;  // Lednicer: the points per surface
    bool first = true;
    for (std::size_t k = 0; k < lines.text.size(); ++k) {
        const std::string_view line = trim(lines.text[k]);
        if (line.empty() || line[0] == '#') continue;
        const std::optional<std::vector<double>> v = numbers(fields(line));
        if (first && !v) {
            out.name = std::string(line);
            first = false;
            continue;
        }
        first = false;
        if (!v || v->size() != 2) {
            return Failure{at(fileName, k + 1) + "expected a point \"x y\", not '" + shown(line) + "'."};
        }
        const double most = static_cast<double>(MaxCompareRows);
        if (pts.empty() && !counts && (*v)[0] >= 2 && (*v)[1] >= 2 && (*v)[0] <= most && (*v)[1] <= most &&
            (*v)[0] == std::floor((*v)[0]) && (*v)[1] == std::floor((*v)[1])) {
            counts = std::make_pair((*v)[0], (*v)[1]);
            continue;
        }
        if (pts.size() >= MaxCompareRows) return Failure{fileName + ": more than " + std::to_string(MaxCompareRows) + " points."};
        pts.emplace_back((*v)[0], (*v)[1]);
        lineOf.push_back(k + 1);
    }
    if (counts) {
        const double wanted = counts->first + counts->second;
        if (static_cast<double>(pts.size()) != wanted) {
            return Failure{fileName + ": the counts line says " + std::to_string(static_cast<long long>(counts->first)) +
                           " and " + std::to_string(static_cast<long long>(counts->second)) +
                           " points (a Lednicer file), but " + std::to_string(pts.size()) + " follow."};
        }
        // upper from the leading edge to the trailing edge, then the lower the same way: reversed
        // upper, then the lower without its leading-edge point when both share it
        const auto upper = static_cast<std::size_t>(counts->first);
        std::vector<std::pair<double, double>> selig(pts.rbegin() + static_cast<std::ptrdiff_t>(pts.size() - upper),
                                                     pts.rend());
        std::size_t from = upper;
        if (from < pts.size() && pts[from] == pts[0]) ++from;
        selig.insert(selig.end(), pts.begin() + static_cast<std::ptrdiff_t>(from), pts.end());
        pts = selig;
    }
    if (pts.size() < 3) return Failure{fileName + ": an airfoil needs at least 3 points, not " + std::to_string(pts.size()) + "."};
    for (const auto& [x, y] : pts) {
        out.x.push_back(x);
        out.y.push_back(y);
    }
    return out;
}

Expected<ComparedPressure> readComparedPressure(std::string_view text, const std::string& fileName) {
    const Lines lines = splitLines(text, fileName);
    if (!lines.problem.empty()) return Failure{lines.problem};
    // columns: x, y, Cp, 1-Cp, surface; -1 where absent
    int cx = -1, cy = -1, ccp = -1, cOne = -1, cSide = -1;
    std::size_t width = 0, headerLine = 0;
    bool columnsKnown = false;  // judged at the first row of numbers
    ComparedPressure out;
    for (std::size_t k = 0; k < lines.text.size(); ++k) {
        std::string_view line = trim(lines.text[k]);
        const bool comment = !line.empty() && line[0] == '#';
        if (comment) line = trim(line.substr(1));
        if (line.empty()) continue;
        const std::vector<std::string_view> f = fields(line);
        std::optional<std::vector<double>> v = comment ? std::nullopt : numbers(f);
        if (!v && cSide >= 0 && f.size() == width) {
            // a row with a surface column: that field is a word
            std::vector<std::string_view> rest = f;
            const std::string side = lower(rest[static_cast<std::size_t>(cSide)]);
            rest[static_cast<std::size_t>(cSide)] = "0";
            v = numbers(rest);
            if (v && side != "upper" && side != "lower") {
                return Failure{at(fileName, k + 1) + "the surface must be upper or lower, not '" + shown(side) + "'."};
            }
            if (v) (*v)[static_cast<std::size_t>(cSide)] = side == "upper" ? 1.0 : 0.0;
        }
        if (!v) {
            if (width != 0) {
                return Failure{at(fileName, k + 1) + "expected " + std::to_string(width) + " numbers, not '" +
                               shown(line) + "'."};
            }
            // a header: the names of the columns
            cx = cy = ccp = cOne = cSide = -1;
            for (std::size_t c = 0; c < f.size(); ++c) {
                std::string n = lower(f[c]);
                n.erase(std::remove(n.begin(), n.end(), ' '), n.end());
                const int ci = static_cast<int>(c);
                if (n == "x" || n == "x/c") cx = ci;
                else if (n == "y" || n == "y/c") cy = ci;
                else if (n == "cp") ccp = ci;
                else if (n == "1-cp" || n == "oneminuscp") cOne = ci;
                else if (n == "surface" || n == "side") cSide = ci;
            }
            headerLine = k + 1;
            if (cSide >= 0) width = f.size();
            continue;
        }
        if (!columnsKnown) {
            columnsKnown = true;
            if (width == 0) width = v->size();
            if (cx < 0 && ccp < 0 && cOne < 0) {
                if (width == 2) {
                    cx = 0;
                    ccp = 1;
                } else if (width == 3) {
                    cx = 0;
                    cy = 1;
                    ccp = 2;
                } else {
                    return Failure{at(fileName, k + 1) + "expected two columns (x, Cp) or three (x, y, Cp), not " +
                                   std::to_string(width) + "."};
                }
            } else if (cx < 0 || (ccp < 0 && cOne < 0)) {
                return Failure{at(fileName, headerLine) + "the header names no x column and no Cp or 1-Cp column."};
            }
            if (std::max({cx, cy, ccp, cOne, cSide}) >= static_cast<int>(v->size())) {
                return Failure{at(fileName, k + 1) + "the header names more columns than the row has."};
            }
        }
        if (v->size() != width) {
            return Failure{at(fileName, k + 1) + "expected " + std::to_string(width) + " numbers, not " +
                           std::to_string(v->size()) + "."};
        }
        if (out.x.size() >= MaxCompareRows) return Failure{fileName + ": more than " + std::to_string(MaxCompareRows) + " rows."};
        const auto col = [&](int c) { return (*v)[static_cast<std::size_t>(c)]; };
        out.x.push_back(col(cx));
        if (cy >= 0) out.y.push_back(col(cy));
        out.cp.push_back(ccp >= 0 ? col(ccp) : 1.0 - col(cOne));
        if (cSide >= 0) out.side.push_back(col(cSide) == 1.0 ? ComparedSide::Upper : ComparedSide::Lower);
    }
    if (out.x.size() < 2) return Failure{fileName + ": no pressure distribution in it (at least 2 rows of numbers)."};
    if (cSide < 0) {
        // round the contour: split at the foremost point
        const std::size_t turn = foremost(out.x);
        bool firstUpper = true;
        if (!out.y.empty()) {
            double before = 0, after = 0;
            for (std::size_t k = 0; k < out.y.size(); ++k) (k <= turn ? before : after) += out.y[k];
            const double nb = static_cast<double>(turn + 1), na = static_cast<double>(out.y.size() - turn - 1);
            firstUpper = na == 0 || before / nb >= after / na;
        }
        for (std::size_t k = 0; k < out.x.size(); ++k) {
            const bool first = k <= turn;
            out.side.push_back(first == firstUpper ? ComparedSide::Upper : ComparedSide::Lower);
        }
    }
    return out;
}

Expected<ComparedPolar> readComparedPolar(std::string_view text, const std::string& fileName) {
    const Lines lines = splitLines(text, fileName);
    if (!lines.problem.empty()) return Failure{lines.problem};
    ComparedPolar out;
    int ca = -1, cl = -1, cd = -1, cm = -1;
    std::size_t width = 0;
    for (std::size_t k = 0; k < lines.text.size(); ++k) {
        const std::string_view line = trim(lines.text[k]);
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string_view> f = fields(line);
        if (ca < 0) {
            // title lines until the header naming alpha and CL
            const std::string l = lower(line);
            const std::size_t named = l.find("calculated polar for:");
            if (named != std::string::npos) out.name = std::string(trim(line.substr(named + 21)));
            for (std::size_t c = 0; c < f.size(); ++c) {
                const std::string n = lower(f[c]);
                const int ci = static_cast<int>(c);
                if (n == "alpha" || n == "alfa" || n == "aoa") ca = ci;
                else if (n == "cl") cl = ci;
                else if (n == "cd") cd = ci;
                else if (n == "cm" || n == "cmc4" || n == "cm_c/4") cm = ci;
            }
            if (ca < 0 || cl < 0) {
                ca = cl = cd = cm = -1;
                if (numbers(f)) return Failure{at(fileName, k + 1) + "a row of numbers before the header naming alpha and CL."};
                if (k > 200) break;
                continue;
            }
            width = f.size();
            continue;
        }
        if (line.find_first_not_of("- \t") == std::string_view::npos) continue;  // XFOIL's line of dashes
        std::vector<std::string_view> g = f;
        // our CSV leaves some fields empty (no viscous estimate) and names the surface in words:
        // only the columns used must be numbers
        if (g.size() != width) {
            return Failure{at(fileName, k + 1) + "expected " + std::to_string(width) + " columns, not " +
                           std::to_string(g.size()) + "."};
        }
        const auto value = [&](int c, bool required) -> std::optional<double> {
            if (c < 0) return NaN;
            const std::string_view t = g[static_cast<std::size_t>(c)];
            if (t.empty() && !required) return NaN;
            const std::optional<double> v = parseWholeDecimal(t);
            if (!v || !std::isfinite(*v)) return std::nullopt;
            return v;
        };
        const std::optional<double> a = value(ca, true), l = value(cl, true), d = value(cd, false), m = value(cm, false);
        if (!a || !l || !d || !m) {
            return Failure{at(fileName, k + 1) + "expected numbers in the alpha, CL, CD and CM columns, not '" +
                           shown(line) + "'."};
        }
        if (out.alpha.size() >= MaxCompareRows) return Failure{fileName + ": more than " + std::to_string(MaxCompareRows) + " rows."};
        out.alpha.push_back(*a);
        out.CL.push_back(*l);
        out.CD.push_back(*d);
        out.CM.push_back(*m);
    }
    if (ca < 0) return Failure{fileName + ": no header line naming the columns alpha and CL; not a polar."};
    if (out.alpha.empty()) return Failure{fileName + ": the polar has no rows."};
    return out;
}

#ifdef _WIN32

Expected<std::string> readCompareFile(const std::string& path, const std::string& fileName) {
    std::error_code error;
    const std::filesystem::path p = std::filesystem::u8path(path);
    if (!std::filesystem::is_regular_file(p, error)) return Failure{"Cannot read " + fileName + ": it is no regular file."};
    if (std::filesystem::file_size(p, error) > MaxCompareFileBytes) {
        return Failure{"Cannot read " + fileName + ": it is larger than 16 MB."};
    }
    std::ifstream in(p, std::ios::binary);
    if (!in) return Failure{"Cannot read " + fileName + "."};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#else

Expected<std::string> readCompareFile(const std::string& path, const std::string& fileName) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Failure{"Cannot read " + fileName + ": no such file, or not allowed."};
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return Failure{"Cannot read " + fileName + ": it is no regular file."};
    }
    if (static_cast<std::size_t>(info.st_size) > MaxCompareFileBytes) {
        return Failure{"Cannot read " + fileName + ": it is larger than 16 MB."};
    }
    std::string out;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure{"Cannot read " + fileName + "."};
        if (n == 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
        if (out.size() > MaxCompareFileBytes) return Failure{"Cannot read " + fileName + ": it is larger than 16 MB."};
    }
    return out;
}

#endif

std::vector<Difference> pressureDifference(const SurfacePoints& ours, const ComparedPressure& file) {
    const std::vector<Side> sides = ourSides(ours, true);
    std::vector<Difference> out(2);
    for (std::size_t k = 0; k < file.x.size(); ++k) {
        const std::size_t s = file.side[k] == ComparedSide::Upper ? 0 : 1;
        const double mine = sides[s].at(file.x[k]);
        if (std::isnan(mine)) continue;
        out[s].x.push_back(file.x[k]);
        out[s].value.push_back(file.cp[k] - mine);
    }
    return out;
}

std::vector<Difference> profileDifference(const SurfacePoints& ours, const ComparedProfile& file) {
    const std::vector<Side> sides = ourSides(ours, false);
    std::vector<Difference> out(2);
    const std::size_t turn = foremost(file.x);
    for (std::size_t k = 0; k < file.x.size(); ++k) {
        const std::size_t s = k <= turn ? 0 : 1;  // Selig order: the upper side first
        const double mine = sides[s].at(file.x[k]);
        if (std::isnan(mine)) continue;
        out[s].x.push_back(file.x[k]);
        out[s].value.push_back(file.y[k] - mine);
    }
    return out;
}

}  // namespace orvek
