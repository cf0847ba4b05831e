#include "case/Catalogue.h"

#include "case/DecimalText.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

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

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool isBlankLine(std::string_view s) { return trimBlanks(s).empty(); }

// Hands out the next block of the file's bytes: false on a read error, an empty block at the end.
using BlockSource = std::function<bool(std::string_view& block)>;

// Splits a stream of bytes into lines, one at a time, holding no more than one line of at most
// MaxCatalogueLineLength bytes. LF, CR LF and a lone CR end a line; CRs directly before an LF
// belong to that line end (CR CR LF, as a CR LF file written once more in text mode has it).
class LineReader {
public:
    enum class Got { Line, TooLong, End, Error };

    explicit LineReader(BlockSource source) : source_(std::move(source)) {}

    // The stream's first block, without taking it: what the encoding is judged by. The file source
    // hands out full blocks, so this is the first 64 KiB or the whole of a smaller file.
    bool firstBlock(std::string_view& first) {
        if (block_.empty() && !fill()) return false;
        first = block_;
        return true;
    }

    // Drops `count` bytes from the front (a byte-order mark); they must have been peeked.
    void skip(std::size_t count) { block_.remove_prefix(std::min(count, block_.size())); }

    Got next(std::string& line) {
        line.clear();
        if (emptyLinesDue_ > 0) {
            --emptyLinesDue_;
            return Got::Line;
        }
        bool started = false;
        while (true) {
            int c = take();
            if (c == ReadError) return Got::Error;
            if (c == EndOfStream) return started ? Got::Line : Got::End;
            started = true;
            if (c == '\n') return Got::Line;
            if (c == '\r') {
                // Count the CRs that follow; an LF after them makes the whole run one line end.
                std::size_t crs = 1;
                int after = peekByte();
                while (after == '\r' && crs < MaxCrRun) {
                    take();
                    ++crs;
                    after = peekByte();
                }
                if (after == ReadError) return Got::Error;
                if (after == '\n') take();
                else emptyLinesDue_ = crs - 1;  // each further lone CR ends an empty line
                return Got::Line;
            }
            if (line.size() >= MaxCatalogueLineLength) return Got::TooLong;
            line += static_cast<char>(c);
        }
    }

private:
    static constexpr int EndOfStream = -1;
    static constexpr int ReadError = -2;
    // Longer runs of CR are no line end of a text file; they are read as lone CRs a few at a time,
    // so the reader never runs through a file of CRs.
    static constexpr std::size_t MaxCrRun = 64;

    bool fill() {
        if (ended_) return true;
        std::string_view next;
        if (!source_(next)) {
            failed_ = true;
            return false;
        }
        if (next.empty()) ended_ = true;
        block_ = next;
        return true;
    }
    int peekByte() {
        if (block_.empty()) {
            if (failed_ || !fill()) return ReadError;
            if (block_.empty()) return EndOfStream;
        }
        return static_cast<unsigned char>(block_.front());
    }
    int take() {
        int c = peekByte();
        if (c >= 0) block_.remove_prefix(1);
        return c;
    }

    BlockSource source_;
    std::string_view block_;
    bool ended_ = false;
    bool failed_ = false;
    std::size_t emptyLinesDue_ = 0;
};

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
    double* targets[7] = {&row.geometry.Delta, &row.geometry.Gama, &row.geometry.xDltC, &row.geometry.Tau,
                          &row.airfoil.F,      &row.airfoil.G,     &row.airfoil.m};
    for (std::size_t k = 0; k < 7; ++k) {
        std::optional<double> v = parseWholeDecimal(trimBlanks(fields[k]));
        if (!v) return Failure{"field " + std::to_string(k + 1) + " is not a number"};
        if (!std::isfinite(*v)) return Failure{"field " + std::to_string(k + 1) + " is out of range"};
        *targets[k] = *v;
    }
    return {};
}

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(i);
    if (c < 0x80) return 1;
    std::size_t n;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else return 0;
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
constexpr unsigned short Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// How the file's first bytes are written: plain 8-bit text, UTF-16, or no text at all.
enum class Encoding { Text, Utf16, Binary };

