#include "export/CsvWriter.h"

#include "solver/ShortestText.h"

#include <string>

namespace orvek {

void CsvWriter::separate() {
    if (lineStarted_) out_ << ',';
    lineStarted_ = true;
}

void CsvWriter::header(std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) field(name);
    endLine();
}

CsvWriter& CsvWriter::field(double number) {
    separate();
    out_ << shortestText(number == 0.0 ? 0.0 : number);
    return *this;
}

CsvWriter& CsvWriter::field(std::size_t whole) {
    separate();
    out_ << std::to_string(whole);
    return *this;
}

CsvWriter& CsvWriter::field(std::string_view text) {
    separate();
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out_ << text;
        return *this;
    }
    out_ << '"';
    for (char c : text) {
        if (c == '"') out_ << '"';
        out_ << c;
    }
    out_ << '"';
    return *this;
}

CsvWriter& CsvWriter::emptyField() {
    separate();
    return *this;
}

void CsvWriter::endLine() {
    out_ << '\n';
    lineStarted_ = false;
}

}  // namespace orvek
