// The loan terms page's rules: key filters, field checks, the completeness check and the
// unit-period basis that Continue fixes. Expected values are the page's stated rules and
// examples, worked by hand.

#include "engine/LoanRecord.h"
#include "entry/LoanTerms.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <tuple>

namespace tallex {
namespace {

using F = LoanTermsField;

enum class Box { Amount, FinanceCharge, Apr };

struct KeyRow {
    Box box;
    const char* text;
    int selStart, selLength;
    char key;
    bool accepted;
    const char* message;
};

KeyVerdict Press(const KeyRow& row) {
    LoanTermsState state;
    const EditState edit{row.text, row.selStart, row.selLength};
    switch (row.box) {
    case Box::Amount: return AmountFinancedKey(state, edit, row.key);
    case Box::FinanceCharge: return FinanceChargeKey(state, edit, row.key);
    case Box::Apr: return DisclosedAprKey(state, edit, row.key);
    }
    return {};
}

TEST(loan_terms_key_filter, each_box) {
    const char* msg = "For disclosed APR, enter numbers or decimal point only.";
    const char* amountMsg = "For amount financed, enter numbers, minus sign or decimal point only.";
    const char* chargeMsg = "For disclosed finance charge, enter numbers or decimal point only.";
    const KeyRow rows[] = {
        {Box::Amount, "12", 2, 0, 'a', false, amountMsg},
        {Box::Amount, "12", 2, 0, '-', true, ""},
        {Box::Amount, "12", 2, 0, '\b', true, ""},
        {Box::FinanceCharge, "12", 2, 0, '-', false, chargeMsg},
        {Box::FinanceCharge, "12", 2, 0, '$', false, chargeMsg},
        {Box::Amount, "12.5", 4, 0, '.', false, ""},           // a second point
        {Box::Amount, "12.5", 0, 4, '.', true, ""},            // the point is being replaced
        {Box::Amount, "123456789012", 12, 0, '3', false, ""},  // twelve digits without a point
        {Box::Amount, "12345678901", 11, 0, '2', true, ""},
        {Box::Amount, "123456789012", 0, 12, '3', true, ""},    // replacing everything
        {Box::Amount, "12345678901.2", 0, 0, '9', false, ""},   // 13 long with one decimal
        {Box::Amount, "1234567890.12", 0, 0, '9', false, ""},   // 13 long with two decimals
        {Box::Amount, "123456789012.12", 5, 0, '9', true, ""},  // 15 long: the box's own limit
        {Box::Amount, "12345678901.12", 3, 0, '9', false, ""},  // 14 long with two decimals
        {Box::Amount, "123456789012.3", 3, 0, '9', true, ""},   // 14 long, one decimal
        {Box::FinanceCharge, "1.25", 4, 0, '7', false, ""},     // a third decimal
        {Box::FinanceCharge, "1.25", 2, 0, '7', true, ""},      // right after the point
        {Box::FinanceCharge, "1.2", 3, 0, '7', true, ""},
        {Box::FinanceCharge, "$1,234.50", 0, 9, '7', true, ""},  // selected on entry, replaced
        // The disclosed APR.
        {Box::Apr, "", 0, 0, 'x', false, msg},
        {Box::Apr, "", 0, 0, '-', false, msg},
        {Box::Apr, "", 0, 0, '.', true, ""},
        {Box::Apr, "", 0, 0, '0', false, ""},    // 0.5 cannot be typed: no leading zero
        {Box::Apr, "12", 0, 2, '0', false, ""},  // nor over a selected entry
        {Box::Apr, "8", 1, 0, '0', true, ""},
        {Box::Apr, "8.5", 3, 0, '.', false, ""},
        {Box::Apr, "1234", 4, 0, '5', false, ""},  // four digits without a point
        {Box::Apr, "1234", 4, 0, '.', true, ""},
        {Box::Apr, "123.5", 0, 0, '9', false, ""},  // three digits before the point
        {Box::Apr, "12.5", 0, 0, '9', true, ""},
        {Box::Apr, "8.123456", 8, 0, '7', false, ""},  // six decimals
        {Box::Apr, "8.12345", 7, 0, '6', true, ""},
        {Box::Apr, "8.123456", 2, 0, '7', true, ""},  // right after the point
        // One decimal in, the six are full: nothing more fits.
        {Box::Apr, "8.123456", 3, 0, '7', false, ""},
    };
    for (const KeyRow& row : rows) {
        const KeyVerdict v = Press(row);
        EXPECT_EQ(std::tie(v.accepted, v.message), std::tuple(row.accepted, row.message))
            << "text '" << row.text << "' sel " << row.selStart << "+" << row.selLength << " key '" << row.key << "'";
    }
}

TEST(loan_terms_key_filter, unit_period_quotes_its_caption_and_clears_the_entry_bad_flag) {
    LoanTermsState state;
    state.entryBad = true;
    EXPECT_TRUE(UnitPeriodKey(state, "Months in Unit Period:", '7').accepted);
    EXPECT_FALSE(state.entryBad);
    const KeyVerdict v = UnitPeriodKey(state, "Months in Unit Period:", '.');
    EXPECT_FALSE(v.accepted);
    EXPECT_EQ(v.message, "For months in unit period, enter numbers only.");
    EXPECT_EQ(UnitPeriodKey(state, "Days in Unit Period:", 'a').message,
              "For days in unit period, enter numbers only.");
}

TEST(loan_terms_field_check, ranges_of_each_box) {
    const LoanTermsChoice monthly{0, 0}, multiples{0, 1}, installmentDays{0, 3}, wholeMonths{1, 0}, singleDays{1, 1};
    struct Row {
        F field;
        const char* text;
        LoanTermsChoice choice;
        bool valid;
    };
    const Row rows[] = {
        {F::AmountFinanced, "1234.5", monthly, true}, {F::AmountFinanced, "$1,234.50", monthly, true},
        {F::AmountFinanced, "-", monthly, false},     {F::AmountFinanced, "", monthly, false},
        {F::DisclosedApr, ".5", monthly, false},      {F::DisclosedApr, "1", monthly, true},
        {F::DisclosedApr, "9999", monthly, true},     {F::DisclosedApr, "9999.01", monthly, false},
        {F::DisclosedApr, "", monthly, false},        {F::FinanceCharge, "", monthly, true},
        {F::FinanceCharge, "12.5", monthly, true},    {F::FinanceCharge, ".", monthly, false},
        {F::UnitPeriod, "1", multiples, false},       {F::UnitPeriod, "2", multiples, true},
        {F::UnitPeriod, "12", multiples, true},       {F::UnitPeriod, "13", multiples, false},
        {F::UnitPeriod, "0", installmentDays, false}, {F::UnitPeriod, "365", installmentDays, true},
        {F::UnitPeriod, "366", singleDays, false},    {F::UnitPeriod, "", singleDays, false},
        {F::UnitPeriod, "0", wholeMonths, false},     {F::UnitPeriod, "480", wholeMonths, true},
        {F::UnitPeriod, "", monthly, true},
    };
    for (const Row& row : rows) {
        LoanRecord r;
        EXPECT_EQ(LoanTermsFieldCheck(r, row.field, row.text, row.choice), row.valid)
            << "field " << static_cast<int>(row.field) << " text '" << row.text << "'";
        EXPECT_EQ(r.giNumCheck, row.valid ? 0 : 1) << "text '" << row.text << "'";
    }
}

TEST(loan_terms_leave_field, money_is_shown_formatted_and_apr_out_of_range_is_refused) {
    auto r = std::make_unique<LoanRecord>();
    LoanTermsState state;
    const FieldLeave amount = LeaveLoanTermsField(*r, state, F::AmountFinanced, "1234.5", {});
    EXPECT_EQ(amount.newText.value_or("(none)"), "$1,234.50");
    EXPECT_TRUE(amount.message.empty());
    EXPECT_TRUE(state.validFlag(F::AmountFinanced));

    const FieldLeave bad = LeaveLoanTermsField(*r, state, F::AmountFinanced, "-", {});
    EXPECT_FALSE(bad.newText.has_value());
    EXPECT_TRUE(state.entryBad);

    // One bad entry gives one message: while the flag stands the next box is not checked.
    const FieldLeave apr = LeaveLoanTermsField(*r, state, F::DisclosedApr, ".5", {});
    EXPECT_EQ(apr.message, "");
    state.entryBad = false;
    EXPECT_EQ(LeaveLoanTermsField(*r, state, F::DisclosedApr, ".5", {}).message,
              "Disclosed APR must be between 1 and 9999.");
    state.entryBad = true;  // a value above 9999 is refused even then
    EXPECT_EQ(LeaveLoanTermsField(*r, state, F::DisclosedApr, "10000", {}).message,
              "Disclosed APR must be between 1 and 9999.");
    state.entryBad = false;
    EXPECT_EQ(LeaveLoanTermsField(*r, state, F::DisclosedApr, "8.25", {}).message, "");
    EXPECT_FALSE(state.entryBad);
}

// A box left with a bad entry holds back the checks of the boxes left after it until a new
// entry arrives: a key press, accepted or not, or any change of a box's text (typed, pasted,
// set by the program).
TEST(loan_terms_leave_field, a_new_entry_lifts_the_hold_on_the_checks) {
    enum class Then { Nothing, KeyAccepted, KeyRefused, TextChanged };
    struct Row {
        Then then;
        bool checked;
    };
    const Row rows[] = {
        {Then::Nothing, false},
        {Then::KeyAccepted, true},
        {Then::KeyRefused, true},
        {Then::TextChanged, true},
    };
    for (const Row& row : rows) {
        auto r = std::make_unique<LoanRecord>();
        LoanTermsState state;
        LeaveLoanTermsField(*r, state, F::AmountFinanced, "", {});  // an empty box left
        ASSERT_TRUE(state.entryBad);
        switch (row.then) {
        case Then::Nothing: break;
        case Then::KeyAccepted: EXPECT_TRUE(DisclosedAprKey(state, {"", 0, 0}, '8').accepted); break;
        case Then::KeyRefused: EXPECT_FALSE(DisclosedAprKey(state, {"", 0, 0}, 'x').accepted); break;
        case Then::TextChanged: state.TextChanged(); break;
        }
        LeaveLoanTermsField(*r, state, F::DisclosedApr, "8.25", {});
        EXPECT_EQ(state.validFlag(F::DisclosedApr), row.checked) << static_cast<int>(row.then);
        EXPECT_EQ(state.entryBad, !row.checked) << static_cast<int>(row.then);
    }
}

LoanTermsEntries Entries(const char* amount, const char* apr, const char* charge, const char* unit, int type,
                         int freq) {
    LoanTermsEntries e;
    e.amountFinanced = amount;
    e.disclosedApr = apr;
    e.financeCharge = charge;
    e.unitPeriod = unit;
    e.choice = {type, freq};
    LoanRecord scratch;
    LoanTermsState layoutState;
    const LoanTermsLayoutView view = LoanTermsLayout(scratch, layoutState, e.choice);
    e.unitPeriodShown = view.unitPeriodShown;
    e.unitPeriodCaption = view.unitPeriodCaption;
    return e;
}

TEST(loan_terms_completeness, first_fault_in_page_order) {
    struct Row {
        LoanTermsEntries entries;
        const char* message;
        F field;
    };
    const Row rows[] = {
        {Entries("", "8", "", "", 0, 0), "Please input Amount Financed.", F::AmountFinanced},
        {Entries("-", "8", "", "", 0, 0), "Please enter integers for Amount Financed.", F::AmountFinanced},
        {Entries("$.00", "8", "", "", 0, 0), "Amount Financed can't be zero.", F::AmountFinanced},
        {Entries("100", "", "", "", 0, 0), "Please input Disclosed APR.", F::DisclosedApr},
        {Entries("100", ".", "", "", 0, 0), "Please enter integers for Disclosed APR.", F::DisclosedApr},
        {Entries("100", "0", "", "", 0, 0), "Disclosed APR can't be zero.", F::DisclosedApr},
        {Entries("100", "8", ".", "", 0, 0), "Please enter integers for Disclosed Finance Charge.", F::FinanceCharge},
        {Entries("100", "8", "", "", 0, 1), "Please input Unit Period.", F::UnitPeriod},
        {Entries("100", "8", "", "0", 1, 0), "Enter Unit Period value greater than zero.", F::UnitPeriod},
    };
    for (const Row& row : rows) {
        const auto refusal = Check_Data_Entry(row.entries);
        ASSERT_TRUE(refusal.has_value()) << row.message;
        EXPECT_EQ(std::tie(refusal->message, refusal->field, refusal->emptyField),
                  std::tuple(row.message, row.field, true));
    }
    EXPECT_FALSE(Check_Data_Entry(Entries("100", "8", "", "", 0, 0)).has_value());  // hidden unit period
}

// Leaves every shown box as the user would, then continues.
LoanTermsContinueResult Continue(LoanRecord& r, LoanTermsState& state, const LoanTermsEntries& e) {
    LeaveLoanTermsField(r, state, F::AmountFinanced, e.amountFinanced, e.choice);
    LeaveLoanTermsField(r, state, F::DisclosedApr, e.disclosedApr, e.choice);
    LeaveLoanTermsField(r, state, F::FinanceCharge, e.financeCharge, e.choice);
    return LoanTermsContinue(r, state, e);
}

TEST(loan_terms_continue, unit_period_basis_of_each_choice) {
    struct Row {
        int type, freq;
        const char* unit;
        int code;
        double days, year, months, calPeriods, calOdd;
        std::string text;
    };
    const Row rows[] = {
        {0, 0, "", 1, 30, 360, 0, 0, 0, "Monthly"},
        {0, 1, "3", 2, 90, 360, 3, 0, 0, "Multiples of a Month"},
        {0, 2, "", 3, 15, 360, 0, 0, 0, "Semi-Monthly"},
        {0, 3, "14", 4, 14, 364, 0, 0, 0, "Actual Days"},
        {0, 3, "15", 4, 15, 365, 0, 0, 0, "Actual Days"},
        {1, 0, "18", 5, 360, 360, 18, 1, 180, "Whole Number of Months"},
        {1, 0, "6", 5, 180, 360, 6, 0, 0, "Whole Number of Months"},
        {1, 0, "12", 5, 360, 360, 12, 1, 0, "Whole Number of Months"},
        {1, 1, "200", 6, 200, 365, 0, 0, 0, "Actual Days"},
        {1, 1, "              200              ", 6, 200, 365, 0, 0, 0, "Actual Days"},  // blanks are no part of it
    };
    for (const Row& row : rows) {
        auto r = std::make_unique<LoanRecord>();
        r->gsLoanDate = "01-15-2026";
        r->gbCalFilledSchedule = true;
        LoanTermsState state;
        const LoanTermsEntries e = Entries("1234.5", "8.25", "", row.unit, row.type, row.freq);
        LoanTermsLayout(*r, state, e.choice);
        const LoanTermsContinueResult result = Continue(*r, state, e);
        const std::string where = std::string("type ") + std::to_string(row.type) + " option " +
                                  std::to_string(row.freq) + " unit '" + row.unit + "'";
        ASSERT_FALSE(result.refusal.has_value()) << where << ": " << result.refusal->message;
        EXPECT_EQ(std::tie(r->giPymtFreq, r->gdDaysinUnitPd, r->gdDaysinYr, r->dMonths, r->gdCalUnitPeriods,
                           r->gdCalOddDays, r->gsPymtFreqText),
                  std::tuple(row.code, row.days, row.year, row.months, row.calPeriods, row.calOdd, row.text))
            << where;
        // The finance charge is not disclosed; the calendar's dates are forgotten.
        EXPECT_EQ(std::tie(r->gbSingleAdvance, r->gdAmount, r->gdDisclAPR, r->gdEstFinanceChg, r->gsLoanDate,
                           r->gbCalFilledSchedule),
                  std::tuple(row.type == 1, 1234.5, 8.25, 0.0, "", false))
            << where;
    }
}

TEST(loan_terms_continue, amounts_are_taken_to_cents_as_shown) {
    auto r = std::make_unique<LoanRecord>();
    LoanTermsState state;
    const LoanTermsEntries e = Entries("$1,234.50", "12.125", "$250.005", "", 0, 0);
    ASSERT_FALSE(Continue(*r, state, e).refusal.has_value());
    EXPECT_EQ(std::tie(r->gdAmount, r->gdDisclAPR, r->gdEstFinanceChg), std::tuple(1234.5, 12.125, 250.01));
}

TEST(loan_terms_continue, a_box_never_accepted_is_reported_and_nothing_is_written) {
    struct Row {
        LoanTermsEntries entries;
        bool leaveFirst;
        const char* message;
        F field;
    };
    const Row rows[] = {
        {Entries("100", "8", "", "", 0, 0), false,
         "For amount financed, enter a dollar amount using the following format: #,###.##", F::AmountFinanced},
        {Entries("100", "10000", "", "", 0, 0), true, "Disclosed APR must be between 1 and 9999.", F::DisclosedApr},
        {Entries("100", "8", "", "1", 0, 1), true, "For months in unit period, enter a number from 2 to 12.",
         F::UnitPeriod},
        {Entries("100", "8", "", "400", 0, 3), true, "For days in unit period, enter a number from 1 to 365.",
         F::UnitPeriod},
        {Entries("100", "8", "", "366", 1, 1), true, "For days in unit period, enter a number from 1 to 365.",
         F::UnitPeriod},
    };
    for (const Row& row : rows) {
        auto r = std::make_unique<LoanRecord>();
        LoanTermsState state;
        LoanTermsLayout(*r, state, row.entries.choice);
        const auto result =
            row.leaveFirst ? Continue(*r, state, row.entries) : LoanTermsContinue(*r, state, row.entries);
        ASSERT_TRUE(result.refusal.has_value()) << row.message;
        EXPECT_EQ(std::tie(result.refusal->message, result.refusal->field, result.refusal->emptyField),
                  std::tuple(row.message, row.field, false));
        EXPECT_EQ(r->gdAmount + r->gdDaysinUnitPd, 0) << row.message;
    }
}

TEST(loan_terms_continue, single_payment_loan_with_a_second_stream_clears_the_schedule) {
    auto r = std::make_unique<LoanRecord>();
    r->gaPymtAmt[1] = "$500.00";
    r->gaPymtAmt[2] = "$600.00";
    LoanTermsState state;
    const LoanTermsEntries single = Entries("1000", "8", "", "6", 1, 0);
    LoanTermsLayout(*r, state, single.choice);
    EXPECT_TRUE(Continue(*r, state, single).reloadSchedule);
    r->gaPymtAmt[2].clear();  // with stream 1 alone the schedule stands
    EXPECT_FALSE(Continue(*r, state, single).reloadSchedule);
    const LoanTermsEntries installment = Entries("1000", "8", "", "", 0, 0);
    EXPECT_FALSE(Continue(*r, state, installment).reloadSchedule);
    EXPECT_TRUE(Continue(*r, state, installment).emptyUnitPeriod);
}

TEST(loan_terms_layout, captions_and_frequency_codes) {
    auto r = std::make_unique<LoanRecord>();
    LoanTermsState state;
    LoanTermsLayoutView v = LoanTermsLayout(*r, state, {1, 0});
    EXPECT_EQ(v.unitPeriodCaption, "Months in Loan Term:");
    EXPECT_EQ(v.frequencyCaptions, (std::array<std::string, 4>{"&Whole Number of Months", "&Actual Days", "", ""}));
    EXPECT_FALSE(v.frequencyShown[2]);
    EXPECT_TRUE(v.calendarShown && v.calendarEnabled);
    EXPECT_EQ(r->giPymtFreq, 5);
    v = LoanTermsLayout(*r, state, {1, 1});
    EXPECT_EQ(v.unitPeriodCaption, "Days in Unit Period:");
    EXPECT_EQ(r->giPymtFreq, 6);
    v = LoanTermsLayout(*r, state, {0, 2});
    EXPECT_EQ(v.frequencyCaptions,
              (std::array<std::string, 4>{"&Monthly", "M&ultiples of a Month", "S&emi-Monthly", "&Actual Days"}));
    EXPECT_FALSE(v.unitPeriodShown || v.calendarShown);
    EXPECT_EQ(LoanTermsLayout(*r, state, {0, 1}).unitPeriodCaption, "Months in Unit Period:");
}

TEST(loan_terms_choice_change, asks_only_when_a_schedule_was_entered) {
    auto r = std::make_unique<LoanRecord>();
    EXPECT_FALSE(ChoiceChangeQuestion(*r, ChoiceGroup::LoanType).has_value());
    r->gaPymtAmt[1] = "$88.85";
    EXPECT_EQ(ChoiceChangeQuestion(*r, ChoiceGroup::LoanType).value_or(""),
              "Changing the loan type will cause deletion of any payment information and calendar date(s) you may have "
              "entered.");
    EXPECT_EQ(ChoiceChangeQuestion(*r, ChoiceGroup::Frequency).value_or(""),
              "Changing the payment frequency will cause deletion of any payment information and calendar date(s) you "
              "may have entered.");
    r->gdCalUnitPeriods = 3;
    r->gdCalOddDays = 12;
    r->gaUnitPeriods[1] = "5";
    ApplyChoiceChange(*r, ChoiceGroup::Frequency);
    EXPECT_EQ(r->gdCalUnitPeriods + r->gdCalOddDays, 0);
    EXPECT_EQ(r->gaUnitPeriods[1], "5");
    ApplyChoiceChange(*r, ChoiceGroup::LoanType);
    EXPECT_EQ(r->gaUnitPeriods[1] + r->gaOddDays[1], "00");
}

TEST(loan_terms_unit_period_text, yearly_or_365_day_periods_empty_stream_one_timing) {
    struct Row {
        std::int16_t code;
        const char* text;
        bool emptied;
    };
    const Row rows[] = {{6, "365", true}, {6, "36", false}, {2, "12", true}, {2, "1", false}, {1, "12", false}};
    for (const Row& row : rows) {
        auto r = std::make_unique<LoanRecord>();
        r->giPymtFreq = row.code;
        r->gaUnitPeriods[1] = "1";
        r->gaOddDays[1] = "0";
        UnitPeriodTextChanged(*r, row.text);
        EXPECT_EQ(r->gaUnitPeriods[1] + r->gaOddDays[1], row.emptied ? "" : "10")
            << "code " << row.code << " text " << row.text;
    }
}

TEST(loan_terms_calendar, hands_back_the_term_or_the_days) {
    LoanRecord r;
    r.giPymtFreq = 5;
    r.dMonths = 18;
    EXPECT_EQ(CalendarUnitPeriodText(r).value_or(""), "18");
    r.giPymtFreq = 6;
    r.gdDaysinUnitPd = 200;
    EXPECT_EQ(CalendarUnitPeriodText(r).value_or(""), "200");
    r.giPymtFreq = 1;
    EXPECT_FALSE(CalendarUnitPeriodText(r).has_value());
}

}  // namespace
}  // namespace tallex
