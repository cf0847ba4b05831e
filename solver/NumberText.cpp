#include "solver/NumberText.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace orvek {

namespace portable {

namespace {

// The locale's decimal point in a text printf wrote, or strtod is to read, swapped for the other.
void swapPoint(std::string& text, const char* from, const char* to) {
    if (std::strcmp(from, to) == 0) return;
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, std::strlen(from), to);
}

const char* localePoint() {
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && *point != '\0' ? point : ".";
}

// printf's conversion of the value, with a point whatever the locale.
std::string printed(const char* pattern, int precision, double value) {
    const int length = std::snprintf(nullptr, 0, pattern, precision, value);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, precision, value);
    text.pop_back();
    swapPoint(text, localePoint(), ".");
    return text;
}

// strtod on a text of the general format (point, digits, exponent), whatever the locale.
double parsed(std::string text) {
    swapPoint(text, ".", localePoint());
    return std::strtod(text.c_str(), nullptr);
}

std::to_chars_result copied(char* first, char* last, const std::string& text) {
    if (static_cast<std::size_t>(last - first) < text.size()) return {last, std::errc::value_too_large};
    std::copy(text.begin(), text.end(), first);
    return {first + text.size(), std::errc()};
}

std::string nonFinite(double value) {
    return std::string(std::signbit(value) ? "-" : "") + (std::isnan(value) ? "nan" : "inf");
}

// A positive finite value as the fewest decimal digits that read back as it: the digits, no
// trailing zeros, and the decimal exponent of the first one.
struct Digits {
    std::string digits;
    int exponent = 0;
};

// M * 10^(exponent - P + 1) for a mantissa of P digits, as strtod reads it.
double valueOf(std::uint64_t mantissa, int digitCount, int exponent) {
    return parsed(std::to_string(mantissa) + "e" + std::to_string(exponent - digitCount + 1));
}

Digits shortestDigits(double value) {
    for (int count = 1; count <= 17; ++count) {
        // The nearest decimal of `count` digits, from printf's correctly rounded "d.ddde+XX".
        const std::string text = printed("%.*e", count - 1, value);
        const std::size_t e = text.find('e');
        std::string digits = text.substr(0, 1) + (e > 2 ? text.substr(2, e - 2) : std::string());
        int exponent = std::atoi(text.c_str() + e + 1);
        std::uint64_t mantissa = std::strtoull(digits.c_str(), nullptr, 10);
        bool found = parsed(text) == value;
        // Just above a power of two the doubles below lie twice as close, so the nearest decimal
        // can miss while its neighbour on the other side reads back.
        std::uint64_t power = 1;
        for (int k = 1; k < count; ++k) power *= 10;
        for (int side = 0; !found && side < 2; ++side) {
            std::uint64_t m = mantissa;
            int x = exponent;
            if (side == 0) {
                if (++m == power * 10) {
                    m = power;
                    ++x;
                }
            } else {
                if (--m < power) {
                    m = power * 10 - 1;
                    --x;
                }
            }
            if (m != 0 && valueOf(m, count, x) == value) {
                mantissa = m;
                exponent = x;
                found = true;
            }
        }
        if (found) {
            digits = std::to_string(mantissa);
            while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
            return {digits, exponent};
        }
    }
    return {};  // not reached: 17 digits always read back
}

std::string scientificText(const Digits& d) {
    std::string text = d.digits.substr(0, 1);
    if (d.digits.size() > 1) text += "." + d.digits.substr(1);
    const int magnitude = d.exponent < 0 ? -d.exponent : d.exponent;
    text += d.exponent < 0 ? "e-" : "e+";
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
    return text;
}

std::string fixedText(const Digits& d) {
    const std::size_t length = d.digits.size();
    if (d.exponent < 0) return "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    const auto whole = static_cast<std::size_t>(d.exponent) + 1;
    if (length <= whole) return d.digits + std::string(whole - length, '0');
    return d.digits.substr(0, whole) + "." + d.digits.substr(whole);
}

