// The loan record and the number helpers.

#include "engine/CheckedMath.h"
#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/LoanRecord.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include "TestLoans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <exception>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>

namespace tallex {
namespace {

// The date holds only for a secured loan, and clearing "secured" clears it.
TEST(loan_record, the_pre_1995_date_holds_only_for_a_secured_loan) {
    struct Row {
        bool secured, before, expected;
    };
    const Row rows[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const Row& row : rows) {
        LoanRecord r;
        SetSecuredByRealEstate(r, row.secured);
        SetDatePre093095(r, row.before);
        SetSecuredByRealEstate(r, row.secured);
        EXPECT_EQ(std::pair(r.gbDatePre_093095, r.gbSecuredByRealEstate), std::pair(row.expected, row.secured))
            << "secured " << row.secured << ", before " << row.before;
        SetSecuredByRealEstate(r, false);
        EXPECT_FALSE(r.gbDatePre_093095);
    }
}

// Whatever ended an action reaches the error screen with a number: the core's own errors keep
// theirs, running out of memory is 7, anything else 51.
TEST(runtime_error, every_exception_has_an_error_screen_number) {
    struct Row {
        std::exception_ptr error;
        int number;
        const char* description;
    };
    const Row rows[] = {
        {std::make_exception_ptr(RuntimeError(RuntimeErrorCode::DivisionByZero)), 11, "Division by zero"},
        {std::make_exception_ptr(RuntimeError(RuntimeErrorCode::SubscriptOutOfRange)), 9, "Subscript out of range"},
        {std::make_exception_ptr(RuntimeError(RuntimeErrorCode::Overflow)), 6, "Overflow"},
        {std::make_exception_ptr(RuntimeError(1004, "Application-defined error")), 1004, "Application-defined error"},
        {std::make_exception_ptr(std::bad_alloc()), 7, "Out of memory"},
        {std::make_exception_ptr(42), 51, "Internal error"},
        {nullptr, 51, "Internal error"},
        {std::make_exception_ptr(RuntimeError(RuntimeErrorCode::InvalidCall)), 5, "Invalid procedure call or argument"},
    };
    for (const Row& row : rows) {
        const RuntimeError error = RuntimeErrorOf(row.error);
        EXPECT_EQ(std::tuple(error.number(), error.description()), std::tuple(row.number, row.description));
    }
}

// A non-finite operand, in either place, is an overflow: a degenerate figure never passes on.
TEST(checked_math, a_non_finite_operand_is_an_overflow) {
    const std::pair<const char*, double (*)(double, double)> operations[] = {{"Add", checked::Add},
                                                                             {"Sub", checked::Sub},
                                                                             {"Mul", checked::Mul},
                                                                             {"Div", checked::Div},
                                                                             {"Pow", checked::Pow}};
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& [name, operation] : operations) {
        for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
            for (const auto& [a, b] : {std::pair{bad, 2.0}, std::pair{2.0, bad}})
                EXPECT_EQ(test::ErrorNumberOf([&] { operation(a, b); }), 6) << name << "(" << a << ", " << b << ")";
        }
    }
}

