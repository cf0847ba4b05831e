#include "export/JsonWriter.h"

#include "export/NumberFormat.h"
#include "export/Utf8.h"

#include <cmath>
#include <string>

namespace orvek {

void writeJsonString(TextOutput& out, std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    out << '"';
    std::size_t plainFrom = 0;
    const auto flushPlain = [&](std::size_t upTo) {
        if (upTo > plainFrom) out << text.substr(plainFrom, upTo - plainFrom);
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t n = utf8SequenceLength(text, i);
            if (n == 0) {
                flushPlain(i);
                out << "\xEF\xBF\xBD";  // U+FFFD REPLACEMENT CHARACTER
                plainFrom = ++i;
            } else {
                i += n;
            }
            continue;
        }
        if (c == '"' || c == '\\' || c < 0x20) {
            flushPlain(i);
            if (c < 0x20) {
                const char escape[] = {'\\', 'u', '0', '0', Hex[c >> 4], Hex[c & 0xF]};
                out << std::string_view(escape, sizeof escape);
            } else {
                out << '\\' << static_cast<char>(c);
            }
            plainFrom = i + 1;
        }
        ++i;
    }
    flushPlain(text.size());
    out << '"';
}

void JsonWriter::beforeItem() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!levels_.empty()) {
        Level& level = levels_.back();
        if (!level.empty) out_ << ',';
        if (breakDue_) {
            out_ << '\n' << indent_;
        } else if (!level.empty && level.spacing == Spacing::Spaced) {
            out_ << ' ';
        }
        level.empty = false;
    }
    breakDue_ = false;
}

void JsonWriter::closeContainer(char bracket) {
    if (breakDue_) out_ << '\n' << indent_;
    breakDue_ = false;
    out_ << bracket;
    levels_.pop_back();
}

JsonWriter& JsonWriter::beginObject(Spacing spacing) {
    beforeItem();
    out_ << '{';
    levels_.push_back({spacing});
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    closeContainer('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray(Spacing spacing) {
    beforeItem();
    out_ << '[';
    levels_.push_back({spacing});
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    closeContainer(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeItem();
    writeJsonString(out_, name);
    out_ << ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    beforeItem();
    if (!std::isfinite(number)) {
        out_ << "null";
    } else if (numbers_ == Numbers::Shortest) {
        out_ << shortestText(number == 0.0 ? 0.0 : number);
    } else {
        out_ << roundTripText(number);
    }
    return *this;
}

JsonWriter& JsonWriter::value(std::size_t whole) {
    beforeItem();
    out_ << std::to_string(whole);
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeItem();
    writeJsonString(out_, text);
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeItem();
    out_ << "null";
    return *this;
}

JsonWriter& JsonWriter::boolean(bool b) {
    beforeItem();
    out_ << (b ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::lineBreak(std::string_view indent) {
    breakDue_ = true;
    indent_ = indent;
    return *this;
}

}  // namespace orvek
