// SPDX-License-Identifier: MIT
#include "designcalculator.h"

#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>
#include <type_traits>

namespace vorrel {
namespace {

constexpr std::array<float, 4> kConstants = {8370.0f, 2787.0f, 165.0f, 345.0f};
constexpr double kCentimetresPerInch = 2.54;

// Doubles from this magnitude up round to infinity when narrowed to float: the midpoint between
// FLT_MAX and 2^128, which rounds away because FLT_MAX has an odd last mantissa bit.
constexpr double kFloatOverflowThreshold = 0x1.ffffffp127;

constexpr std::array<std::string_view, 4> kInchTexts = {"INCHES long", "INCHES long", "INCHES",
                                                        "INCHES up"};
constexpr std::array<std::string_view, 4> kCentimetreTexts = {"CM long", "CM long", "CM", "CM up"};

const char *messageFor(CalcError::Kind kind)
{
    switch (kind) {
    case CalcError::Kind::TypeMismatch:
        return "type mismatch: the frequency is not a number";
    case CalcError::Kind::Overflow:
        return "overflow: a number is too large for single precision";
    case CalcError::Kind::DivisionByZero:
        return "division by zero: the frequency is 0";
    }
    return "calculation error";
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Narrows a finite double to float, refusing what would round to infinity (checked before the
// conversion, which is undefined behaviour outside the float range).
float narrowOrThrow(double value)
{
    if (std::fabs(value) >= kFloatOverflowThreshold)
        throw CalcError(CalcError::Kind::Overflow);
    return static_cast<float>(value);
}

// The power of ten of the first significant digit of a plain decimal text with an optional
// exponent ("0.05e3" -> 1), saturated far outside any floating-point range. Only called for texts
// whose value is not zero.
long decimalMagnitude(std::string_view number)
{
    constexpr long kFar = 100000;
    long intDigits = 0;
    long leadingFractionZeros = 0;
    bool inFraction = false;
    bool seenSignificant = false;
    std::size_t i = 0;
    for (; i < number.size() && number[i] != 'e'; ++i) {
        const char c = number[i];
        if (c == '.') {
            inFraction = true;
        } else if (isDigit(c)) {
            if (c != '0')
                seenSignificant = true;
            if (!inFraction && seenSignificant)
                ++intDigits;
            else if (inFraction && !seenSignificant)
                ++leadingFractionZeros;
        }
    }
    long magnitude = intDigits > 0 ? intDigits - 1 : -(leadingFractionZeros + 1);
    if (i < number.size()) {
        long exponent = 0;
        bool negative = false;
        for (++i; i < number.size(); ++i) {
            if (number[i] == '-')
                negative = true;
            else if (isDigit(number[i]) && exponent < kFar)
                exponent = exponent * 10 + (number[i] - '0');
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

// readNumber: std::from_chars for float and double, on standard libraries without it (emscripten's
// libc++) strtof and strtod, which read the same plain form, correctly rounded, in the C locale
// (the only one there). Like from_chars, a number out of range leaves value as it was.
#ifdef VORREL_NO_FLOAT_FROM_CHARS
template <typename Float> std::from_chars_result readNumber(const char *first, const char *last, Float &value)
{
    const std::string text(first, last); // strtod reads up to a terminating NUL
    char *end = nullptr;
    errno = 0;
    Float read{};
    if constexpr (std::is_same_v<Float, float>)
        read = std::strtof(text.c_str(), &end);
    else
        read = std::strtod(text.c_str(), &end);
    const char *stop = first + (end - text.c_str());
    if (stop == first)
        return {first, std::errc::invalid_argument};
    if (errno == ERANGE)
        return {stop, std::errc::result_out_of_range};
    value = read;
    return {stop, std::errc()};
}
#else
template <typename Float> std::from_chars_result readNumber(const char *first, const char *last, Float &value)
{
    return std::from_chars(first, last, value);
}
#endif

// Rewrites the user's text into the plain form readNumber reads ("-12.5e3": no "+", "." as
// the separator), or returns false when it is not a number.
bool normalise(std::string_view text, const std::string &separator, std::string &out)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const std::string_view s = text.substr(begin, end - begin);

    out.clear();
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            out += '-';
        ++i;
    }
    std::size_t digits = 0;
    bool seenSeparator = false;
    while (i < s.size()) {
        if (isDigit(s[i])) {
            out += s[i++];
            ++digits;
        } else if (!seenSeparator && !separator.empty() && s.substr(i).starts_with(separator)) {
            out += '.';
            i += separator.size();
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        out += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            out += s[i++];
        std::size_t exponentDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            out += s[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == s.size();
}

bool allDigitsZero(std::string_view number)
{
    for (const char c : number) {
        if (c == 'e')
            break;
        if (isDigit(c) && c != '0')
            return false;
    }
    return true;
}

} // namespace

CalcError::CalcError(Kind kind) : std::runtime_error(messageFor(kind)), kind_(kind) {}

const std::array<std::string_view, 4> &unitTexts(UnitMode mode)
{
    return mode == UnitMode::Inches ? kInchTexts : kCentimetreTexts;
}

float parseFrequency(std::string_view text, const NumberFormat &format)
{
    std::string number;
    number.reserve(text.size());
    if (!normalise(text, format.decimalSeparator, number))
        throw CalcError(CalcError::Kind::TypeMismatch);

    const char *first = number.data();
    const char *last = first + number.size();
    float value = 0.0f;
    const auto [end, error] = readNumber(first, last, value);
    if (error == std::errc() && end == last)
        return value;
    if (error != std::errc::result_out_of_range || allDigitsZero(number))
        throw CalcError(CalcError::Kind::TypeMismatch);

    // Out of range: too large is an overflow; too small keeps what single precision can hold,
    // a subnormal number or a signed zero, as the arithmetic does with an underflow.
    const bool negative = number.front() == '-';
    if (decimalMagnitude(number) >= 0)
        throw CalcError(CalcError::Kind::Overflow);
    double wide = 0.0;
    const auto [wideEnd, wideError] = readNumber(first, last, wide);
    if (wideError == std::errc() && wideEnd == last)
        return static_cast<float>(wide);
    return negative ? -0.0f : 0.0f;
}

DesignResult calculateDesign(DesignState &state, std::string_view frequencyText, UnitMode mode,
                             const NumberFormat &format)
{
    const float freq = parseFrequency(frequencyText, format);
    state.freq = freq;
    if (freq == 0.0f) {
        // A value too small for single precision reads as 0, but the user typed no zero: that is
        // a number out of range ("1e-50"), not a frequency of 0.
        std::string number;
        normalise(frequencyText, format.decimalSeparator, number);
        throw CalcError(allDigitsZero(number) ? CalcError::Kind::DivisionByZero
                                              : CalcError::Kind::Overflow);
    }

    float *const fields[4] = {&state.rad, &state.stud, &state.gap, &state.feed};
    for (std::size_t i = 0; i < kConstants.size(); ++i) {
        double quotient = static_cast<double>(kConstants[i]) / static_cast<double>(freq);
        if (mode == UnitMode::Centimetres)
            quotient *= kCentimetresPerInch;
        *fields[i] = narrowOrThrow(quotient);
    }

    DesignResult result;
    for (std::size_t i = 0; i < kConstants.size(); ++i) {
        result.values[i] = formatDimension(*fields[i], format);
        result.units[i] = std::string(unitTexts(mode)[i]);
    }
    return result;
}

std::string formatDimension(float value, const NumberFormat &format)
{
    // A float times 1000 is exact in double (24 + 10 bits), so the tie test below sees the
    // float's true value, not a decimal approximation of it.
    const double scaled = static_cast<double>(value) * 1000.0;
    double rounded = std::floor(scaled);
    const double fraction = scaled - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    return formatFrequency(static_cast<float>(rounded / 1000.0), format);
}

std::string formatFrequency(float value, const NumberFormat &format)
{
    if (value == 0.0f)
        return "0";
    char buffer[32];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                      std::chars_format::general, std::numeric_limits<float>::digits10 + 1);
    std::string text;
    text.reserve(static_cast<std::size_t>(end - buffer) + format.decimalSeparator.size());
    for (const char *p = buffer; p != end; ++p) {
        if (*p == '.')
            text += format.decimalSeparator;
        else if (*p == 'e')
            text += 'E';
        else
            text += *p;
    }
    return text;
}

} // namespace vorrel