// Currency rounds half to even at the fourth decimal; from 10^15 on it overflows.
TEST(currency, rounds_half_to_even_at_the_fourth_decimal) {
    struct Row {
        double in;
        long long ticks;
    };
    const Row rows[] = {
        {88.85, 888500},
        {0.00005, 0},
        {0.00015, 2},
        {-0.00015, -2},
        {1.23456, 12346},
        {-1.23454, -12345},
        {2.5e-5, 0},
        {0.5, 5000},
        {1234.5678, 12345678},
        {-88.85, -888500},
        {0, 0},
        {12345678901.2345, 123456789012345LL},
        // Where a double stands for two neighbouring ticks, the cents it was read from.
        {846622721583.07, 8466227215830700LL},
        {-619686170489.57, -6196861704895700LL},
    };
    for (const Row& row : rows) EXPECT_EQ(Currency::FromDouble(row.in).ticks(), row.ticks) << "value " << row.in;
    EXPECT_DOUBLE_EQ(Currency::FromDouble(88.85).ToDouble(), 88.85);
    for (double bad : {1e15, -1e15, std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_EQ(test::ErrorNumberOf([&] { Currency::FromDouble(bad); }), 6) << bad;
}

TEST(val, reads_the_leading_number) {
    struct Row {
        const char* text;
        double value;
    };
    const Row rows[] = {
        {"", 0},
        {"  12", 12},
        {"\t-4\n5", -45},
        {"+7", 7},
        {"-", 0},
        {".5", 0.5},
        {"1.2.3", 1.2},
        {"1E+2x", 100},
        {"2d2", 200},
        {"1e", 1},
        {"1e-", 1},
        {"$5", 0},
        {"1,234", 1},
        {"- 3.5", -3.5},
        {"12.", 12},
        {"3\r4", 3},
        {".0000000000001", 1e-13},
        {".000000000000001", 1e-15},
        {"123456789012345", 123456789012345.0},
        {"1:2", 1},  // ':' follows '9' in the character set: no digit
    };
    for (const Row& row : rows) EXPECT_DOUBLE_EQ(Val(row.text), row.value) << "text '" << row.text << "'";
}

TEST(val, a_number_beyond_the_double_range_is_an_overflow) {
    EXPECT_THROW(Val("1e400"), RuntimeError);
    EXPECT_DOUBLE_EQ(Val("1e-400"), 0.0);
}

TEST(numeric_text_check, accepts_what_an_entry_field_accepts) {
    struct Row {
        std::string_view text;
        bool integer;
        short result;
    };
    const std::string_view cut(" 12.5", 3);  // a text that ends before a point: the point is not its own
    const Row rows[] = {
        {"1234.56", false, 0}, {"$1,234.56", false, 0}, {"-12", false, 0},  {"12-", false, 0}, {"(12)", false, 0},
        {" 7 ", false, 0},     {"1e5", false, 0},       {"+$3", false, 0},  {"", false, 1},    {"   ", false, 1},
        {"abc", false, 1},     {"12abc", false, 1},     {"$", false, 1},    {".", false, 1},   {"1.2.3", false, 1},
        {",5", false, 1},      {"--5", false, 1},       {"(12", false, 1},  {"12)", false, 1}, {"1e", false, 1},
        {"12", true, 0},       {"12.0", true, 2},       {"1,200", true, 0}, {"abc.", true, 2}, {"abc", true, 1},
        {cut, false, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(NumericTextCheck(row.text, row.integer), row.result)
            << "text '" << row.text << "' integer " << row.integer;
}

// The forms a box does not show are read by the general rules, or refused.
TEST(numeric_text_value, reads_the_decorated_forms_and_refuses_the_rest) {
    struct Row {
        const char* text;
        std::optional<double> value;
    };
    const Row rows[] = {
        {"(1,000)", -1000.0},
        {"1,000-", -1000.0},
        {"1e-2", 0.01},
        {"+$3", 3.0},
        {"$-3", -3.0},
        {"-$.5", -0.5},
        {" 7 ", 7.0},
        {"$7\r\n", 7.0},  // a line end is white space too
        {"$0.0000000000001", 1e-13},
        {"-$1,234.5678901234", -1234.5678901234},
        {"", std::nullopt},
        {"$1.2,3", std::nullopt},
        {"-$", std::nullopt},
        {"$$5", std::nullopt},
    };
    for (const Row& row : rows) {
        const auto value = NumericTextValue(row.text);
        ASSERT_EQ(value.has_value(), row.value.has_value()) << "text '" << row.text << "'";
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *row.value) << "text '" << row.text << "'";
        }
    }
}

// An amount as a box shows it is read without building its undecorated text: it must read as
// that text does (Val of it without "$" and ","), bit for bit, sign of zero included; the forms
// next to it are read by the general rules above.
TEST(numeric_text_value, a_shown_amount_reads_as_its_text_without_dollar_and_commas) {
    const auto plainValue = [](std::string_view shown) {
        std::string plain;
        for (const char c : shown)
            if (c != '$' && c != ',') plain += c;
        return Val(plain);
    };
    const auto check = [&](const std::string& shown) {
        EXPECT_TRUE(IsNumericText(shown)) << "text '" << shown << "'";
        const std::optional<double> value = NumericTextValue(shown);
        const double expected = plainValue(shown);
        ASSERT_TRUE(value.has_value()) << "text '" << shown << "'";
        EXPECT_TRUE(*value == expected && std::signbit(*value) == std::signbit(expected))
            << "text '" << shown << "': " << testing::PrintToString(*value) << " against "
            << testing::PrintToString(expected);
    };
    for (const char* shown : {"$87,937.09", "-$1,234.56", "-$0.00", "$0.00", "1,000", "1,", "5.", "-5", "$5",
                              "$1,234,567,890,123.45", "-$999,999,999,999,999.99", "$00,001.5", "$1,2,3.4"})
        check(shown);
    std::mt19937_64 rng(20261207);
    for (int i = 0; i < 50000 && !HasFailure(); ++i) {
        const double value = std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 70) - 60);
        for (const char* pattern : {"$#,##0.00", "$###,###,###,###.00", "#,##0.######"})
            check(Format(rng() % 2 ? value : -value, pattern));
    }
}

}  // namespace
}  // namespace tallex
