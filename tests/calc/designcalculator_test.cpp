// SPDX-License-Identifier: MIT
#include "designcalculator.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ios>
#include <ostream>
#include <random>
#include <regex>
#include <string>
#include <string_view>
#include <utility>

namespace vorrel {

void PrintTo(const DesignState &s, std::ostream *os)
{
    *os << std::hexfloat << "{freq " << s.freq << ", rad " << s.rad << ", stud " << s.stud
        << ", gap " << s.gap << ", feed " << s.feed << '}';
}

namespace {

using Kind = CalcError::Kind;
constexpr UnitMode kIn = UnitMode::Inches;
constexpr UnitMode kCm = UnitMode::Centimetres;
const NumberFormat kDot{"."};
const NumberFormat kComma{","};
const NumberFormat kArabic{"\331\253"}; // U+066B ARABIC DECIMAL SEPARATOR in UTF-8, in octal
constexpr long double kConstants[4] = {8370, 2787, 165, 345};

// Compares bit patterns, so that -0 and 0 differ.
testing::AssertionResult sameFloat(float actual, float expected)
{
    if (std::bit_cast<std::uint32_t>(actual) == std::bit_cast<std::uint32_t>(expected))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << std::hexfloat << actual << " is not " << expected;
}

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::TypeMismatch:
        return "TypeMismatch";
    case Kind::Overflow:
        return "Overflow";
    case Kind::DivisionByZero:
        return "DivisionByZero";
    }
    return "unknown kind";
}

// The message box shows what(): words a user can read, not an identifier or a code.
bool isPlainWords(const std::string &s)
{
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s.front())) ||
        s.find(' ') == s.npos || s.find("::") != s.npos || s.find('_') != s.npos)
        return false;
    for (unsigned char c : s)
        if (!std::isprint(c))
            return false;
    return true;
}

// "ok", or the kind of the CalcError that `f` threw.
template <typename F> std::string outcome(F &&f)
{
    try {
        f();
        return "ok";
    } catch (const CalcError &e) {
        EXPECT_TRUE(isPlainWords(e.what())) << '"' << e.what() << '"';
        return kindName(e.kind());
    }
}

std::string withSeparator(const std::string &text, const NumberFormat &format)
{
    const auto dot = text.find('.');
    if (dot == text.npos)
        return text;
    return text.substr(0, dot) + format.decimalSeparator + text.substr(dot + 1);
}

struct DesignRow {
    const char *freq;
    UnitMode mode;
    std::array<const char *, 4> values; // rad, stud, gap, feed
};

