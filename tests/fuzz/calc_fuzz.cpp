// SPDX-License-Identifier: MIT
// libFuzzer target over the calculator: parseFrequency, calculateDesign, formatDimension and
// formatFrequency, checked against what designcalculator.h promises. A broken promise aborts.
//
// The first input byte chooses how the text is calculated, the rest is the frequency text:
//   bit 0      unit: 0 inches, 1 centimetres
//   bits 1-2   decimal separator: "." "," U+066B (2 bytes) U+2396 (3 bytes)
//   bits 3-4   the design state before the calculation (see kStartStates)
// so "@146" is 146 MHz in inches with a point and "C146,52" is 146,52 MHz in centimetres with a
// comma; the seed corpus in corpus/ is written that way.
#include "designcalculator.h"

#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace vorrel;
using Kind = CalcError::Kind;

const std::array<NumberFormat, 4> kFormats = {
    NumberFormat{"."}, NumberFormat{","}, NumberFormat{"\xD9\xAB"}, NumberFormat{"\xE2\x8E\x96"}};

// All zero as at start; odd values that no calculation stores; a 146 MHz calculation in inches;
// negative values with a negative zero among them.
const std::array<DesignState, 4> kStartStates = {
    DesignState{},
    DesignState{123.25f, -1.5f, 7e-3f, 3e38f, 1e-45f},
    DesignState{146.0f, 8370.0f / 146.0f, 2787.0f / 146.0f, 165.0f / 146.0f, 345.0f / 146.0f},
    DesignState{-0.0f, -2.0f, -0.0f, -1e30f, -5e-40f},
};

// The design constants in inch-MHz and the centimetres per inch, as the header states them.
constexpr std::array<double, 4> kConstants = {8370.0, 2787.0, 165.0, 345.0};
constexpr double kCentimetresPerInch = 2.54;
const std::array<std::array<std::string_view, 4>, 2> kUnitTexts = {{
    {"INCHES long", "INCHES long", "INCHES", "INCHES up"},
    {"CM long", "CM long", "CM", "CM up"},
}};

[[noreturn]] void fail(const char *what, std::string_view text)
{
    std::fprintf(stderr, "calculator promise broken: %s (text \"%.*s\")\n", what,
                 static_cast<int>(text.size()), text.data());
    std::abort();
}

bool sameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool sameState(const DesignState &a, const DesignState &b)
{
    return sameBits(a.freq, b.freq) && sameBits(a.rad, b.rad) && sameBits(a.stud, b.stud) &&
           sameBits(a.gap, b.gap) && sameBits(a.feed, b.feed);
}

std::array<float *, 4> dimensions(DesignState &state)
{
    return {&state.rad, &state.stud, &state.gap, &state.feed};
}

// The text in the form strtof reads in the C locale, when it is a number by the header's rule:
// blanks, a sign, digits with at most one separator (one digit at least), an exponent, blanks.
std::optional<std::string> plainNumber(std::string_view text, std::string_view separator)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        plain += text[i++];
    bool digits = false;
    bool separated = false;
    for (;;) {
        if (i < text.size() && digit(text[i])) {
            plain += text[i++];
            digits = true;
        } else if (!separated && text.substr(i).starts_with(separator)) {
            plain += '.';
            i += separator.size();
            separated = true;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += text[i++];
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        if (i == text.size() || !digit(text[i]))
            return std::nullopt;
        while (i < text.size() && digit(text[i]))
            plain += text[i++];
    }
    if (i != text.size())
        return std::nullopt;
    return plain;
}

long double ulp(float x)
{
    const float magnitude = std::fabs(x);
    return static_cast<long double>(std::nextafter(magnitude, INFINITY)) - magnitude;
}

// Half a unit in the seventh significant digit of x.
long double halfSeventhDigit(float x)
{
    if (x == 0.0f)
        return 0.0L;
    return 0.5L *
           std::pow(10.0L, std::floor(std::log10(std::fabs(static_cast<long double>(x)))) - 6);
}

// A dimension text read back: the dimension rounded to three places, shown in at most seven
// significant digits. Below 1000 the three places fit with a digit to spare, so the text is the
// rounding itself; from there up the seven-digit rounding of the float nearest to it adds half a
// unit of the seventh digit, and float spacing the rest.
void checkDimensionText(const std::string &shown, float stored, const NumberFormat &format)
{
    float back = 0.0f;
    try {
        back = parseFrequency(shown, format);
    } catch (const CalcError &) {
        fail("a dimension text does not read back as a number", shown);
    }
    const long double error = std::fabs(static_cast<long double>(back) - stored);
    long double allowed = 0.0005L + ulp(stored);
    if (std::fabs(stored) >= 1000.0f)
        allowed += halfSeventhDigit(stored) + ulp(stored);
    if (!(error <= allowed))
        fail("a dimension text reads back too far from the stored dimension", shown);
}

