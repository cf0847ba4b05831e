#include "case/PointFile.h"

#include "case/DecimalText.h"
#include "export/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

namespace orvek {

namespace {

// How much of a bad line a message quotes.
constexpr std::size_t ExcerptBytes = 60;

constexpr std::size_t ReadBlockBytes = std::size_t{64} * 1024;

std::string_view trimmed(std::string_view s) {
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string_view::npos) return {};
    const std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// The two fields of a line: split at its first comma, or else at its first run of blanks.
bool splitFields(std::string_view line, std::string_view& first, std::string_view& second) {
    const std::size_t comma = line.find(',');
    if (comma != std::string_view::npos) {
        first = trimmed(line.substr(0, comma));
        second = trimmed(line.substr(comma + 1));
        return true;
    }
    const std::size_t gap = line.find_first_of(" \t");
    if (gap == std::string_view::npos) return false;
    first = line.substr(0, gap);
    second = trimmed(line.substr(gap));
    return true;
}

bool isLetter(std::string_view field, char lower) {
    return field.size() == 1 && (field[0] == lower || field[0] == lower - 'a' + 'A');
}

std::string lineLabel(std::string_view name, std::size_t number) {
    return std::string(name) + ", line " + std::to_string(number) + ": ";
}

}  // namespace

std::string quotedExcerpt(std::string_view text, std::size_t maxBytes) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out, piece;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : utf8SequenceLength(text, i);
        piece.clear();
        if (c == '\r') {
            piece = "\\r";
        } else if (c == '\n') {
            piece = "\\n";
        } else if (c == '\t') {
            piece = "\\t";
        } else if (c < 0x20 || c == 0x7F || length == 0) {
            piece = {'\\', 'x', Hex[c >> 4], Hex[c & 0xF]};
        } else {
            piece = text.substr(i, length);
        }
        if (out.size() + piece.size() > maxBytes) break;
        out += piece;
        i += std::max<std::size_t>(length, 1);
    }
    if (i < text.size()) out += "...";
    return out;
}

Status readPointBlocks(const BlockSource& source, std::string_view name, std::size_t blockSize,
                       const PointBlockSink& sink) {
    LineReader reader(source, MaxPointLineLength);
    std::vector<double> xs, ys;
    xs.reserve(blockSize);
    ys.reserve(blockSize);
    const auto handOn = [&] {
        if (!xs.empty()) sink(xs.data(), ys.data(), xs.size());
        xs.clear();
        ys.clear();
    };
    const char* const expected = "expected a point \"x,y\" or \"x y\"";
    std::string raw;
    std::size_t number = 0;
    bool first = true;
    for (;;) {
        const LineReader::Got got = reader.next(raw);
        if (got == LineReader::Got::End) break;
        ++number;
        if (got == LineReader::Got::Error) {
            handOn();
            return Failure{"cannot read " + std::string(name) + " after line " + std::to_string(number - 1)};
        }
        if (got == LineReader::Got::TooLong) {
            handOn();
            return Failure{lineLabel(name, number) + expected + ", not a line of more than " +
                           std::to_string(MaxPointLineLength) + " bytes beginning '" +
                           quotedExcerpt(raw, ExcerptBytes) + "'"};
        }
        std::string_view line = raw;
        if (number == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // a byte-order mark
        line = trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        std::string_view xText, yText;
        const bool split = splitFields(line, xText, yText);
        // The first line may name the columns.
        if (first && split && isLetter(xText, 'x') && isLetter(yText, 'y')) {
            first = false;
            continue;
        }
        first = false;
        const std::optional<double> x = split ? parseWholeDecimal(xText) : std::nullopt;
        const std::optional<double> y = split ? parseWholeDecimal(yText) : std::nullopt;
        if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) {
            handOn();
            return Failure{lineLabel(name, number) + expected + ", not '" + quotedExcerpt(line, ExcerptBytes) + "'"};
        }
        xs.push_back(*x);
        ys.push_back(*y);
        if (xs.size() >= blockSize) handOn();
    }
    handOn();
    return {};
}

void PointFile::Closer::operator()(std::FILE* f) const {
    if (f && f != stdin) std::fclose(f);
}

Expected<PointFile> PointFile::open(const std::string& path) {
    PointFile p;
    if (path == "-") {
        p.file_.reset(stdin);
        p.name_ = "standard input";
        return p;
    }
    const std::string cannot = "cannot read the file '" + path + "'";
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::u8path(path), ec))
        return Failure{cannot + ": it is a folder, not a file"};
    p.file_.reset(std::fopen(path.c_str(), "rb"));
    if (!p.file_) return Failure{cannot};
    p.name_ = path;
    return p;
}

Status PointFile::read(std::size_t blockSize, const PointBlockSink& sink) {
    std::vector<char> buffer(ReadBlockBytes);
    std::FILE* f = file_.get();
    int error = 0;
    Status read = readPointBlocks(
        [&](std::string_view& block) {
            const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
            if (n == 0 && std::ferror(f)) {
                error = errno;
                return false;
            }
            block = std::string_view(buffer.data(), n);
            return true;
        },
        name_, blockSize, sink);
    if (!read && error != 0) return Failure{read.error() + ": " + std::strerror(error)};
    return read;
}

}  // namespace orvek
