// The construction loan terms page's rules: field checks, Continue's refusals and stores, the
// loan-type descriptions and the change of disclosure option. Expected texts are the system's
// own; expected amounts are the typed ones read as the page's formats read them.

#include "construction/ConstChoices.h"
#include "construction/ConstLoanTerms.h"
#include "engine/LoanRecord.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tallex {
namespace {

struct Page {
    std::unique_ptr<LoanRecord> record = std::make_unique<LoanRecord>();
    ScriptedUser user;
    ConstContinueResult cont(const ConstLoanTermsEntries& e) { return ConstLoanTermsContinue(*record, user, e); }
};

TEST(construction_terms_field_check, rewrites_and_verdicts) {
    struct Row { int field; const char* typed; bool valid; const char* shown; };
    const Row rows[] = {
        {kTermsLoanAmt, "100000", true, "$100,000.00"},
        {kTermsLoanAmt, "1234.5", true, "$1,234.50"},
        {kTermsLoanAmt, "$1,234.56", true, "$1,234.56"},
        {kTermsLoanAmt, "", false, ""},
        {kTermsLoanAmt, "abc", false, "abc"},
        {kTermsSimpleInt, "9.5", true, "9.5"},
        {kTermsSimpleInt, "10", true, "10."},
        {kTermsSimpleInt, "1", true, "1."},
        {kTermsSimpleInt, "0.5", false, ".5"},
        {kTermsSimpleInt, "", false, ""},
        {kTermsPrepdFinChg, "", true, ""},
        {kTermsPrepdFinChg, "1000", true, "$1,000.00"},
        {kTermsSubFinChg, "x", false, "x"},
    };
    for (const Row& row : rows) {
        const ConstFieldLeave leave = ConstLoanTermsFieldCheck(row.field, row.typed);
        SCOPED_TRACE("field " + std::to_string(row.field) + ", typed \"" + row.typed + "\"");
        EXPECT_EQ(leave.valid, row.valid);
        EXPECT_EQ(leave.text, row.shown);
    }
}

TEST(construction_terms_continue, refusals_in_field_order) {
    struct Row { ConstLoanTermsEntries e; std::string message; int focus; };
    const Row rows[] = {
        {{"", "", "", ""}, "Enter loan commitment amount using the following format: #,###.##", kTermsLoanAmt},
        // A rate never typed in is refused like a wrong one.
        {{"$100,000.00", "", "", ""}, "Annual simple interest rate must be greater than or equal to 1.", kTermsSimpleInt},
        {{"$100,000.00", ".5", "", ""}, "Annual simple interest rate must be greater than or equal to 1.", kTermsSimpleInt},
        {{"$100,000.00", "10", "a", ""}, "Enter prepaid finance charge using the following format: #,###.##",
         kTermsPrepdFinChg},
        {{"$100,000.00", "10", "", "a"}, "Enter subsequently paid finance charge using the following format: #,###.##",
         kTermsSubFinChg},
    };
    for (const Row& row : rows) {
        Page page;
        const ConstContinueResult out = page.cont(row.e);
        SCOPED_TRACE(row.message);
        EXPECT_FALSE(out.passed);
        EXPECT_EQ(out.message, row.message);
        EXPECT_EQ(out.focusField, row.focus);
        ASSERT_EQ(page.user.prompts().size(), 1u);
        EXPECT_EQ(page.user.prompts()[0].text, row.message);
        EXPECT_EQ(page.user.prompts()[0].style, 48);
        EXPECT_EQ(page.record->gdCommitmentAmt, 0);  // nothing stored before every check passed
    }
}

TEST(construction_terms_continue, stores_the_figures) {
    Page page;
    page.record->construction.optInterestType = kInterestOnCommitment;
    const ConstContinueResult out = page.cont({"$1,234.567", "1", "", ""});
    ASSERT_TRUE(out.passed) << out.message;
    const LoanRecord& r = *page.record;
    EXPECT_DOUBLE_EQ(r.gdCommitmentAmt, 1234.57);
    EXPECT_EQ(r.gdSimpleIntRate, 1);
    EXPECT_EQ(r.gdPrepaidFinChg, 0);  // empty charges are 0
    EXPECT_EQ(r.gdSubseqFinChg, 0);
    EXPECT_EQ(r.gsLoanType, "Construction Only Loan (Interest on Entire Commitment Amount)");
    EXPECT_TRUE(r.gbConstOptDisc);
}

TEST(construction_terms_continue, construction_only_needs_more_than_the_prepaid_charge) {
    const std::string kMessage =
        "The sum of loan commitment amount plus subsequently paid finance charge must be greater than the prepaid "
        "finance charge .";
    struct Row { std::int16_t disc; const char *commitment, *prepaid, *subsequent; bool passes; };
    const Row rows[] = {
        {kDiscConstructionOnly, "10000", "10000", "", false},
        {kDiscWithPermanent, "10000", "10000", "", true},
        {kDiscConstructionOnly, "10000", "10000", "0.01", true},
        {kDiscConstructionOnly, "10000", "10000.01", "", false},
    };
    for (const Row& row : rows) {
        Page page;
        page.record->construction.optDiscType = row.disc;
        const ConstContinueResult out = page.cont({row.commitment, "8", row.prepaid, row.subsequent});
        SCOPED_TRACE(std::string("disclosure ") + std::to_string(row.disc) + ", prepaid " + row.prepaid +
                     ", subsequent \"" + row.subsequent + "\"");
        EXPECT_EQ(out.passed, row.passes);
        if (!row.passes) {
            EXPECT_EQ(out.message, kMessage);
            EXPECT_EQ(out.focusField, kTermsLoanAmt);
            EXPECT_EQ(page.record->gdCommitmentAmt, 10000);  // stored before this check
        }
    }
}

TEST(construction_terms, loan_type_descriptions) {
    struct Row { std::int16_t disc, interest; const char* text; };
    const Row rows[] = {
        {kDiscConstructionOnly, kInterestOnAdvances, "Construction Only Loan (Interest on Advances Only)"},
        {kDiscConstructionOnly, kInterestOnCommitment, "Construction Only Loan (Interest on Entire Commitment Amount)"},
        {kDiscWithPermanent, kInterestOnAdvances, "Construction/Permanent Loan (Interest on Advances Only)"},
        {kDiscWithPermanent, kInterestOnCommitment, "Construction/Permanent Loan (Interest on Entire Commitment Amount)"},
    };
    for (const Row& row : rows) {
        ConstructionChoices c;
        c.optDiscType = row.disc;
        c.optInterestType = row.interest;
        EXPECT_EQ(ConstLoanTypeText(c), row.text);
    }
}

TEST(construction_terms, key_refusal_messages) {
    EXPECT_EQ(ConstLoanTermsKeyMessage(kTermsLoanAmt), "For loan commitment amount, enter numbers or decimal point only.");
    EXPECT_EQ(ConstLoanTermsKeyMessage(kTermsSimpleInt),
              "For annual simple interest rate, enter numbers or decimal point only.");
    EXPECT_EQ(ConstLoanTermsKeyMessage(kTermsPrepdFinChg), "For prepaid finance charge, enter numbers or decimal point only.");
    EXPECT_EQ(ConstLoanTermsKeyMessage(kTermsSubFinChg),
              "For subsequently paid finance charge, enter numbers or decimal point only.");
}

TEST(construction_terms_disclosure_option, change_deletes_the_schedule_only_when_confirmed) {
    const std::string kQuestion =
        "Changing the financing disclosure options will cause deletion of any payment information and calendar "
        "date(s) you may have entered.";
    struct Row { const char* name; const char* amount; short answer; std::int16_t pressed; DiscTypeChange expected; };
    const Row rows[] = {
        {"empty schedule: no question", "", 0, kDiscWithPermanent, DiscTypeChange::Changed},
        {"the selected option: nothing", "100", 0, kDiscConstructionOnly, DiscTypeChange::Unchanged},
        {"cancelled", "100", kAnswerCancel, kDiscWithPermanent, DiscTypeChange::Unchanged},
        {"confirmed", "100", kAnswerOk, kDiscWithPermanent, DiscTypeChange::ChangedScheduleCleared},
    };
    for (const Row& row : rows) {
        Page page;
        LoanRecord& r = *page.record;
        r.gaPymtAmt[1] = row.amount;
        r.gsLoanDate = "01-15-2026";
        if (row.answer) page.user.queue(row.answer);
        const DiscTypeChange change = ConstDiscTypeChange(r, page.user, row.pressed);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(change, row.expected);
        const bool asked = row.answer != 0;
        ASSERT_EQ(page.user.prompts().size(), asked ? 1u : 0u);
        if (asked) {
            EXPECT_EQ(page.user.prompts()[0].text, kQuestion);
            EXPECT_EQ(page.user.prompts()[0].style, 49);
        }
        const bool cleared = row.expected == DiscTypeChange::ChangedScheduleCleared;
        EXPECT_EQ(r.gaPymtAmt[1], cleared ? "" : row.amount);
        EXPECT_EQ(r.gsLoanDate, cleared ? "" : "01-15-2026");
        EXPECT_EQ(r.construction.optDiscType, row.expected == DiscTypeChange::Unchanged ? kDiscConstructionOnly : row.pressed);
    }
}

}  // namespace
}  // namespace tallex
