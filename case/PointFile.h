#pragma once
// A file of points in the plane, as `orvek-batch field --points` reads it: one point per line,
// "x,y" or "x y" (blanks or a comma between, numbers with a point as decimal separator). Blank
// lines and lines starting with # are skipped; a first line naming the columns ("x,y", "X Y",
// "x, y", in any case) is a header; a UTF-8 byte-order mark is skipped; LF, CR LF and a lone CR
// end a line. The text is untrusted: it is read a block at a time, a line is at most
// MaxPointLineLength bytes, and a message quotes at most a short excerpt of a bad line with its
// control characters escaped, so neither memory nor a message grows with the input.

#include "case/LineReader.h"
#include "solver/Expected.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orvek {

// The longest line of a point file, line end excluded: two numbers of any reasonable length.
inline constexpr std::size_t MaxPointLineLength = 4096;

// Receives the points in the file's order, a block of `count` at a time.
using PointBlockSink = std::function<void(const double* x, const double* y, std::size_t count)>;

// Reads every point, handing them on in blocks of at most `blockSize`. Fails, naming `name` and
// the line number in a sentence, at the first line that is no point (or is too long, or holds a
// number that is not finite), or when the stream cannot be read; the points of the lines before
// have then been handed on.
Status readPointBlocks(const BlockSource& source, std::string_view name, std::size_t blockSize,
                       const PointBlockSink& sink);

// A point file opened for reading: a file, or standard input for "-".
class PointFile {
public:
    // Fails for a folder ("cannot read the file 'PATH': it is a folder, not a file") and for a
    // file that cannot be opened ("cannot read the file 'PATH'").
    static Expected<PointFile> open(const std::string& path);

    // How messages name it: the path, or "standard input".
    const std::string& name() const { return name_; }
    // Reads it as readPointBlocks does.
    Status read(std::size_t blockSize, const PointBlockSink& sink);

private:
    struct Closer {
        void operator()(std::FILE* f) const;
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::string name_;
};

// `text` for a message in at most `maxBytes` bytes (cut at a character's start, "..." added),
// control characters and bytes that are no UTF-8 written as \r, \t, \n or \xHH.
std::string quotedExcerpt(std::string_view text, std::size_t maxBytes);

}  // namespace orvek
