#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tallex {
namespace {

// Money (the results labels, the cells and the boxes: 1234.5 shows as $1,234.50, 0 as $0.00;
// sixteen integer digits go beyond 15 significant digits); percents (the
// value is a fraction the pattern multiplies by 100: a difference of 0.25 points shows as 0.2500 %);
// whole numbers; optional digits after the point (the point stays when no decimal digit is shown,
// "#" places show nothing for a zero integer part). Rounding takes the double to 15 significant
// digits first, then rounds half away from zero at the last digit shown: 2.675 and 1.005 are stored
// slightly below the half, 1234567.125 is an exact half, 0.1249999999999999 is 0.125 at 15 digits.
TEST(format_test, patterns_and_rounding) {
    struct {
        double value;
        const char *pattern, *expected;
    } const rows[] = {
        {1234.5, "Currency", "$1,234.50"},
        {-1234.56, "Currency", "-$1,234.56"},
        {0, "Currency", "$0.00"},
        {0.005, "Currency", "$0.01"},
        {-0.004, "Currency", "$0.00"},
        {12345678901.23, "Currency", "$12,345,678,901.23"},
        {999.995, "currency", "$1,000.00"},
        {1234.567, "Fixed", "1234.57"},
        {0.5, "Fixed", "0.50"},
        {0.5, "$###,###,###,###.00", "$.50"},
        {0, "$###,###,###,###.00", "$.00"},
        {1234567890123456, "$###,###,###,###.00", "$1,234,567,890,123,460.00"},
        {1234567890.125, "$###,###,###.00", "$1,234,567,890.13"},
        {1e20, "$###,###,###.00", "$100,000,000,000,000,000,000.00"},
        {0.0025, "###0.0000 %", "0.2500 %"},
        {0.0000005, "###0.0000 %", "0.0001 %"},
        {-0.0000004, "###0.0000 %", "0.0000 %"},
        {12.345678, "#,##0.0000 %", "1,234.5678 %"},
        {0.0005, "##0.000 %", "0.050 %"},
        {2.5, "####0", "3"},
        {30.4999, "####0", "30"},
        {1234567890, "###,###,##0", "1,234,567,890"},
        {-2.5, "0", "-3"},
        {-0.4, "0", "0"},
        {0.5, "##.##########", ".5"},
        {3, "##.##########", "3."},
        {0, "##.##########", "."},
        {0.98765432101234, "##.##########", ".987654321"},
        {0.98, "##.#########0", ".9800000000"},
        {0.12345678905, "##.#########0", ".1234567891"},
        {1234.1234567, "###,###,###,###.######", "1,234.123457"},
        {8.1235, "##0.000", "8.124"},
        {2.675, "0.00", "2.68"},
        {1.005, "0.00", "1.01"},
        {-0.125, "0.00", "-0.13"},
        {1234567.125, "0.00", "1234567.13"},
        {0.1249999999999999, "0.00", "0.13"},
        {9.995, "0.00", "10.00"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Format(row.value, row.pattern), row.expected)
            << "Format(" << testing::PrintToString(row.value) << ", \"" << row.pattern << "\")";
    }
}

TEST(format_test, UnsupportedPatternsAreRejected) {
    for (const char* pattern : {"", "Standard", "Short Date", "%", "$", "#,##0.00;(#,##0.00)", "#,##0,", "#,.00",
                                "0.0,0", "#x#", "0 0", "##.##.##", "0.00 %%", "0.00 USD"}) {
        EXPECT_THROW(Format(1, pattern), std::invalid_argument) << "pattern \"" << pattern << "\"";
    }
}

TEST(format_test, NonFiniteValuesRaiseRunTimeErrors) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& [value, number] : {std::pair(inf, 6), std::pair(-inf, 6), std::pair(std::nan(""), 5)}) {
        EXPECT_EQ(test::ErrorNumberOf([&] { Format(value, "Currency"); }), number) << value;
        EXPECT_EQ(test::ErrorNumberOf([&] { NumberToText(value, true); }), number) << value;
    }
}

