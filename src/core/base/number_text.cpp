#include "number_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vortak {

namespace {

// The %G rule of the C library: exponent form when the exponent of the value rounded to
// `digits` significant digits is below -4 or at least `digits`, trailing zeros removed, at
// least two exponent digits ("1E-05", "1E+100"). std::to_chars with a precision is defined
// as exactly that (with a small "e"), needs no locale, and is many times faster than
// snprintf, which matters when thousands of numbers are written.
std::string formatGeneral(double value, int digits) {
    if (value == 0.0) value = 0.0;  // never "-0"
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    for (char* c = buffer; c != result.ptr; ++c) {
        if (*c == 'e') *c = 'E';
    }
    return std::string(buffer, result.ptr);
}

std::string withClassicBlank(std::string text) {
    if (text.empty() || text.front() != '-') text.insert(text.begin(), ' ');
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string general(float value) { return formatGeneral(static_cast<double>(value), 7); }
std::string general(double value) { return formatGeneral(value, 15); }
std::string classic(float value) { return withClassicBlank(general(value)); }
std::string classic(double value) { return withClassicBlank(general(value)); }

std::string exact(float value) {
    for (int digits = 7; digits < 9; ++digits) {
        std::string text = formatGeneral(static_cast<double>(value), digits);
        const double back = readNumber(text);
        if (fitsInFloat(back) && static_cast<float>(back) == value) return text;
    }
    return formatGeneral(static_cast<double>(value), 9);
}

std::string exact(double value) {
    for (int digits = 15; digits < 17; ++digits) {
        std::string text = formatGeneral(value, digits);
        if (readNumber(text) == value) return text;
    }
    return formatGeneral(value, 17);
}

double roundDecimals(double v, int n) {
    const double power = std::pow(10.0, n);
    const double scaled = v * power;
    // Beyond 2^53 a double has no fraction left to round.
    if (!(std::fabs(scaled) < 9.0e15)) return v;
    return std::nearbyint(scaled) / power;
}

std::string whole(long long value) { return std::to_string(value); }

NumberPrefix leadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t mantissaStart = pos;
    std::size_t intDigits = 0;  // significant digits before the point
    bool anyDigit = false;
    while (pos < text.size() && isDigit(text[pos])) {
        if (intDigits > 0 || text[pos] != '0') ++intDigits;
        anyDigit = true;
        ++pos;
    }
    long long fractionLeadingZeros = 0;
    bool fractionNonZeroSeen = false;
    if (pos < text.size() && text[pos] == '.') {
        std::size_t afterPoint = pos + 1;
        while (afterPoint < text.size() && isDigit(text[afterPoint])) {
            if (!fractionNonZeroSeen && text[afterPoint] == '0') {
                ++fractionLeadingZeros;
            } else {
                fractionNonZeroSeen = true;
            }
            anyDigit = true;
            ++afterPoint;
        }
        if (anyDigit) pos = afterPoint;
    }
    if (!anyDigit) return {};

    long long exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t e = pos + 1;
        bool expNegative = false;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) {
            expNegative = text[e] == '-';
            ++e;
        }
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e])) {
                if (exponent < 100000) exponent = exponent * 10 + (text[e] - '0');
                ++e;
            }
            if (expNegative) exponent = -exponent;
            pos = e;
        }
    }

    double value = 0.0;
    const char* first = text.data() + mantissaStart;
    const char* last = text.data() + pos;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Tell an overflow from an underflow by the decimal exponent of the leading digit.
        const long long magnitude =
            exponent + (intDigits > 0 ? static_cast<long long>(intDigits) : -fractionLeadingZeros);
        // An underflow keeps its sign and stays non-zero, so that no check mistakes a
        // typed 1E-400 for a typed 0.
        value = magnitude > 0 ? HUGE_VAL : std::numeric_limits<double>::denorm_min();
    } else if (ec != std::errc() || ptr != last) {
        return {};  // not reachable for the text scanned above
    }
    if (negative) value = -value;
    return {value, pos};
}

double readNumber(std::string_view text) { return leadingNumber(text).value; }

bool fitsInFloat(double value) {
    // Below this magnitude a double rounds to a finite float (at most FLT_MAX): the
    // halfway point between FLT_MAX and 2^128 rounds to even, which is the infinity.
    constexpr double kFloatRoundingLimit = 0x1.ffffffp127;
    if (!(std::fabs(value) < kFloatRoundingLimit)) return false;
    const float stored = static_cast<float>(value);
    return value == 0.0 || std::fpclassify(stored) == FP_NORMAL;
}

bool fitsInDouble(double value) { return value == 0.0 || std::fpclassify(value) == FP_NORMAL; }

}  // namespace vortak
