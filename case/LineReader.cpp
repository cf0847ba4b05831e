#include "case/LineReader.h"

#include <algorithm>

namespace orvek {

bool LineReader::firstBlock(std::string_view& first) {
    if (block_.empty() && !fill()) return false;
    first = block_;
    return true;
}

void LineReader::skip(std::size_t count) { block_.remove_prefix(std::min(count, block_.size())); }

LineReader::Got LineReader::next(std::string& line) {
    line.clear();
    if (emptyLinesDue_ > 0) {
        --emptyLinesDue_;
        return Got::Line;
    }
    bool started = false;
    while (true) {
        const int c = take();
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
        if (line.size() >= maxLineLength_) return Got::TooLong;
        line += static_cast<char>(c);
    }
}

bool LineReader::fill() {
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

int LineReader::peekByte() {
    if (block_.empty()) {
        if (failed_ || !fill()) return ReadError;
        if (block_.empty()) return EndOfStream;
    }
    return static_cast<unsigned char>(block_.front());
}

int LineReader::take() {
    const int c = peekByte();
    if (c >= 0) block_.remove_prefix(1);
    return c;
}

}  // namespace orvek