void checkFrequencyText(float freq, const NumberFormat &format)
{
    const std::string shown = formatFrequency(freq, format);
    float back = 0.0f;
    try {
        back = parseFrequency(shown, format);
    } catch (const CalcError &) {
        fail("formatFrequency's text does not read back as a number", shown);
    }
    const long double error = std::fabs(static_cast<long double>(back) - freq);
    if (!(error <= halfSeventhDigit(freq) * (1 + 1e-9L) + ulp(freq)))
        fail("formatFrequency's text reads back too far from the frequency", shown);
}

// What parseFrequency must do with the text: the float nearest to its decimal value (glibc's
// strtof rounds correctly), Overflow beyond the float range, TypeMismatch when it is no number.
struct Parsed {
    std::optional<Kind> error;
    float value = 0.0f;
};

Parsed expectedParse(std::string_view text, const NumberFormat &format)
{
    const std::optional<std::string> plain = plainNumber(text, format.decimalSeparator);
    if (!plain)
        return {Kind::TypeMismatch};
    const float value = std::strtof(plain->c_str(), nullptr);
    if (std::isinf(value))
        return {Kind::Overflow};
    return {std::nullopt, value};
}

Parsed actualParse(std::string_view text, const NumberFormat &format)
{
    try {
        return {std::nullopt, parseFrequency(text, format)};
    } catch (const CalcError &error) {
        return {error.kind()};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::uint8_t control = size > 0 ? data[0] : 0;
    const std::string_view text(reinterpret_cast<const char *>(data) + (size > 0 ? 1 : 0),
                                size > 0 ? size - 1 : 0);
    const bool centimetres = (control & 1) != 0;
    const UnitMode mode = centimetres ? UnitMode::Centimetres : UnitMode::Inches;
    const NumberFormat &format = kFormats[(control >> 1) & 3];
    const DesignState before = kStartStates[(control >> 3) & 3];

    const Parsed expected = expectedParse(text, format);
    const Parsed parsed = actualParse(text, format);
    if (parsed.error != expected.error)
        fail("parseFrequency refuses or accepts against the rule", text);
    if (!parsed.error && !sameBits(parsed.value, expected.value))
        fail("parseFrequency is not the nearest float to the text's value", text);

    DesignState state = before;
    std::optional<Kind> error;
    DesignResult result;
    try {
        result = calculateDesign(state, text, mode, format);
    } catch (const CalcError &e) {
        error = e.kind();
    }

    if (parsed.error) {
        if (error != parsed.error)
            fail("a refused text raises a different error in calculateDesign", text);
        if (!sameState(state, before))
            fail("a refused text changed the design state", text);
        return 0;
    }

    const float freq = parsed.value;
    if (!sameBits(state.freq, freq))
        fail("the stored frequency is not parseFrequency's value", text);
    checkFrequencyText(freq, format);

    DesignState expectedState = before;
    expectedState.freq = freq;
    std::optional<Kind> expectedError;
    if (freq == 0.0f) {
        // 0 typed is a division by zero; a nonzero value that single precision holds as 0 is
        // out of range.
        const std::string plain = *plainNumber(text, format.decimalSeparator);
        const std::string mantissa = plain.substr(0, plain.find_first_of("eE"));
        expectedError = mantissa.find_first_of("123456789") == std::string::npos
                            ? Kind::DivisionByZero
                            : Kind::Overflow;
    } else {
        // Halfway between FLT_MAX and 2^128: from there up a double rounds to infinity as a
        // float, since FLT_MAX's last mantissa bit is odd and the tie goes away from it.
        const double overflow = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
        const std::array<float *, 4> fields = dimensions(expectedState);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            double quotient = kConstants[i] / static_cast<double>(freq);
            if (centimetres)
                quotient *= kCentimetresPerInch;
            if (std::fabs(quotient) >= overflow) {
                expectedError = Kind::Overflow;
                break;
            }
            *fields[i] = std::fabs(quotient) > FLT_MAX ? std::copysign(FLT_MAX, quotient)
                                                       : static_cast<float>(quotient);
        }
    }
    if (error != expectedError)
        fail("calculateDesign's error is not the first fault of the calculation", text);
    if (!sameState(state, expectedState))
        fail("calculateDesign stored other dimensions than the quotients", text);
    if (error)
        return 0;

    const std::array<float *, 4> stored = dimensions(state);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        checkDimensionText(result.values[i], *stored[i], format);
        if (result.units[i] != kUnitTexts[centimetres ? 1 : 0][i])
            fail("a unit text does not name the unit of the calculation", text);
    }
    return 0;
}
