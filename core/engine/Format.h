#pragma once
// Number and date texts as the screens and reports show them. There are no regional settings:
// "$" is the currency sign, "," the thousands separator, "." the decimal point, and a negative
// value carries a leading "-".
//
// Every conversion first takes the double to 15 significant decimal digits; rounding is then
// done on those decimal digits, half away from zero, never through binary arithmetic. So 2.675
// with two decimals is 2.68 although the nearest double is slightly below 2.675.

#include <string>
#include <string_view>

namespace tallex {

// Formats a value with a named format or a digit pattern.
//
// Named formats (case-insensitive):
//   "Currency"  "$", grouping, two decimals:      -1234.56 -> "-$1,234.56", 0 -> "$0.00"
//   "Fixed"     no grouping, two decimals:          0.5 -> "0.50", 1234.567 -> "1234.57"
//
// Digit patterns are: optional literals ("$", blank, "%"), then digit placeholders, then
// optional literals, for example "$#,##0.00", "###0.0000 %", "##.#########0".
//   0   a digit that is always shown, padding with zeros
//   #   a digit shown only when significant: Format(0.5, "##.##") = ".5", Format(0, "##.##") = "."
//   ,   between integer placeholders: groups the whole integer part by threes
//   .   the decimal point; it is written even when no decimal digit follows: Format(3, "##.##") = "3."
//   %   multiplies the value by 100 (in decimal, after the 15-digit step) and is written as is
// The integer part is never cut: Format(12345, "0") = "12345". Decimal places are shown up to the
// last "0" placeholder after the point; beyond it trailing zeros are dropped. A negative value is
// written as "-" before everything, "$" included; one that rounds to zero at the digits shown
// loses its sign: Format(-0.001, "0.00") = "0.00".
//
// Throws std::invalid_argument for a pattern outside this language (a programming error: the
// patterns are fixed in the code). A NaN raises run-time error 5, an infinity error 6.
std::string Format(double value, std::string_view pattern);

// Val(Format(value, "Fixed")): the value taken to whole cents as the format shows them, read back.
// A value that is already the double nearest a whole number of cents (fewer than 10^15 of them)
// comes back as it is without composing the text.
double FixedRoundTrip(double value);

// The plain number-to-text conversion: up to 15 significant digits, no grouping, no trailing
// zeros or point. Magnitudes from 1E+15 on and below 0.0001 are written with an exponent of at
// least two digits and a sign: 1234567890123456 -> "1.23456789012346E+15", 0.000015 -> "1.5E-05".
//   leadingBlank true:  a blank takes the sign's place for non-negative numbers and the zero
//                       before the point is dropped: 30 -> " 30", 0.5 -> " .5", -0.25 -> "-.25"
//   leadingBlank false: no blank, the zero is kept:  30 -> "30", 0.5 -> "0.5", -0.25 -> "-0.25"
// A NaN raises run-time error 5, an infinity error 6.
std::string NumberToText(double value, bool leadingBlank);

// The shortest text of a number, as messages quote it: 30 -> "30", 15.5 -> "15.5".
// Same as NumberToText(value, false).
std::string ShortestNumber(double value);

// A number as an entry box shows it once left ("$6,000.00", "(5)") written plainly, as a case
// file keeps it ("6000", "-5"); a text that is no number (IsNumericText) stays as it is.
std::string PlainNumberText(std::string_view shown);

// The short date "m/d/yyyy" without leading zeros on month and day: 3/5/2026.
// Throws std::invalid_argument for a day that is not on the calendar or a year outside 100-9999.
std::string FormatShortDate(int year, int month, int day);

}  // namespace tallex
