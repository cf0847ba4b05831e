#pragma once
// UTF-8 as the program's files and outputs use it.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvek {

// The length of the valid UTF-8 sequence that starts at text[i], or 0 when none does (a stray
// continuation byte, a cut sequence, an overlong form, a surrogate, a code point beyond Unicode).
std::size_t utf8SequenceLength(std::string_view text, std::size_t i);

// Whether the whole text is valid UTF-8.
bool isValidUtf8(std::string_view text);

// Appends the code point (below U+10000) in UTF-8.
void appendUtf8(std::string& out, unsigned codePoint);

}  // namespace orvek
