#include "case/DecimalText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace orvek {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Converts a syntactically valid number: sign, digits, optional point, digits, optional
// exponent already normalised to 'e'. from_chars is locale-independent; on overflow and
// underflow it reports out of range, which we turn into infinity or zero by the exponent's sign.
double convert(const std::string& s) {
    std::string_view v = s;
    bool negative = false;
    if (!v.empty() && (v[0] == '+' || v[0] == '-')) {
        negative = v[0] == '-';
        v.remove_prefix(1);
    }
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal magnitude: integer digits
        // (without leading zeros) plus the exponent, or minus the leading fraction zeros.
        std::size_t e = v.find('e');
        std::string_view mant = v.substr(0, e);
        long exponent = 0;
        if (e != std::string_view::npos) {
            std::string_view ex = v.substr(e + 1);
            bool expNegative = !ex.empty() && ex[0] == '-';
            if (!ex.empty() && (ex[0] == '+' || ex[0] == '-')) ex.remove_prefix(1);
            for (char c : ex) {
                if (exponent < 100000) exponent = exponent * 10 + (c - '0');
            }
            if (expNegative) exponent = -exponent;
        }
        long magnitude = 0;
        bool seenNonZero = false;
        bool afterPoint = false;
        for (char c : mant) {
            if (c == '.') { afterPoint = true; continue; }
            if (!seenNonZero) {
                if (c != '0') { seenNonZero = true; if (!afterPoint) ++magnitude; }
                else if (afterPoint) --magnitude;
            } else if (!afterPoint) {
                ++magnitude;
            }
        }
        value = (seenNonZero && magnitude + exponent > 0) ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

}  // namespace

DecimalPrefix readDecimalPrefix(std::string_view text, std::string_view exponentLetters) {
    std::size_t i = 0;
    std::string normalised;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normalised += text[i++];
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) { normalised += text[i++]; ++digits; }
    if (i < text.size() && text[i] == '.') {
        normalised += text[i++];
        while (i < text.size() && isDigit(text[i])) { normalised += text[i++]; ++digits; }
    }
    if (digits == 0) return {};  // a lone sign or point is no number
    std::size_t end = i;
    // An exponent counts only when at least one digit follows its letter and optional sign.
    if (i < text.size() && exponentLetters.find(text[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        std::size_t expDigits = 0;
        while (j < text.size() && isDigit(text[j])) { exponent += text[j++]; ++expDigits; }
        if (expDigits > 0) {
            normalised += exponent;
            end = j;
        }
    }
    return {end, convert(normalised)};
}

std::optional<double> parseWholeDecimal(std::string_view text) {
    DecimalPrefix p = readDecimalPrefix(text, "Ee");
    if (p.length == 0 || p.length != text.size()) return std::nullopt;
    return p.value;
}

}  // namespace orvek
