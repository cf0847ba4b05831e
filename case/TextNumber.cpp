#include "case/TextNumber.h"

#include "case/DecimalText.h"

#include <string>

namespace orvek {

double textNumber(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') packed += c;
    }
    return readDecimalPrefix(packed, "EeDd").value;
}

}  // namespace orvek
