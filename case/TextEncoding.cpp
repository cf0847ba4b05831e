#include "case/TextEncoding.h"

#include "export/Utf8.h"

#include <cstddef>

namespace orvek {

namespace {

// Windows-1252 for 0x80..0x9F; its five unassigned bytes keep their C1 code points.
constexpr unsigned short Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

Encoding encodingOf(std::string_view start) {
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

std::string displayText(std::string_view line) {
    if (isValidUtf8(line)) return std::string(line);
    std::string out;
    out.reserve(line.size() * 2);
    for (char ch : line) {
        const auto c = static_cast<unsigned char>(ch);
        appendUtf8(out, c >= 0x80 && c <= 0x9F ? Cp1252High[c - 0x80] : c);
    }
    return out;
}

}  // namespace orvek