const DesignRow kDesignRows[] = {
    // The program's reference table; make_expected.py reproduces it before printing the rows below.
    {"146", kIn, {"57.329", "19.089", "1.13", "2.363"}},
    {"146", kCm, {"145.615", "48.486", "2.871", "6.002"}},
    {"440", kIn, {"19.023", "6.334", "0.375", "0.784"}},
    {"1", kIn, {"8370", "2787", "165", "345"}},
    {"-146", kIn, {"-57.329", "-19.089", "-1.13", "-2.363"}},
    // Printed by make_expected.py (exact decimal arithmetic, independent of the calculator).
    // 2640 MHz: the gap is exactly 0.0625 and goes to the even "0.062".
    {"1.8", kIn, {"4650", "1548.333", "91.667", "191.667"}},
    {"1.8", kCm, {"11811", "3932.767", "232.833", "486.833"}},
    {"3.5", kIn, {"2391.428", "796.286", "47.143", "98.571"}},
    {"3.5", kCm, {"6074.229", "2022.566", "119.743", "250.371"}},
    {"7", kIn, {"1195.714", "398.143", "23.571", "49.286"}},
    {"7", kCm, {"3037.114", "1011.283", "59.871", "125.186"}},
    {"14", kIn, {"597.857", "199.071", "11.786", "24.643"}},
    {"14", kCm, {"1518.557", "505.641", "29.936", "62.593"}},
    {"28", kIn, {"298.929", "99.536", "5.893", "12.321"}},
    {"28", kCm, {"759.279", "252.821", "14.968", "31.296"}},
    {"50", kIn, {"167.4", "55.74", "3.3", "6.9"}},
    {"50", kCm, {"425.196", "141.58", "8.382", "17.526"}},
    {"144", kIn, {"58.125", "19.354", "1.146", "2.396"}},
    {"144", kCm, {"147.637", "49.16", "2.91", "6.085"}},
    {"146.52", kIn, {"57.125", "19.021", "1.126", "2.355"}},
    {"146.52", kCm, {"145.098", "48.314", "2.86", "5.981"}},
    {"222", kIn, {"37.703", "12.554", "0.743", "1.554"}},
    {"222", kCm, {"95.765", "31.887", "1.888", "3.947"}},
    {"432", kIn, {"19.375", "6.451", "0.382", "0.799"}},
    {"432", kCm, {"49.213", "16.387", "0.97", "2.028"}},
    {"902", kIn, {"9.279", "3.09", "0.183", "0.382"}},
    {"902", kCm, {"23.57", "7.848", "0.465", "0.972"}},
    {"1296", kIn, {"6.458", "2.15", "0.127", "0.266"}},
    {"1296", kCm, {"16.404", "5.462", "0.323", "0.676"}},
    {"2640", kIn, {"3.17", "1.056", "0.062", "0.131"}},
    {"2640", kCm, {"8.053", "2.681", "0.159", "0.332"}},
    {"0.1", kIn, {"83700", "27870", "1650", "3450"}},
    {"0.1", kCm, {"212598", "70789.8", "4191", "8763"}},
    {"9999.999", kIn, {"0.837", "0.279", "0.017", "0.035"}},
    {"9999.999", kCm, {"2.126", "0.708", "0.042", "0.088"}},
    {"4e-35", kIn, {"2.0925E+38", "6.9675E+37", "4.125E+36", "8.625E+36"}},
    // The smallest frequencies whose radiator still fits; in centimetres its quotient lies just
    // above FLT_MAX but below the midpoint to 2^128, so it narrows to FLT_MAX.
    {"2.45972222e-35", kIn, {"3.402823E+38", "1.133055E+38", "6.708075E+36", "1.402597E+37"}},
    {"6.24769393e-35", kCm, {"3.402823E+38", "1.133055E+38", "6.708075E+36", "1.402597E+37"}},
};

TEST(CalculateDesign, MatchesTheBandTableInEverySeparator)
{
    for (const NumberFormat *format : {&kDot, &kComma, &kArabic}) {
        for (const DesignRow &row : kDesignRows) {
            const std::string freq = withSeparator(row.freq, *format);
            SCOPED_TRACE(freq + (row.mode == kIn ? " MHz in inches" : " MHz in centimetres"));
            DesignState state;
            DesignResult result;
            ASSERT_NO_THROW(result = calculateDesign(state, freq, row.mode, *format));
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(result.values[i], withSeparator(row.values[i], *format))
                    << "dimension " << i;
                EXPECT_EQ(result.units[i], unitTexts(row.mode)[i]);
            }
            // strtof rounds a decimal text correctly, independently of the calculator.
            EXPECT_TRUE(sameFloat(state.freq, std::strtof(row.freq, nullptr)));
        }
    }
}

