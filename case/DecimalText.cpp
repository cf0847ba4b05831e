#include "case/DecimalText.h"

#include "solver/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace orvek {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Significant digits kept for the conversion. A double is decided by at most 767 significant
// digits; beyond those only whether anything non-zero follows matters, which one extra digit 1
// keeps, so the rounding is exact for numbers of any length.
constexpr std::size_t KeptDigits = 800;

// A decimal scale this far from zero is beyond every double (the smallest is about 4.9e-324, the
// largest about 1.8e308), so the value saturates without any arithmetic.
constexpr long long SaturatedScale = 1000;

// The exponent's digits are counted up to this size and no further: far beyond the number of
// digits any text in memory can hold, so a saturated exponent still outweighs every digit count.
constexpr long long ExponentCap = 1'000'000'000'000'000'000LL;

// Converts a syntactically valid number given as its parts: the digits before and after the
// point, the exponent's sign and digits. The value is 0.d1d2d3... x 10^scale with d1 the first
// non-zero digit; the exponent is counted with saturation, so neither a long digit string nor a
// long exponent can overflow the scale, and a scale beyond the range of a double gives 0 or
// infinity by its sign. In range, charsToDouble (locale-independent, correctly rounded) does the conversion.
double convert(bool negative, std::string_view integerDigits, std::string_view fractionDigits, bool exponentNegative,
               std::string_view exponentDigits) {
    long long exponent = 0;
    for (char c : exponentDigits) {
        if (exponent < ExponentCap / 10) exponent = exponent * 10 + (c - '0');
    }
    if (exponentNegative) exponent = -exponent;

    // Leading zeros of the integer part carry nothing; leading zeros of the fraction lower the scale.
    while (!integerDigits.empty() && integerDigits.front() == '0') integerDigits.remove_prefix(1);
    long long scale = 0;
    std::string digits;
    digits.reserve(KeptDigits + 1);
    bool truncated = false;
    auto keep = [&](char c) {
        if (digits.size() < KeptDigits) digits += c;
        else if (c != '0') truncated = true;
    };
    if (!integerDigits.empty()) {
        scale = static_cast<long long>(integerDigits.size());
        for (char c : integerDigits) keep(c);
        for (char c : fractionDigits) keep(c);
    } else {
        std::size_t zeros = 0;
        while (zeros < fractionDigits.size() && fractionDigits[zeros] == '0') ++zeros;
        fractionDigits.remove_prefix(zeros);
        scale = -static_cast<long long>(zeros);
        for (char c : fractionDigits) keep(c);
    }
    // The digits dropped held a non-zero one: a 1 right after the kept digits stands for them (the
    // kept digits' trailing zeros stay, so that it keeps its place).
    if (truncated) digits += '1';
    else
        while (!digits.empty() && digits.back() == '0') digits.pop_back();

    double value = 0.0;
    if (!digits.empty()) {
        const long long total = scale + exponent;
        if (total > SaturatedScale) {
            value = std::numeric_limits<double>::infinity();
        } else if (total >= -SaturatedScale) {
            std::string text = "0." + digits + "e" + std::to_string(total);
            const auto [ptr, ec] = charsToDouble(text.data(), text.data() + text.size(), value);
            (void)ptr;
            // Out of range here means beyond the largest double (a positive scale) or below the
            // smallest (a negative one).
            if (ec == std::errc::result_out_of_range) value = total > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        }
    }
    return negative ? -value : value;
}

}  // namespace

DecimalPrefix readDecimalPrefix(std::string_view text, std::string_view exponentLetters) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t integerStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    const std::string_view integerDigits = text.substr(integerStart, i - integerStart);
    std::string_view fractionDigits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < text.size() && isDigit(text[i])) ++i;
        fractionDigits = text.substr(fractionStart, i - fractionStart);
    }
    if (integerDigits.empty() && fractionDigits.empty()) return {};  // a lone sign or point is no number
    std::size_t end = i;
    bool exponentNegative = false;
    std::string_view exponentDigits;
    // An exponent counts only when at least one digit follows its letter and optional sign.
    if (i < text.size() && exponentLetters.find(text[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        bool minus = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) minus = text[j++] == '-';
        const std::size_t exponentStart = j;
        while (j < text.size() && isDigit(text[j])) ++j;
        if (j > exponentStart) {
            exponentNegative = minus;
            exponentDigits = text.substr(exponentStart, j - exponentStart);
            end = j;
        }
    }
    return {end, convert(negative, integerDigits, fractionDigits, exponentNegative, exponentDigits)};
}

std::optional<double> parseWholeDecimal(std::string_view text) {
    DecimalPrefix p = readDecimalPrefix(text, "Ee");
    if (p.length == 0 || p.length != text.size()) return std::nullopt;
    return p.value;
}

}  // namespace orvek
