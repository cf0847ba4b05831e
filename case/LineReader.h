#pragma once
// A text stream split into lines, one at a time, holding no more than one line of bounded length
// whatever the stream's size: what the catalogue reader reads its file with.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace orvek {

// Hands out the next block of the stream's bytes: false on a read error, an empty block at the end.
using BlockSource = std::function<bool(std::string_view& block)>;

// LF, CR LF and a lone CR end a line; CRs directly before an LF belong to that line end (CR CR LF,
// as a CR LF file written once more in text mode has it).
class LineReader {
public:
    enum class Got { Line, TooLong, End, Error };

    LineReader(BlockSource source, std::size_t maxLineLength)
        : source_(std::move(source)), maxLineLength_(maxLineLength) {}

    // The stream's first block, without taking it: what the encoding is judged by. The file source
    // hands out full blocks, so this is the first 64 KiB or the whole of a smaller file.
    bool firstBlock(std::string_view& first);

    // Drops `count` bytes from the front (a byte-order mark); they must have been peeked.
    void skip(std::size_t count);

    // The next line without its line end; TooLong for a line longer than the limit (the rest of
    // that line is not read), End after the last line, Error when the stream could not be read.
    Got next(std::string& line);

private:
    static constexpr int EndOfStream = -1;
    static constexpr int ReadError = -2;
    // Longer runs of CR are no line end of a text file; they are read as lone CRs a few at a time,
    // so the reader never runs through a file of CRs.
    static constexpr std::size_t MaxCrRun = 64;

    bool fill();
    int peekByte();
    int take();

    BlockSource source_;
    std::size_t maxLineLength_;
    std::string_view block_;
    bool ended_ = false;
    bool failed_ = false;
    std::size_t emptyLinesDue_ = 0;
};

}  // namespace orvek