TEST(CalculateDesign, ErrorsLeaveTheStateAsDocumented)
{
    const DesignState before{7.0f, 11.0f, 13.0f, 17.0f, 19.0f};
    const auto freqOnly = [&](float freq) { return DesignState{freq, 11.0f, 13.0f, 17.0f, 19.0f}; };
    struct Row {
        const char *tag;
        const char *text;
        UnitMode mode;
        const NumberFormat &format;
        Kind kind;
        DesignState after;
    };
    // Expected frequencies: compiler float literals, or make_expected.py for the hexadecimal ones.
    const Row rows[] = {
        {"empty text is not a number", "", kIn, kDot, Kind::TypeMismatch, before},
        {"letters are not a number", "abc", kCm, kDot, Kind::TypeMismatch, before},
        {"a comma in a dot locale", "146,52", kIn, kDot, Kind::TypeMismatch, before},
        {"a dot in a comma locale, never 14652", "146.52", kIn, kComma, Kind::TypeMismatch, before},
        {"a frequency beyond single precision", "1e39", kIn, kDot, Kind::Overflow, before},
        {"zero", "0", kIn, kDot, Kind::DivisionByZero, freqOnly(0.0f)},
        {"the box's initial text", "00.00", kCm, kDot, Kind::DivisionByZero, freqOnly(0.0f)},
        {"negative zero", "-0", kIn, kDot, Kind::DivisionByZero, freqOnly(-0.0f)},
        {"underflow to zero is out of range, not 0 MHz", "1e-50", kIn, kDot, Kind::Overflow,
         freqOnly(0.0f)},
        {"negative underflow, comma", "-7e-46", kCm, kComma, Kind::Overflow, freqOnly(-0.0f)},
        {"zeros with an exponent are 0 MHz", "0,000e-99", kIn, kComma, Kind::DivisionByZero,
         freqOnly(0.0f)},
        {"subnormal: rad overflows", "1e-39", kIn, kDot, Kind::Overflow, freqOnly(0x1.5c73p-130f)},
        {"negative subnormal, cm", "-1e-39", kCm, kDot, Kind::Overflow, freqOnly(-0x1.5c73p-130f)},
        {"rad overflows, stud would fit", "1e-35", kIn, kDot, Kind::Overflow, freqOnly(1e-35f)},
        {"only the factor 2.54 pushes rad over", "4e-35", kCm, kDot, Kind::Overflow,
         freqOnly(4e-35f)},
        // The floats just below the smallest frequencies in the band table.
        {"below the smallest, in", "2.45972193e-35", kIn, kDot, Kind::Overflow,
         freqOnly(0x1.059p-115f)},
        {"below the smallest, cm", "6.24769336e-35", kCm, kDot, Kind::Overflow,
         freqOnly(0x1.4c2f32p-114f)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.tag);
        DesignState state = before;
        EXPECT_EQ(outcome([&] { calculateDesign(state, row.text, row.mode, row.format); }),
                  kindName(row.kind));
        EXPECT_EQ(state, row.after);
        EXPECT_TRUE(sameFloat(state.freq, row.after.freq)); // == takes -0 for 0
    }
}

TEST(ParseFrequency, AcceptsPlainDecimalNumbers)
{
    struct Row {
        const char *tag;
        std::string_view text;
        const NumberFormat &format;
        float expected; // compiler float literals; hexadecimal ones worked by hand from the tag
    };
    const Row rows[] = {
        {"blanks around", " \t146.52\t ", kDot, 146.52f},
        {"plus sign", "+146", kDot, 146.0f},
        {"minus sign", "-146", kDot, -146.0f},
        {"no digit before the separator", ".5", kDot, 0.5f},
        {"no digit after the separator", "5.", kDot, 5.0f},
        {"exponent", "1e3", kDot, 1000.0f},
        {"capital exponent with sign", "2.5E-1", kDot, 0.25f},
        {"exponent after a bare separator", "5.e+1", kDot, 50.0f},
        {"comma locale", "146,52", kComma, 146.52f},
        {"comma locale with exponent", "1,5e1", kComma, 15.0f},
        {"two-byte separator", "146\331\25352", kArabic, 146.52f},
        {"only the view is read", std::string_view("146.52xyz", 6), kDot, 146.52f},
        {"a digit past the view is ignored", std::string_view("1469", 3), kDot, 146.0f},
        {"long text", "146.520000000000000000000000000000000000000000000000000000000001", kDot,
         146.52f},
        {"1 + 2^-24 exactly ties to even", "1.000000059604644775390625", kDot, 1.0f},
        {"a hair above 1 + 2^-24 rounds up; via double it would not", "1.0000000596046447753906251",
         kDot, 0x1.000002p0f},
        {"1 + 3 * 2^-24 ties to the even 1 + 2^-22", "1.000000178813934326171875", kDot,
         0x1.000004p0f},
        {"3.4028235e38 rounds to FLT_MAX", "3.4028235e38", kDot, FLT_MAX},
        {"one below the midpoint FLT_MAX + 2^103", "340282356779733661637539395458142568447", kDot,
         FLT_MAX},
        {"smallest subnormal", "1e-45", kDot, 0x1p-149f},
        {"just above half the smallest subnormal", "7.1e-46", kDot, 0x1p-149f},
        {"below half the smallest subnormal", "7e-46", kDot, 0.0f},
        {"underflow keeps the sign", "-1e-50", kDot, -0.0f},
        {"huge negative exponent", "1e-99999999999999999999", kDot, 0.0f},
        {"below double precision too, keeping the sign", "-1e-400", kDot, -0.0f},
        {"zero with a huge exponent is zero", "0e400", kDot, 0.0f},
        {"negative zero", "-0", kDot, -0.0f},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.tag);
        float value = NAN;
        EXPECT_EQ(outcome([&] { value = parseFrequency(row.text, row.format); }), "ok");
        EXPECT_TRUE(sameFloat(value, row.expected));
    }
}

