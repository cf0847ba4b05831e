#include "case/TextNumber.h"

#include "case/DecimalText.h"

#include <string>

namespace orvek {

std::string packedNumberText(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') packed += c;
    }
    return packed;
}

double textNumber(std::string_view text) { return readDecimalPrefix(packedNumberText(text), "EeDd").value; }

std::optional<double> typedNumber(std::string_view text) {
    std::string packed = packedNumberText(text);
    for (char& c : packed) {
        if (c == ',') c = '.';
    }
    const DecimalPrefix number = readDecimalPrefix(packed, "EeDd");
    if (packed.empty() || number.length != packed.size()) return std::nullopt;
    return number.value;
}

}  // namespace orvek
