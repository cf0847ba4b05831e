#pragma once
// The one JSON writer of the program: every JSON output of orvek-batch goes through it. It writes
// as it goes (nothing is built up in memory), quotes every text as valid UTF-8 and never writes a
// number JSON has no form for.

#include "export/TextOutput.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace orvek {

class JsonWriter {
public:
    // How numbers are written: the shortest text that reads back unchanged (a negative zero as
    // 0), or always 17 significant digits.
    enum class Numbers { Shortest, SeventeenDigits };
    // How the items of an object or array are separated: ", " or "," (long arrays of numbers).
    enum class Spacing { Spaced, Tight };

    explicit JsonWriter(TextOutput& out, Numbers numbers = Numbers::Shortest) : out_(out), numbers_(numbers) {}

    JsonWriter& beginObject(Spacing spacing = Spacing::Spaced);
    JsonWriter& endObject();
    JsonWriter& beginArray(Spacing spacing = Spacing::Spaced);
    JsonWriter& endArray();
    // The name of the object member whose value comes next.
    JsonWriter& key(std::string_view name);
    // A number; one that is not finite (infinite, not a number) has no JSON form and is written as
    // null, though callers refuse such values before any output.
    JsonWriter& value(double number);
    JsonWriter& value(std::size_t whole);
    // A text, quoted; bytes that are not valid UTF-8 become U+FFFD.
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& null();
    // true or false.
    JsonWriter& boolean(bool b);
    // The next item, or the closing bracket, starts on a new line with this indentation.
    JsonWriter& lineBreak(std::string_view indent);
    // Ends the document with a line end.
    void finish() { out_ << '\n'; }

private:
    void beforeItem();
    void closeContainer(char bracket);

    struct Level {
        Spacing spacing;
        bool empty = true;
    };
    TextOutput& out_;
    Numbers numbers_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
    bool breakDue_ = false;
    std::string_view indent_;
};

// Writes `text` as a quoted JSON string: quotes, backslashes and control characters escaped, bytes
// that are not valid UTF-8 replaced by U+FFFD.
void writeJsonString(TextOutput& out, std::string_view text);

}  // namespace orvek