TEST(ParseFrequency, RefusesEverythingElse)
{
    struct Row {
        std::string_view text;
        const NumberFormat &format;
        Kind kind;
    };
    // clang-format off
    const Row rows[] = {
        {"", kDot, Kind::TypeMismatch},          {"   ", kDot, Kind::TypeMismatch},
        {"\t", kDot, Kind::TypeMismatch},        {"146\n", kDot, Kind::TypeMismatch},
        {"1,5", kDot, Kind::TypeMismatch},       {"1.5", kComma, Kind::TypeMismatch},
        {"1,000.5", kDot, Kind::TypeMismatch},   {"1.000,5", kComma, Kind::TypeMismatch},
        {"146.52", kComma, Kind::TypeMismatch},  {"146.52", kArabic, Kind::TypeMismatch},
        {"1.2.3", kDot, Kind::TypeMismatch},     {"1..2", kDot, Kind::TypeMismatch},
        // Only the first byte of U+066B.
        {"146\33152", kArabic, Kind::TypeMismatch},
        {"0x10", kDot, Kind::TypeMismatch},      {"inf", kDot, Kind::TypeMismatch},
        {"infinity", kDot, Kind::TypeMismatch},  {"nan", kDot, Kind::TypeMismatch},
        {"1e", kDot, Kind::TypeMismatch},        {"e5", kDot, Kind::TypeMismatch},
        {".e5", kDot, Kind::TypeMismatch},       {"1e5.5", kDot, Kind::TypeMismatch},
        {"--1", kDot, Kind::TypeMismatch},       {"+-1", kDot, Kind::TypeMismatch},
        {"- 1", kDot, Kind::TypeMismatch},       {"1 2", kDot, Kind::TypeMismatch},
        {"+", kDot, Kind::TypeMismatch},         {".", kDot, Kind::TypeMismatch},
        {"146MHz", kDot, Kind::TypeMismatch},    {{"146\0", 4}, kDot, Kind::TypeMismatch},
        {"1e39", kDot, Kind::Overflow},          {"-3.5e38", kDot, Kind::Overflow},
        {"1e400", kDot, Kind::Overflow},         {"3.41e38", kDot, Kind::Overflow},
        // Above the midpoint between FLT_MAX and 2^128, so it rounds to infinity.
        {"3.4028236e38", kDot, Kind::Overflow},
        // Exactly that midpoint: FLT_MAX's last mantissa bit is odd, so the tie goes up.
        {"340282356779733661637539395458142568448", kDot, Kind::Overflow},
        {"1e99999999999999999999", kDot, Kind::Overflow},
    };
    // clang-format on
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message()
                     << '"' << row.text << "\" with separator " << row.format.decimalSeparator);
        EXPECT_EQ(outcome([&] { parseFrequency(row.text, row.format); }), kindName(row.kind));
    }
}

