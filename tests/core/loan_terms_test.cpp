// The loan terms page's rules: key filters, field checks, the completeness check and the
// unit-period basis that Continue fixes. Expected values are the page's stated rules and
// examples, worked by hand.

#include "engine/LoanRecord.h"
#include "entry/LoanTerms.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

namespace tallex {
namespace {

using F = LoanTermsField;

TEST(loan_terms_key_filter, each_box) {
    using Box = KeyVerdict (*)(LoanTermsState&, const EditState&, int);
    struct KeyRow {
        Box box;
        const char* text;
        int selStart, selLength;
        char key;
        bool accepted;
        const char* message;
    };
    const Box amount = AmountFinancedKey, charge = FinanceChargeKey, apr = DisclosedAprKey;
    const char* msg = "For disclosed APR, enter numbers or decimal point only.";
    const char* amountMsg = "For amount financed, enter numbers, minus sign or decimal point only.";
    const char* chargeMsg = "For disclosed finance charge, enter numbers or decimal point only.";
    const KeyRow rows[] = {
        {amount, "12", 2, 0, 'a', false, amountMsg},
        {amount, "12", 2, 0, '-', true, ""},
        {amount, "12", 2, 0, '\b', true, ""},
        {charge, "12", 2, 0, '-', false, chargeMsg},
        {amount, "12.5", 4, 0, '.', false, ""},           // a second point
        {amount, "12.5", 0, 4, '.', true, ""},            // the point is being replaced
        {amount, "123456789012", 12, 0, '3', false, ""},  // twelve digits without a point
        {amount, "12345678901", 11, 0, '2', true, ""},
        {amount, "123456789012", 0, 12, '3', true, ""},    // replacing everything
        {amount, "12345678901.2", 0, 0, '9', false, ""},   // 13 long with one decimal
        {amount, "123456789012.12", 5, 0, '9', true, ""},  // 15 long: the box's own limit
        {amount, "12345678901.12", 3, 0, '9', false, ""},  // 14 long with two decimals
        {amount, "123456789012.3", 3, 0, '9', true, ""},   // 14 long, one decimal
        {charge, "1.25", 4, 0, '7', false, ""},            // a third decimal
        {charge, "1.25", 2, 0, '7', true, ""},             // right after the point
        {charge, "1.2", 3, 0, '7', true, ""},
        {charge, "$1,234.50", 0, 9, '7', true, ""},  // selected on entry, replaced
        // The disclosed APR.
        {apr, "", 0, 0, 'x', false, msg},
        {apr, "", 0, 0, '.', true, ""},
        {apr, "", 0, 0, '0', false, ""},    // 0.5 cannot be typed: no leading zero
        {apr, "12", 0, 2, '0', false, ""},  // nor over a selected entry
        {apr, "8", 1, 0, '0', true, ""},
        {apr, "8.5", 3, 0, '.', false, ""},
        {apr, "1234", 4, 0, '5', false, ""},  // four digits without a point
        {apr, "1234", 4, 0, '.', true, ""},
        {apr, "123.5", 0, 0, '9', false, ""},  // three digits before the point
        {apr, "12.5", 0, 0, '9', true, ""},
        {apr, "8.123456", 8, 0, '7', false, ""},  // six decimals
        {apr, "8.12345", 7, 0, '6', true, ""},
        {apr, "8.123456", 2, 0, '7', true, ""},  // right after the point
        // One decimal in, the six are full: nothing more fits.
        {apr, "8.123456", 3, 0, '7', false, ""},
    };
    for (const KeyRow& row : rows) {
        LoanTermsState state;
        const KeyVerdict v = row.box(state, {row.text, row.selStart, row.selLength}, row.key);
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
    EXPECT_EQ(std::tie(v.accepted, v.message), std::tuple(false, "For months in unit period, enter numbers only."));
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
    EXPECT_EQ(std::tuple(amount.newText.value_or("(none)"), amount.message, state.validFlag(F::AmountFinanced)),
              std::tuple("$1,234.50", "", true));

    const FieldLeave bad = LeaveLoanTermsField(*r, state, F::AmountFinanced, "-", {});
    EXPECT_EQ(std::pair(bad.newText.has_value(), state.entryBad), std::pair(false, true));

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
    const std::function<void(LoanTermsState&)> entries[] = {
        [](LoanTermsState&) {},  // none: the hold stands
        [](LoanTermsState& state) {
            DisclosedAprKey(state, {"", 0, 0}, '8');
        },
        [](LoanTermsState& state) {
            DisclosedAprKey(state, {"", 0, 0}, 'x');
        },
        [](LoanTermsState& state) { state.TextChanged(); },
    };
    for (std::size_t k = 0; k < std::size(entries); ++k) {
        auto r = std::make_unique<LoanRecord>();
        LoanTermsState state;
        LeaveLoanTermsField(*r, state, F::AmountFinanced, "", {});  // an empty box left
        ASSERT_TRUE(state.entryBad);
        entries[k](state);
        LeaveLoanTermsField(*r, state, F::DisclosedApr, "8.25", {});
        EXPECT_EQ(std::pair(state.validFlag(F::DisclosedApr), state.entryBad), std::pair(k > 0, k == 0)) << k;
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
        r->gsLoanDate = r->gsEndDate = r->gsAmortPymtDate = "01-15-2026";
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
        EXPECT_EQ(std::tie(r->gbSingleAdvance, r->gdAmount, r->gdDisclAPR, r->gdEstFinanceChg, r->gbCalFilledSchedule),
                  std::tuple(row.type == 1, 1234.5, 8.25, 0.0, false))
            << where;
        EXPECT_EQ(r->gsLoanDate + r->gsEndDate + r->gsAmortPymtDate, "") << where;
    }
}

TEST(loan_terms_continue, amounts_are_taken_to_cents_as_shown) {
    auto r = std::make_unique<LoanRecord>();
    LoanTermsState state;
    const LoanTermsEntries e = Entries("$1,234.50", "12.125", "$250.005", "", 0, 0);
    ASSERT_FALSE(Continue(*r, state, e).refusal.has_value());
    EXPECT_EQ(std::tie(r->gdAmount, r->gdDisclAPR, r->gdEstFinanceChg), std::tuple(1234.5, 12.125, 250.01));
}

// Continue checks that every box holds a number, in page order (the refusal names an empty or
// wrong box), then that every box left was accepted; a refusal writes nothing.
TEST(loan_terms_continue, refusals_in_page_order_write_nothing) {
    struct Row {
        LoanTermsEntries entries;
        const char* message;
        F field;
        bool emptyField, leaveFirst = true;
    };
    const Row rows[] = {
        {Entries("", "8", "", "", 0, 0), "Please input Amount Financed.", F::AmountFinanced, true},
        {Entries("-", "8", "", "", 0, 0), "Please enter integers for Amount Financed.", F::AmountFinanced, true},
        {Entries("$.00", "8", "", "", 0, 0), "Amount Financed can't be zero.", F::AmountFinanced, true},
        {Entries("100", "", "", "", 0, 0), "Please input Disclosed APR.", F::DisclosedApr, true},
        {Entries("100", ".", "", "", 0, 0), "Please enter integers for Disclosed APR.", F::DisclosedApr, true},
        {Entries("100", "0", "", "", 0, 0), "Disclosed APR can't be zero.", F::DisclosedApr, true},
        {Entries("100", "8", ".", "", 0, 0), "Please enter integers for Disclosed Finance Charge.", F::FinanceCharge,
         true},
        {Entries("100", "8", "", "", 0, 1), "Please input Unit Period.", F::UnitPeriod, true},
        {Entries("100", "8", "", "0", 1, 0), "Enter Unit Period value greater than zero.", F::UnitPeriod, true},
        {Entries("100", "8", "", "", 0, 0),
         "For amount financed, enter a dollar amount using the following format: #,###.##", F::AmountFinanced, false,
         false},
        {Entries("100", "10000", "", "", 0, 0), "Disclosed APR must be between 1 and 9999.", F::DisclosedApr, false},
        {Entries("100", "8", "", "1", 0, 1), "For months in unit period, enter a number from 2 to 12.", F::UnitPeriod,
         false},
        {Entries("100", "8", "", "400", 0, 3), "For days in unit period, enter a number from 1 to 365.", F::UnitPeriod,
         false},
    };
    for (const Row& row : rows) {
        auto r = std::make_unique<LoanRecord>();
        LoanTermsState state;
        LoanTermsLayout(*r, state, row.entries.choice);
        const auto result =
            row.leaveFirst ? Continue(*r, state, row.entries) : LoanTermsContinue(*r, state, row.entries);
        ASSERT_TRUE(result.refusal.has_value()) << row.message;
        EXPECT_EQ(std::tie(result.refusal->message, result.refusal->field, result.refusal->emptyField),
                  std::tuple(row.message, row.field, row.emptyField));
        EXPECT_EQ(r->gdAmount + r->gdDaysinUnitPd, 0) << row.message;
    }
    EXPECT_FALSE(Check_Data_Entry(Entries("100", "8", "", "", 0, 0)).has_value());  // hidden unit period
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
    EXPECT_EQ(v.frequencyCaptions, (std::array<std::string, 4>{"&Whole Number of Months", "&Actual Days", "", ""}));
    EXPECT_EQ(std::tuple(v.unitPeriodCaption, v.frequencyShown[2], v.calendarShown && v.calendarEnabled, r->giPymtFreq),
              std::tuple("Months in Loan Term:", false, true, 5));
    v = LoanTermsLayout(*r, state, {1, 1});
    EXPECT_EQ(std::tuple(v.unitPeriodCaption, r->giPymtFreq), std::tuple("Days in Unit Period:", 6));
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
    for (const auto& [code, text, emptied] :
         {std::tuple(6, "365", true), std::tuple(6, "36", false), std::tuple(2, "12", true), std::tuple(2, "1", false),
          std::tuple(1, "12", false)}) {
        auto r = std::make_unique<LoanRecord>();
        r->giPymtFreq = static_cast<std::int16_t>(code);
        r->gaUnitPeriods[1] = "1";
        r->gaOddDays[1] = "0";
        UnitPeriodTextChanged(*r, text);
        EXPECT_EQ(r->gaUnitPeriods[1] + r->gaOddDays[1], emptied ? "" : "10") << "code " << code << " text " << text;
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
