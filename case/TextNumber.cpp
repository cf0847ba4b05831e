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

}  // namespace orvek