TEST(FormatDimension, RoundsTheExactBinaryValueToThreePlacesTiesToEven)
{
    // Printed by make_expected.py; the comment gives the float's exact value where it matters.
    const std::pair<float, const char *> rows[] = {
        {0x1p-4f, "0.062"},            // 0.0625
        {0x1.8p-3f, "0.188"},          // 0.1875
        {0x1.4p-2f, "0.312"},          // 0.3125
        {0x1.ep-1f, "0.938"},          // 0.9375
        {0x1.f408p+9f, "1000.062"},    // 1000.0625
        {-0x1.48p+1f, "-2.562"},       // -2.5625
        {0x1.0624dep-11f, "0.001"},    // 0.0005000000237487256526947021484375
        {-0x1.0624dep-11f, "-0.001"},  // -0.0005000000237487256526947021484375
        {0x1.a36e2ep-12f, "0"},        // 0.00039999998989515006542205810546875
        {-0x1.a36e2ep-12f, "0"},       // rounds to -0, written "0"
        {0x1.003126p+1f, "2.001"},     // 2.0014998912811279296875
        {0x1.00147ap+3f, "8.002"},     // 8.00249958038330078125
        {0x1.caa12ep+5f, "57.329"},    // 57.328701019287109375
        {0x1.ffcb92p-1f, "1"},         // 0.999599993228912353515625
        {0x1.34a456p+10f, "1234.568"}, // 1234.5677490234375
        {0x1.e2401p+16f, "123456.1"},  // 123456.0625: seven digits after the rounding
        {0x1.5af1d8p+66f, "1E+20"},
        {FLT_MAX, "3.402823E+38"},
        {0.0f, "0"},
        {-0.0f, "0"},
    };
    for (const auto &[value, text] : rows)
        EXPECT_EQ(formatDimension(value), text) << std::hexfloat << value;
    EXPECT_EQ(formatDimension(0x1p-4f, kComma), "0,062");
    EXPECT_EQ(formatDimension(-0x1.48p+1f, kArabic), "-2\331\253562");
}

TEST(FormatFrequency, WritesAtMostSevenSignificantDigits)
{
    // Printed by make_expected.py, as are the texts with other separators below.
    // clang-format off
    const std::pair<float, const char *> rows[] = {
        {0x1.250a3ep+7f, "146.52"},       {0.0f, "0"},
        {-0.0f, "0"},                     {-0x1p-1f, "-0.5"},
        {0x1.8p-2f, "0.375"},             {0x1.99999ap-4f, "0.1"},
        {0x1.9p+6f, "100"},               {0x1.e848p+19f, "1000000"},
        {0x1.312cfep+23f, "9999999"},     {0x1.312dp+23f, "1E+07"},
        {0x1.78c29cp+23f, "1.234568E+07"}, {0x1.e240b4p+16f, "123456.7"},
        {0x1.a36e2ep-14f, "0.0001"},      {0x1.a36372p-14f, "9.999E-05"},
        {0x1.4f8b58p-17f, "1E-05"},       {-0x1.12e0bep-32f, "-2.5E-10"},
        {FLT_MAX, "3.402823E+38"},        {0x1p-149f, "1.401298E-45"},
    };
    // clang-format on
    for (const auto &[value, text] : rows)
        EXPECT_EQ(formatFrequency(value), text) << std::hexfloat << value;
    EXPECT_EQ(formatFrequency(0x1.78c29cp+23f, kComma), "1,234568E+07");
    EXPECT_EQ(formatFrequency(0x1.250a3ep+7f, kArabic), "146\331\25352");
    EXPECT_EQ(formatFrequency(parseFrequency("146.52")), "146.52");
}

TEST(UnitTexts, NameTheUnitBesideEachDimension)
{
    using Texts = std::array<std::string_view, 4>;
    EXPECT_EQ(unitTexts(kIn), (Texts{"INCHES long", "INCHES long", "INCHES", "INCHES up"}));
    EXPECT_EQ(unitTexts(kCm), (Texts{"CM long", "CM long", "CM", "CM up"}));
}

TEST(CalcError, EachKindHasItsOwnPlainMessage)
{
    const CalcError mismatch(Kind::TypeMismatch), overflow(Kind::Overflow),
        zero(Kind::DivisionByZero);
    for (const CalcError *e : {&mismatch, &overflow, &zero})
        EXPECT_TRUE(isPlainWords(e->what())) << e->what();
    EXPECT_NE(std::string(mismatch.what()), overflow.what());
    EXPECT_NE(std::string(mismatch.what()), zero.what());
    EXPECT_NE(std::string(overflow.what()), zero.what());
}

int significantDigits(const std::string &text)
{
    const std::string mantissa = text.substr(0, text.find('E'));
    const auto first = mantissa.find_first_of("123456789");
    if (first == mantissa.npos)
        return 0;
    int n = 0;
    for (auto i = first; i < mantissa.size(); ++i)
        n += std::isdigit(static_cast<unsigned char>(mantissa[i])) ? 1 : 0;
    return n;
}

