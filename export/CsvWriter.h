#pragma once
// One CSV line at a time, written as it goes: comma-separated fields, LF line ends, a point as
// decimal separator whatever the locale.

#include "export/TextOutput.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace orvek {

class CsvWriter {
public:
    explicit CsvWriter(TextOutput& out) : out_(out) {}

    // A header line of these names.
    void header(std::initializer_list<std::string_view> names);
    // A number in the shortest text that reads back unchanged (a negative zero as 0).
    CsvWriter& field(double number);
    CsvWriter& field(std::size_t whole);
    // A text, quoted when it holds a comma, a quote or a line break.
    CsvWriter& field(std::string_view text);
    CsvWriter& field(const char* text) { return field(std::string_view(text)); }
    CsvWriter& emptyField();
    void endLine();

private:
    void separate();

    TextOutput& out_;
    bool lineStarted_ = false;
};

}  // namespace orvek
