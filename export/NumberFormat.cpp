#include "export/NumberFormat.h"

#include "solver/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <system_error>

namespace orvek {

namespace {

// Fixed notation with exactly `decimals` places, rounded from the exact binary value, so an
// exact half goes to the even neighbour.
std::string fixedText(double value, int decimals) {
    char buf[400];
    auto [end, ec] = doubleToChars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

// True when `value` lies exactly halfway between two multiples of 10^-decimals. A double can only
// do that when value * 2^(decimals+1) is an odd whole number.
bool isExactHalf(double value, int decimals) {
    double scaled = std::ldexp(value, decimals + 1);
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9007199254740992.0) return false;
    return scaled == std::floor(scaled) && std::fmod(std::fabs(scaled), 2.0) == 1.0;
}

// Fixed notation rounded half away from zero: an exact half is nudged off the tie outward.
std::string fixedHalfAway(double value, int decimals) {
    if (isExactHalf(value, decimals)) value = std::nextafter(value, value > 0 ? HUGE_VAL : -HUGE_VAL);
    return fixedText(value, decimals);
}

// A minus sign in front of a text that rounded to zero ("-0.00") is dropped.
void dropSignOfZero(std::string& s) {
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
}

void replacePoint(std::string& s, char separator) {
    if (separator == '.') return;
    std::size_t p = s.find('.');
    if (p != std::string::npos) s[p] = separator;
}

// Plain decimal notation of a non-negative value from its scientific text "d.ddde[+-]XX" (or
// "de[+-]XX"): the digits moved about the point, no exponent, no trailing zero decimals.
std::string plainFromScientific(const std::string& s) {
    std::size_t e = s.find('e');
    int exponent = std::atoi(s.c_str() + e + 1);
    std::string digits = s.substr(0, 1) + (e > 2 ? s.substr(2, e - 2) : std::string());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (exponent < 0) return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) return digits + std::string(integerDigits - digits.size(), '0');
    return digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}

// Plain decimal notation of a non-negative value at no more than 15 significant digits.
std::string plainDecimal(double value) {
    if (value == 0) return "0";
    char buf[64];
    auto [end, ec] = doubleToChars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    if (ec != std::errc()) return "0";
    return plainFromScientific(std::string(buf, end));
}

// Plain decimal notation of a non-negative value with the fewest digits that read back as it.
std::string plainShortest(double value) {
    if (value == 0) return "0";
    char buf[64];
    auto [end, ec] = shortestScientificToChars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return "0";
    return plainFromScientific(std::string(buf, end));
}

}  // namespace

std::string roundedDisplayText(double value, int decimals) {
    std::string s = fixedText(value, decimals);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    dropSignOfZero(s);
    return s;
}

double roundHalfEven(double value, int decimals) {
    std::string s = fixedText(value, decimals);
    double rounded = 0;
    const char* first = s.c_str();
    if (*first == '-') ++first;
    charsToDouble(first, s.c_str() + s.size(), rounded);
    return s[0] == '-' ? -rounded : rounded;
}

void appendFiveDecimals(std::string& out, double value, char separator) {
    // Fast exact path: the scaled value is rounded correctly whenever it lies clearly away from
    // a half; only near-ties and huge values take the exact decimal expansion.
    double scaled = std::fabs(value) * 100000.0;
    if (scaled < 4.0e15) {
        double whole = std::floor(scaled);
        double fraction = scaled - whole;
        // The product's rounding error is at most half an ulp of `scaled`, below 1.2e-16 * scaled.
        const double margin = 4.0e-16 * (scaled > 1.0 ? scaled : 1.0);
        if (std::fabs(fraction - 0.5) > margin) {
            auto n = static_cast<std::uint64_t>(fraction > 0.5 ? whole + 1 : whole);
            if (value < 0 && n != 0) out += '-';
            char buf[32];
            auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n / 100000);
            (void)ec;
            out.append(buf, end);
            out += separator;
            auto f = static_cast<unsigned>(n % 100000);
            char digits[5];
            for (int k = 4; k >= 0; --k, f /= 10) digits[k] = static_cast<char>('0' + f % 10);
            out.append(digits, 5);
            return;
        }
    }
    std::string s = fixedHalfAway(value, 5);
    dropSignOfZero(s);
    replacePoint(s, separator);
    out += s;
}

std::string optionalDecimals(double value, int decimals, char separator) {
    std::string s = fixedHalfAway(value, decimals);
    if (s.find('.') == std::string::npos) s += '.';
    while (s.back() == '0') s.pop_back();
    dropSignOfZero(s);
    replacePoint(s, separator);
    return s;
}

std::string numberItem(double value, char separator) {
    std::string s = value < 0 ? "-" : " ";
    std::string digits = plainDecimal(std::fabs(value));
    replacePoint(digits, separator);
    s += digits;
    s += ' ';
    return s;
}

std::string angleItem(double value, char separator) {
    // A whole angle (and a value that is no number) keeps the rounded item it always had.
    if (!std::isfinite(value) || value == std::trunc(value)) return numberItem(roundHalfEven(value, 0), separator);
    std::string s = value < 0 ? "-" : " ";
    std::string digits = plainShortest(std::fabs(value));
    replacePoint(digits, separator);
    s += digits;
    s += ' ';
    return s;
}

void appendShortest(std::string& out, double value) {
    char buf[32];
    const auto r = doubleToChars(buf, buf + sizeof buf, value == 0.0 ? 0.0 : value);
    out.append(buf, r.ptr);
}

std::string roundTripText(double value) {
    char buf[64];
    auto [end, ec] = doubleToChars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

}  // namespace orvek
