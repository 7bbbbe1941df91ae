// SPDX-License-Identifier: MIT
#pragma once

// The dimension calculator of a Vorrel antenna: frequency text in, four dimensions and the texts
// that show them out. Standard C++ only, so it builds and is tested without any windowing system.
//
// Each dimension in inches is a design constant divided by the frequency in MHz:
//   radiator 8370, driven stud 2787, gap 165, feed point 345 (inch-MHz).
// In centimetres the quotient is multiplied by 2.54.

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorrel {

// The design values of one main window: the frequency last read and the four dimensions last
// computed, all IEEE 754 single precision, all 0 at first. The unit of the dimensions is the one of
// the last calculation that stored them; the state does not record it.
struct DesignState {
    float freq = 0.0f; // MHz
    float rad = 0.0f;  // radiator length
    float stud = 0.0f; // driven stud length
    float gap = 0.0f;  // gap between radiator and stud
    float feed = 0.0f; // feed point height above the base of the stud

    friend bool operator==(const DesignState &, const DesignState &) = default;
};

enum class UnitMode { Inches, Centimetres };

// The unit texts shown beside rad, stud, gap and feed:
//   Inches:      "INCHES long", "INCHES long", "INCHES", "INCHES up"
//   Centimetres: "CM long",     "CM long",     "CM",     "CM up"
const std::array<std::string_view, 4> &unitTexts(UnitMode mode);

// Eight texts: the value texts and the unit texts, each in the order rad, stud, gap, feed.
struct DesignResult {
    std::array<std::string, 4> values;
    std::array<std::string, 4> units;

    friend bool operator==(const DesignResult &, const DesignResult &) = default;
};

// How numbers are written for the user: the decimal separator of the user's locale, as UTF-8
// (".", "," or a longer sequence such as U+066B). The caller passes it in; the calculator never
// reads the process locale.
struct NumberFormat {
    std::string decimalSeparator = ".";
};

// The one error type of the calculator. Each kind ends the operation that raised it.
class CalcError : public std::runtime_error {
public:
    enum class Kind {
        TypeMismatch,   // the frequency text is not a number
        Overflow,       // a number leaves the single-precision range
        DivisionByZero, // the frequency is 0
    };

    explicit CalcError(Kind kind);
    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

// Reads a frequency typed by the user and returns it as a single-precision number.
//
// Accepted: optional blanks (spaces, tabs), an optional sign, digits with at most one decimal
// separator (`format.decimalSeparator` only; at least one digit in all), an optional exponent
// ("e" or "E", an optional sign, one or more digits), optional blanks. The value is the text's
// exact decimal value rounded to the nearest single-precision number. A magnitude too small for
// single precision becomes 0 or a subnormal number, keeping its sign.
//
// Throws CalcError TypeMismatch for anything else: empty or blank text, digit grouping, a separator
// other than the format's, hexadecimal, "inf", "nan", stray characters. Throws CalcError Overflow
// when the magnitude exceeds the single-precision range.
float parseFrequency(std::string_view text, const NumberFormat &format = {});

// Reads `frequencyText`, stores the frequency in `state.freq`, then computes and stores rad, stud,
// gap and feed in that order, and returns their texts (formatDimension) with the unit texts of
// `mode`.
//
// Each dimension is its constant divided by freq in double precision, times 2.54 in centimetres,
// then narrowed to single precision. On error the state is left as follows:
//   - the text is refused (TypeMismatch, Overflow from parseFrequency): state unchanged;
//   - freq is 0 (either sign): freq is stored, the four dimensions unchanged; DivisionByZero when
//     the text is a zero, Overflow when it is a nonzero value too small for single precision;
//   - a dimension exceeds the single-precision range: freq and the dimensions before it are
//     stored, Overflow, it and those after it unchanged.
// Negative frequencies are accepted and give negative dimensions.
DesignResult calculateDesign(DesignState &state, std::string_view frequencyText, UnitMode mode,
                             const NumberFormat &format = {});

// A dimension as the user reads it: rounded to three decimal places (an exact tie goes to the even
// last digit, so 0.0625 gives "0.062"), kept in single precision, then written by formatFrequency's
// rule.
std::string formatDimension(float value, const NumberFormat &format = {});

// A single-precision number as text: at most seven significant digits, no trailing zeros after the
// separator and no trailing separator, "0" before the separator of a magnitude below 1, a leading
// "-" on negatives, zero (either sign) as "0". Magnitudes from 1E+07 up and below 1E-04 are written
// in exponent form: "1.234568E+07", "1E-05". No rounding beyond the seven digits.
std::string formatFrequency(float value, const NumberFormat &format = {});

} // namespace vorrel