Encoding encodingOf(std::string_view start) {
    // Judged by the title line alone (its first 512 bytes): what follows it may be anything.
    start = start.substr(0, 512);
    if (start.size() >= 2 &&
        ((start[0] == '\xFF' && start[1] == '\xFE') || (start[0] == '\xFE' && start[1] == '\xFF'))) {
        return Encoding::Utf16;
    }
    // UTF-16 without a byte-order mark: text in the Latin range has its zero bytes all on one side
    // of each pair (odd places little-endian, even places big-endian) and none on the other.
    const std::size_t lineEnd = start.find_first_of("\r\n");
    // The line end of UTF-16 text has its zero byte next to it: keep that pair whole.
    if (lineEnd != std::string_view::npos) start = start.substr(0, lineEnd + 2);
    std::size_t zeros[2] = {0, 0};
    for (std::size_t k = 0; k < start.size(); ++k) {
        if (start[k] == '\0') ++zeros[k % 2];
    }
    if (zeros[0] + zeros[1] == 0) return Encoding::Text;
    return (zeros[0] == 0) != (zeros[1] == 0) ? Encoding::Utf16 : Encoding::Binary;
}

constexpr std::size_t BlockSize = std::size_t{64} * 1024;

std::string tooLong() { return "the line is longer than " + std::to_string(MaxCatalogueLineLength) + " characters"; }

}  // namespace

// The title, then airfoil lines until the first that is not seven numbers, the 50th airfoil, or
// the end. Nothing beyond the 51st line is ever read.
Expected<Catalogue> readCatalogueBlocks(const BlockSource& source) {
    LineReader reader(source);
    std::string_view first;
    if (!reader.firstBlock(first) || first.empty()) return Failure{CatalogueMissing};
    switch (encodingOf(first)) {
    case Encoding::Utf16: return Failure{CatalogueUtf16};
    case Encoding::Binary: return Failure{CatalogueNotText};
    case Encoding::Text: break;
    }
    if (first.substr(0, 3) == "\xEF\xBB\xBF") reader.skip(3);  // UTF-8 byte-order mark

    Catalogue catalogue;
    std::string line;
    switch (reader.next(line)) {
    case LineReader::Got::Error: return Failure{CatalogueMissing};
    case LineReader::Got::TooLong: catalogue.problem = CatalogueProblem{1, tooLong()}; return catalogue;
    case LineReader::Got::End:
    case LineReader::Got::Line: break;
    }
    catalogue.title = displayText(line);
    const int lastLine = MaxAirfoils + 1;
    for (int lineNumber = 2; lineNumber <= lastLine; ++lineNumber) {
        const LineReader::Got got = reader.next(line);
        if (got == LineReader::Got::Error) return Failure{CatalogueMissing};
        if (got == LineReader::Got::End) break;
        if (got == LineReader::Got::TooLong) {
            catalogue.problem = CatalogueProblem{lineNumber, tooLong()};
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
            if (!onlyBlankLinesFollow) catalogue.problem = CatalogueProblem{lineNumber, parsed.error()};
            break;
        }
        row.text = displayText(line);
        catalogue.rows.push_back(std::move(row));
    }
    return catalogue;
}

std::string CatalogueProblem::message() const {
    return std::string(CatalogueFileName) + ", line " + std::to_string(lineNumber) + ": " + what +
           "; the airfoils from this line on were not loaded.";
}

std::string displayText(std::string_view line) {
    bool valid = true;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t n = utf8SequenceLength(line, i);
        if (n == 0) {
            valid = false;
            break;
        }
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
    bool handedOut = false;
    return readCatalogueBlocks([&](std::string_view& block) {
        block = handedOut ? std::string_view() : bytes;
        handedOut = true;
        return true;
    });
}

#ifdef _WIN32

Expected<Catalogue> loadCatalogueFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), error)) return Failure{CatalogueMissing};
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in) return Failure{CatalogueMissing};
    std::vector<char> buffer(BlockSize);
    return readCatalogueBlocks([&](std::string_view& block) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (in.bad()) return false;
        block = std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount()));
        return true;
    });
}

#else

Expected<Catalogue> loadCatalogueFile(const std::string& path) {
    // Non-blocking, so that a pipe of this name with no writer cannot hold the start-up; only a
    // regular file is read, judged on the opened descriptor itself.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Failure{CatalogueMissing};
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return Failure{CatalogueMissing};
    std::vector<char> buffer(BlockSize);
    return readCatalogueBlocks([&](std::string_view& block) {
        // Full blocks until the end, so the first block shows the file's start whole.
        std::size_t filled = 0;
        while (filled < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + filled, buffer.size() - filled);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) break;
            filled += static_cast<std::size_t>(n);
        }
        block = std::string_view(buffer.data(), filled);
        return true;
    });
}

#endif

void storeCatalogue(CaseState& state, const Catalogue& catalogue) {
    state.AirfoilRow[0].text = catalogue.title;
    state.AirfoilCount = static_cast<int>(std::min<std::size_t>(catalogue.rows.size(), MaxAirfoils));
    std::copy_n(catalogue.rows.begin(), state.AirfoilCount, state.AirfoilRow.begin() + 1);
}

}  // namespace orvek
