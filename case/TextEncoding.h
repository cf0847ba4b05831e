#pragma once
// How a text file is written, as far as the catalogue reader needs to know: plain 8-bit text
// (UTF-8 or Windows-1252), UTF-16, or no text at all.

#include <string>
#include <string_view>

namespace orvek {

enum class Encoding { Text, Utf16, Binary };

// Judged by the first line alone (its first 512 bytes), since what follows it may be anything:
// a UTF-16 byte-order mark, or zero bytes all on one side of each byte pair, is UTF-16; other zero
// bytes are no text.
Encoding encodingOf(std::string_view start);

// Decodes one line for display: as UTF-8 where it is valid UTF-8, as Windows-1252 otherwise.
std::string displayText(std::string_view line);

}  // namespace orvek