// The shortest text of a value: in scientific notation, or the shorter of fixed and scientific
// (fixed on a tie).
std::string shortestText(double value, bool scientificOnly) {
    if (!std::isfinite(value)) return nonFinite(value);
    const std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0.0) return sign + (scientificOnly ? "0e+00" : "0");
    const Digits d = shortestDigits(std::fabs(value));
    if (scientificOnly) return sign + scientificText(d);
    std::string scientific = scientificText(d);
    const std::string fixed = fixedText(d);
    if (scientific.size() < fixed.size()) return sign + scientific;
    // A whole number in fixed notation needs no decimals, and with none it is written exactly
    // (2^55 is "36028797018963968", not its 16 shortest digits padded with a zero).
    if (d.exponent + 1 >= static_cast<int>(d.digits.size())) return printed("%.*f", 0, value);
    return sign + fixed;
}

bool startsWithWord(const char* p, const char* last, const char* word) {
    for (; *word != '\0'; ++p, ++word) {
        if (p == last || (*p | 0x20) != *word) return false;
    }
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::to_chars_result doubleToChars(char* first, char* last, double value) {
    return copied(first, last, shortestText(value, false));
}

std::to_chars_result shortestScientificToChars(char* first, char* last, double value) {
    return copied(first, last, shortestText(value, true));
}

std::to_chars_result doubleToChars(char* first, char* last, double value, std::chars_format format, int precision) {
    if (!std::isfinite(value)) return copied(first, last, nonFinite(value));
    const char* pattern = format == std::chars_format::fixed        ? "%.*f"
                          : format == std::chars_format::scientific ? "%.*e"
                                                                    : "%.*g";
    return copied(first, last, printed(pattern, precision, value));
}

std::from_chars_result charsToDouble(const char* first, const char* last, double& value) {
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (negative) ++p;
    if (startsWithWord(p, last, "inf")) {
        p += startsWithWord(p, last, "infinity") ? 8 : 3;
        value = negative ? -HUGE_VAL : HUGE_VAL;
        return {p, std::errc()};
    }
    if (startsWithWord(p, last, "nan")) {
        p += 3;
        // "nan(chars)": letters, digits and underscores between the brackets.
        if (p != last && *p == '(') {
            const char* q = p + 1;
            while (q != last && (isDigit(*q) || *q == '_' || ((*q | 0x20) >= 'a' && (*q | 0x20) <= 'z'))) ++q;
            if (q != last && *q == ')') p = q + 1;
        }
        value = negative ? -std::nan("") : std::nan("");
        return {p, std::errc()};
    }
    const char* digitsStart = p;
    bool nonZero = false;
    std::size_t digitCount = 0;
    for (; p != last && isDigit(*p); ++p, ++digitCount) nonZero = nonZero || *p != '0';
    if (p != last && *p == '.') {
        for (++p; p != last && isDigit(*p); ++p, ++digitCount) nonZero = nonZero || *p != '0';
    }
    if (digitCount == 0) return {first, std::errc::invalid_argument};
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != last && (*q == '+' || *q == '-')) ++q;
        if (q != last && isDigit(*q)) {
            while (q != last && isDigit(*q)) ++q;
            p = q;
        }
    }
    const double magnitude = parsed(std::string(digitsStart, p));
    if (std::isinf(magnitude) || (magnitude == 0.0 && nonZero)) return {p, std::errc::result_out_of_range};
    value = negative ? -magnitude : magnitude;
    return {p, std::errc()};
}

}  // namespace portable

#if defined(__cpp_lib_to_chars)

std::to_chars_result doubleToChars(char* first, char* last, double value) { return std::to_chars(first, last, value); }

std::to_chars_result shortestScientificToChars(char* first, char* last, double value) {
    return std::to_chars(first, last, value, std::chars_format::scientific);
}

std::to_chars_result doubleToChars(char* first, char* last, double value, std::chars_format format, int precision) {
    return std::to_chars(first, last, value, format, precision);
}

std::from_chars_result charsToDouble(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::general);
}

#else

std::to_chars_result doubleToChars(char* first, char* last, double value) {
    return portable::doubleToChars(first, last, value);
}

std::to_chars_result shortestScientificToChars(char* first, char* last, double value) {
    return portable::shortestScientificToChars(first, last, value);
}

std::to_chars_result doubleToChars(char* first, char* last, double value, std::chars_format format, int precision) {
    return portable::doubleToChars(first, last, value, format, precision);
}

std::from_chars_result charsToDouble(const char* first, const char* last, double& value) {
    return portable::charsToDouble(first, last, value);
}

#endif

}  // namespace orvek
