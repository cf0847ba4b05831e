// Fuzzes the strict decimal reader used for catalogue fields and command-line numbers: it accepts
// a text only when the whole of it is one decimal number, and then its value is exactly what the
// C library reads from it.

#include "case/DecimalText.h"

#include <cctype>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = orvek::parseWholeDecimal(text);
    if (!value) return 0;
    // Only signs, digits, one point and an E exponent are ever accepted.
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && std::strchr("+-.eE", c) == nullptr) std::abort();
    }
    std::setlocale(LC_NUMERIC, "C");
    char* end = nullptr;
    const double expected = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) std::abort();
    if (std::memcmp(&expected, &*value, sizeof expected) != 0) std::abort();
    return 0;
}
