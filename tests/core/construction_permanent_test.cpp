// The construction interest page (permanent-phase terms): the estimate shown on activation, the
// field checks with their messages, and Continue's amount financed, single payment and
// permanent-phase frequency. Expected amounts are the construction rules' examples (49,000.00,
// 55,000.00, 94,000.00) or worked by hand from the unit-period rules.

#include "construction/ConstChoices.h"
#include "construction/ConstPermanentTerms.h"
#include "engine/LoanRecord.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tallex {
namespace {

// Commitment 100,000.00, prepaid 1,000.00, subsequently paid 500.00, an 18-month construction
// phase of whole months disclosed separately.
struct Page {
    std::unique_ptr<LoanRecord> record = std::make_unique<LoanRecord>();
    ScriptedUser user;
    Page(std::int16_t disc = kDiscConstructionOnly) {
        LoanRecord& r = *record;
        r.construction.optDiscType = disc;
        r.gbConstOptDisc = disc == kDiscConstructionOnly;
        r.gdCommitmentAmt = 100000;
        r.gdPrepaidFinChg = 1000;
        r.gdSubseqFinChg = 500;
        r.gdSimpleIntRate = 9;
        r.gdConstMonths = 18;
        r.gdConstDaysinYr = 360;
        r.gdCalUnitPeriods = 1;
        r.gdCalOddDays = 180;
        r.gbBackFromReimb = true;
    }
    ConstInterestContinueResult cont(ConstInterestEntries e) { return ConstInterestContinue(*record, user, e); }
};

ConstPermanentChoice Permanent(bool single, std::int16_t frequency) {
    ConstPermanentChoice p;
    p.singleAdvance = single;
    p.frequency = frequency;
    return p;
}

TEST(construction_amount_financed, construction_only_is_one_payment_of_half_the_commitment_and_charges) {
    Page page;
    const ConstInterestContinueResult out = page.cont({"$4,500.00", "10", "", "", {}});
    ASSERT_TRUE(out.check.passed) << out.check.message;
    const LoanRecord& r = *page.record;
    EXPECT_EQ(out.next, ConstInterestNext::ConstructionResults);
    EXPECT_EQ(r.gdEstConstInterest, 4500);
    EXPECT_EQ(r.gdConstIntBase, 50000);
    EXPECT_EQ(r.gdAmount, 49000);  // 50,000 - 1,000
    EXPECT_EQ(r.gaPymtAmt[1], "55000");  // 50,000 + 4,500 + 500
    EXPECT_EQ(r.gaNumPymts[1], "1");
    EXPECT_EQ(r.gaUnitPeriods[1], "1");
    EXPECT_EQ(r.gaOddDays[1], "180");
    EXPECT_EQ(r.gdDisclAPR, 10);
    EXPECT_FALSE(r.gbBackFromReimb);
}

TEST(construction_amount_financed, with_permanent_financing_the_charges_come_off_the_commitment) {
    Page page(kDiscWithPermanent);
    const ConstInterestContinueResult out = page.cont({"4500", "10", "$6,000.00", "", Permanent(false, 0)});
    ASSERT_TRUE(out.check.passed) << out.check.message;
    EXPECT_EQ(out.next, ConstInterestNext::Schedule);
    EXPECT_EQ(page.record->gdAmount, 94000);  // 100,000 - 4,500 - 1,000 - 500
    EXPECT_EQ(page.record->gdEstFinanceChg, 6000);
    EXPECT_EQ(page.record->gaPymtAmt[1], "");  // the user enters the permanent payments
}

TEST(construction_amount_financed, a_money_estimate_keeps_its_cents_after_whole_number_cells) {
    Page page;
    page.record->gbIntegerEntry = true;  // left so by the schedule's whole-number cells
    const ConstInterestContinueResult out = page.cont({"$1,234.567", "10", "", "", {}});
    ASSERT_TRUE(out.check.passed) << out.check.message;
    EXPECT_DOUBLE_EQ(page.record->gdEstConstInterest, 1234.57);
    EXPECT_EQ(page.record->gaPymtAmt[1], "51734.57");
}

TEST(construction_interest_continue, refusals) {
    const std::string kDollars = "Enter dollar amount using the following format: #,###.##";
    struct Row { ConstInterestEntries e; std::int16_t disc; std::string message; int focus; };
    const Row rows[] = {
        {{"abc", "10", "", "", {}}, kDiscConstructionOnly, kDollars, kInterestAmount},
        {{"4500", "0.5", "", "", {}}, kDiscConstructionOnly,
         "Enter a number greater than or equal to 1 for disclosed or estimated APR.", kInterestDisclAPR},
        {{"4500", "", "", "", {}}, kDiscConstructionOnly,
         "Enter a number greater than or equal to 1 for disclosed or estimated APR.", kInterestDisclAPR},
        {{"4500", "10", "x", "", {}}, kDiscConstructionOnly, kDollars, kInterestFinChg},
        {{"4500", "10", "", "13", Permanent(false, 1)}, kDiscWithPermanent,
         "Enter a number between 2 and 12 for the months in unit period.", kInterestUnitPeriod},
        {{"4500", "10", "", "", Permanent(false, 3)}, kDiscWithPermanent,
         "Enter a number between 1 and 365 for the days in unit period.", kInterestUnitPeriod},
        {{"4500", "10", "", "0", Permanent(true, 0)}, kDiscWithPermanent,
         "Enter a number greater than 0 for the months in loan term.", kInterestUnitPeriod},
        {{"4500", "10", "", "366", Permanent(true, 1)}, kDiscWithPermanent,
         "Enter a number between 1 and 365 for the days in unit period.", kInterestUnitPeriod},
    };
    for (const Row& row : rows) {
        Page page(row.disc);
        const ConstInterestContinueResult out = page.cont(row.e);
        SCOPED_TRACE(row.message + " / amount \"" + row.e.amtInt + "\" APR \"" + row.e.discAPR + "\" unit period \"" +
                     row.e.unitPeriod + "\"");
        EXPECT_FALSE(out.check.passed);
        EXPECT_EQ(out.check.message, row.message);
        EXPECT_EQ(out.check.focusField, row.focus);
        ASSERT_EQ(page.user.prompts().size(), 1u);
        EXPECT_EQ(page.user.prompts()[0].text, row.message);
        EXPECT_EQ(page.user.prompts()[0].style, 48);
        EXPECT_EQ(page.record->gdAmount, 0);
        EXPECT_TRUE(page.record->gbBackFromReimb);
    }
}

TEST(construction_interest_continue, an_empty_finance_charge_leaves_the_disclosed_one_alone) {
    Page page;
    page.record->gdEstFinanceChg = 123;
    ASSERT_TRUE(page.cont({"4500", "10", "", "", {}}).check.passed);
    EXPECT_EQ(page.record->gdEstFinanceChg, 123);
}

TEST(construction_permanent_frequency, follows_the_loan_terms_rules) {
    struct Row {
        const char* name;
        ConstPermanentChoice p;
        const char* unitPeriod;
        int freq;
        double unitDays, yearDays, months;
        const char* text;
    };
    const Row rows[] = {
        {"monthly", Permanent(false, 0), "", kFreqMonthly, 30, 360, 0, "Monthly"},
        {"every 6 months", Permanent(false, 1), "6", kFreqMultiplesOfMonth, 180, 360, 6, "Multiples of a Month"},
        {"semi-monthly", Permanent(false, 2), "", kFreqSemiMonthly, 15, 360, 0, "Semi-Monthly"},
        {"every 14 days: whole weeks", Permanent(false, 3), "14", kFreqActualDaysInstallment, 14, 364, 0, "Actual Days"},
        {"every 15 days", Permanent(false, 3), "15", kFreqActualDaysInstallment, 15, 365, 0, "Actual Days"},
        {"single payment after 18 months", Permanent(true, 0), "18", kFreqEqualMonthsSingle, 360, 360, 18,
         "Whole Number of Months"},
        {"single payment after 200 days", Permanent(true, 1), "200", kFreqActualDaysSingle, 200, 365, 0, "Actual Days"},
    };
    for (const Row& row : rows) {
        Page page(kDiscWithPermanent);
        page.record->dMonths = 0;
        const ConstInterestContinueResult out = page.cont({"4500", "10", "", row.unitPeriod, row.p});
        const LoanRecord& r = *page.record;
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(out.check.passed) << out.check.message;
        EXPECT_EQ(r.giPymtFreq, row.freq);
        EXPECT_EQ(r.gdDaysinUnitPd, row.unitDays);
        EXPECT_EQ(r.gdDaysinYr, row.yearDays);
        EXPECT_EQ(r.dMonths, row.months);
        EXPECT_EQ(r.gsPymtFreqText, row.text);
        EXPECT_EQ(r.gbSingleAdvance, row.p.singleAdvance);
    }
}

TEST(construction_permanent_frequency, single_payment_of_18_months_is_a_year_and_180_odd_days) {
    Page page(kDiscWithPermanent);
    page.record->gdCalUnitPeriods = 0;
    page.record->gdCalOddDays = 0;
    ASSERT_TRUE(page.cont({"4500", "10", "", "18", Permanent(true, 0)}).check.passed);
    EXPECT_EQ(page.record->gdCalUnitPeriods, 1);
    EXPECT_EQ(page.record->gdCalOddDays, 180);
    EXPECT_EQ(page.record->gdConstMonths, 18);  // the construction phase keeps its own months
}

TEST(construction_permanent_frequency, single_payment_drops_later_streams) {
    Page page(kDiscWithPermanent);
    LoanRecord& r = *page.record;
    r.gaPymtAmt[1] = "500";
    r.gaPymtAmt[2] = "600";
    const ConstInterestContinueResult out = page.cont({"4500", "10", "", "200", Permanent(true, 1)});
    ASSERT_TRUE(out.check.passed);
    EXPECT_TRUE(out.reloadSchedule);
    EXPECT_EQ(r.gaPymtAmt[1] + r.gaPymtAmt[2], "");

    Page one(kDiscWithPermanent);
    one.record->gaPymtAmt[1] = "500";
    EXPECT_FALSE(one.cont({"4500", "10", "", "200", Permanent(true, 1)}).reloadSchedule);
    EXPECT_EQ(one.record->gaPymtAmt[1], "500");
}

TEST(construction_interest_activation, shows_the_estimate_or_asks_for_it) {
    Page page;
    page.record->construction.optInterestType = kInterestOnAdvances;
    page.record->construction.optIntAccrl = kAccrualWholeMonths;
    page.record->gdSimpleIntRate = 10;
    page.record->dPval = 5;
    const ConstInterestActivation shown = ConstInterestActivate(*page.record);
    EXPECT_EQ(shown.initialEstimate, "$7,500.00");  // 0.10 x 50,000 / 360 x 18 x 30
    EXPECT_TRUE(shown.initialValueShown);
    EXPECT_EQ(page.record->dPval, 0);

    page.record->construction.optIntAccrl = kAccrualOther;
    const ConstInterestActivation typed = ConstInterestActivate(*page.record);
    EXPECT_EQ(typed.initialEstimate, "$0.00");
    EXPECT_FALSE(typed.initialValueShown);
}

TEST(construction_interest_fields, leave_checks_and_keys) {
    const ConstPermanentChoice p = Permanent(false, 0);
    EXPECT_EQ(ConstInterestFieldCheck(kInterestAmount, "", p).text, "0");
    EXPECT_TRUE(ConstInterestFieldCheck(kInterestAmount, "", p).valid);
    EXPECT_TRUE(ConstInterestFieldCheck(kInterestAmount, "-12.5", p).valid);
    EXPECT_EQ(ConstInterestFieldCheck(kInterestFinChg, "6000", p).text, "$6,000.00");
    EXPECT_EQ(ConstInterestKeyMessage(kInterestAmount, ""), "Enter numbers, minus sign or decimal point only");
    EXPECT_EQ(ConstInterestKeyMessage(kInterestDisclAPR, ""), "For disclosed APR, enter numbers or decimal point only.");
    EXPECT_EQ(ConstInterestKeyMessage(kInterestFinChg, ""),
              "For disclosed finance charge, enter numbers or decimal point only.");
    EXPECT_EQ(ConstInterestKeyMessage(kInterestUnitPeriod, "Months in Loan Term:"),
              "Enter numbers only for the months in loan term.");

    struct Key { const char* text; std::size_t caret; char key; KeyVerdict verdict; };
    const Key keys[] = {
        {"12", 2, 'a', KeyVerdict::RefuseWithMessage}, {"12", 2, '-', KeyVerdict::Accept},
        {"12.5", 4, '.', KeyVerdict::Refuse},          {"12.34", 5, '5', KeyVerdict::Refuse},
        {"12.3", 4, '4', KeyVerdict::Accept},          {"12.34", 3, '5', KeyVerdict::Accept},
        {"12.34", 1, '5', KeyVerdict::Accept},         {"12.34", 5, '\b', KeyVerdict::Accept},
    };
    for (const Key& k : keys) {
        EXPECT_EQ(ConstInterestAmountKey(k.text, k.caret, k.key), k.verdict)
            << "text \"" << k.text << "\", caret " << k.caret << ", key " << k.key;
    }
}

}  // namespace
}  // namespace tallex
