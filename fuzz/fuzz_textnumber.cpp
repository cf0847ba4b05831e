// Fuzzes the typed-number reader. Its value must be exactly what the C library reads from the
// number it took (blanks, tabs and line feeds removed, a D exponent written as E): strtod rounds
// correctly for any number of digits, so any difference is a fault of the reader.

#include "case/DecimalText.h"
#include "case/TextNumber.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = orvek::textNumber(text);
    if (std::isnan(value)) std::abort();

    const std::string packed = orvek::packedNumberText(text);
    if (packed.find_first_of(" \t\n") != std::string::npos) std::abort();
    const orvek::DecimalPrefix prefix = orvek::readDecimalPrefix(packed, "EeDd");
    if (prefix.length == 0) {
        if (value != 0.0) std::abort();
        return 0;
    }
    std::string number = packed.substr(0, prefix.length);
    for (char& c : number) {
        if (c == 'D' || c == 'd') c = 'e';
    }
    std::setlocale(LC_NUMERIC, "C");
    char* end = nullptr;
    const double expected = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size()) std::abort();  // the reader took more than a number
    if (std::memcmp(&expected, &value, sizeof value) != 0) std::abort();
    return 0;
}