// Half a unit in the seventh significant digit of x.
long double halfSeventhDigit(long double x)
{
    return 0.5L * std::pow(10.0L, std::floor(std::log10(std::fabs(x))) - 6);
}

long double floatUlp(float x)
{
    return std::nextafter(std::fabs(x), INFINITY) - std::fabs(x);
}

TEST(Invariants, DimensionTextsStayWithinHalfAThousandthOfTheExactQuotient)
{
    std::mt19937 rng(146520);
    std::uniform_real_distribution<double> decade(-1.0, 4.0); // 0.1 .. 10000 MHz
    const std::regex threePlaces(R"(-?(0|[1-9][0-9]*)(\.[0-9]{0,2}[1-9])?)");
    for (int i = 0; i < 4000; ++i) {
        const float f = static_cast<float>(std::pow(10.0, decade(rng))) * (rng() % 2 ? -1 : 1);
        const UnitMode mode = rng() % 2 ? kCm : kIn;
        char text[32];
        std::snprintf(text, sizeof text, "%.9g", f); // nine digits identify every float
        SCOPED_TRACE(std::string(text) + (mode == kIn ? " MHz in inches" : " MHz in centimetres"));
        DesignState state;
        DesignResult result;
        ASSERT_NO_THROW(result = calculateDesign(state, text, mode));
        ASSERT_TRUE(sameFloat(state.freq, f));
        const float stored[4] = {state.rad, state.stud, state.gap, state.feed};
        for (int k = 0; k < 4; ++k) {
            const long double exact = kConstants[k] / f * (mode == kCm ? 2.54L : 1.0L);
            const long double ulp = floatUlp(stored[k]);
            // Rounded in double, then to float: half a float ulp, plus a trace of the double's.
            EXPECT_LE(std::fabs(stored[k] - exact), 0.500001L * ulp) << "dimension " << k;
            const std::string &shown = result.values[k];
            EXPECT_TRUE(std::regex_match(shown, threePlaces)) << shown;
            EXPECT_LE(significantDigits(shown), 7) << shown;
            // Below 10000 the three places fit in seven digits and the text is exactly them; from
            // 10000 up the float nearest to them is rounded once more, to seven digits.
            const long double error = std::fabs(std::strtod(shown.c_str(), nullptr) - exact);
            const long double beyond = std::fabs(exact) < 10000 ? 0 : ulp + halfSeventhDigit(exact);
            EXPECT_LE(error, 0.0005L + ulp + beyond) << shown << " vs " << exact;
        }
    }
}

TEST(Invariants, FrequencyTextIsTheSevenDigitRoundingAndReadsBackToItself)
{
    std::mt19937 rng(44052);
    std::uniform_real_distribution<double> decade(-40.0, 38.0);
    const std::regex fixed(R"(-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?)");
    const std::regex exponent(R"(-?[1-9](\.[0-9]*[1-9])?E[+-][0-9]{2})");
    for (int i = 0; i < 4000; ++i) {
        const float f = static_cast<float>(std::pow(10.0, decade(rng))) * (rng() % 2 ? -1 : 1);
        const std::string text = formatFrequency(f);
        SCOPED_TRACE(text);
        const long double shown = std::strtold(text.c_str(), nullptr);
        EXPECT_LE(significantDigits(text), 7);
        // Floats that end exactly on a half in the eighth digit are common (788423.75); either
        // neighbour is then half a unit away, so allow for the long double arithmetic of the check.
        EXPECT_LE(std::fabs(shown - f), halfSeventhDigit(f) * (1 + 1e-12L));
        const bool exponentForm = std::fabs(shown) >= 1e7L || std::fabs(shown) < 1e-4L;
        EXPECT_TRUE(std::regex_match(text, exponentForm ? exponent : fixed));
        // Seven digits do not identify every float, but from 0.001 up to 1E+07 no two 7-digit
        // texts share a float (they do in [2^-10, 0.001) and [2^33, 1E+10)), so there the text
        // read back and written again is itself.
        if (std::fabs(f) >= 1e-3f && std::fabs(f) < 1e7f) {
            EXPECT_EQ(formatFrequency(parseFrequency(text)), text);
        }
    }
}

} // namespace
} // namespace vorrel