// The plain conversion in both forms: with the sign's blank (which drops the zero before the
// point: a tolerance of 0.5 reads .5 once trimmed) and without it (messages quote 30 and 15.5).
TEST(format_test, NumberToTextForms) {
    struct Row {
        double value;
        const char *withBlank, *plain;
    };
    const std::vector<Row> rows = {
        {30, " 30", "30"},
        {15.5, " 15.5", "15.5"},
        {0.5, " .5", "0.5"},
        {-0.25, "-.25", "-0.25"},
        {0, " 0", "0"},
        {-0.0, " 0", "0"},
        {1.0 / 3.0, " .333333333333333", "0.333333333333333"},
        {123456789012345, " 123456789012345", "123456789012345"},
        {999999999999999.9, " 1E+15", "1E+15"},
        {1234567890123456, " 1.23456789012346E+15", "1.23456789012346E+15"},
        {0.0001, " .0001", "0.0001"},
        {0.00001, " 1E-05", "1E-05"},
        {0.000015, " 1.5E-05", "1.5E-05"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(std::tuple(NumberToText(row.value, true), NumberToText(row.value, false), ShortestNumber(row.value)),
                  std::tuple(row.withBlank, row.plain, row.plain))
            << testing::PrintToString(row.value);
    }
}

// What a case file keeps of a box left formatted: the plain number, or the text as typed.
TEST(format_test, PlainNumberText) {
    struct Row {
        const char *shown, *plain;
    };
    const Row rows[] = {
        {"$6,000.00", "6000"}, {"$1,234.56", "1234.56"}, {"12.5", "12.5"}, {"(5)", "-5"}, {"12-", "-12"}, {"", ""},
        {"abc", "abc"},        {"1.2.3", "1.2.3"},
    };
    for (const Row& row : rows) EXPECT_EQ(PlainNumberText(row.shown), row.plain) << row.shown;
}

// The Fixed round trip skips the text for a value already in whole cents: it must give the
// double the text gives, bit for bit (the sign of zero included), for every kind of value.
TEST(format_test, FixedRoundTripIsValOfTheFixedText) {
    const auto check = [](double value) {
        const double expected = Val(Format(value, "Fixed"));
        const double got = FixedRoundTrip(value);
        EXPECT_TRUE(got == expected && std::signbit(got) == std::signbit(expected))
            << "value " << testing::PrintToString(value) << ": " << testing::PrintToString(got) << " against "
            << testing::PrintToString(expected);
    };
    // Zero of either sign, halves of a cent, a sum off the cent, the largest cents below 10^15 and the
    // first beyond, and the smallest double.
    for (const double value :
         {0.0, -0.0, 0.005, -0.005, 1.005, 0.1 + 0.2, 9999999999999.99, 99999999999999.99, 1e15, 5e-324})
        check(value);
    // Whole cents typed as texts, their neighbours one ulp away, and values of no particular form.
    std::mt19937_64 rng(20261207);
    for (int i = 0; i < 100000 && !HasFailure(); ++i) {
        const int digits = 1 + static_cast<int>(rng() % 15);
        std::string text = rng() % 4 == 0 ? "-" : "";
        for (int d = 0; d < digits; ++d) {
            if (d == digits - 2) text += '.';
            text += static_cast<char>('0' + rng() % 10);
        }
        const double cents = Val(text);
        check(cents);
        check(std::nextafter(cents, 0.0));
        check(std::nextafter(cents, 2 * cents + 1));
        check(std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 80) - 60));
    }
}

TEST(format_test, ShortDate) {
    struct Row {
        int year, month, day;
        const char* expected;
    };
    for (const Row& row : {Row{2026, 3, 5, "3/5/2026"}, Row{2000, 2, 29, "2/29/2000"}, Row{100, 1, 1, "1/1/100"},
                           Row{9999, 12, 31, "12/31/9999"}}) {
        EXPECT_EQ(FormatShortDate(row.year, row.month, row.day), row.expected)
            << row.year << "-" << row.month << "-" << row.day;
    }
    for (const Row& row :
         {Row{2026, 13, 1, ""}, Row{2026, 0, 1, ""}, Row{2026, 1, 0, ""}, Row{99, 1, 1, ""}, Row{10000, 1, 1, ""}}) {
        EXPECT_THROW(FormatShortDate(row.year, row.month, row.day), std::invalid_argument)
            << row.year << "-" << row.month << "-" << row.day;
    }
    // Each month's last day, and the day after it, against the standard library's calendar.
    for (int year : {1900, 2000, 2023, 2024}) {
        for (unsigned month = 1; month <= 12; ++month) {
            const auto last = static_cast<int>(unsigned((std::chrono::year(year) / month / std::chrono::last).day()));
            const int m = static_cast<int>(month);
            EXPECT_NO_THROW(FormatShortDate(year, m, last)) << year << "-" << m;
            EXPECT_THROW(FormatShortDate(year, m, last + 1), std::invalid_argument) << year << "-" << m;
        }
    }
}

}  // namespace
}  // namespace tallex
