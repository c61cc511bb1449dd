// Stream timing in the case replay: dates go through the calculator the page opens for the loan,
// entries the page does not offer are refused with the key named, a refused calculator leaves
// the record as the page leaves it once the user cancels, and what a calculator hands a page is
// taken as the page takes it. Open Case shows the boxes as the pages hold them when one refuses,
// and a question the case cannot answer ends it.

#include "CaseFile.h"
#include "CaseReplay.h"
#include "CaseUser.h"
#include "hand_figures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallex::casefile {
namespace {

// A construction loan disclosed with its permanent financing: 9 % on advances, estimate 2,500
// (so amount financed 100,000 - 2,500 - 1,000 - 500 = 96,000), construction 01-15-2026 to
// `endDate` (08-03-2026: 6 months 19 days), monthly permanent payments.
std::string PermanentLoan(const std::string& endDate, const std::string& schedule) {
    return R"({"kind":"construction","disclosed_apr":"8.25","frequency":"monthly","construction":{"commitment":)"
           R"("100000","simple_rate":"9","prepaid_finance_charge":"1000","subsequent_finance_charge":"500",)"
           R"("disclosure":"with_permanent","accrual":"365/360","time_period":"200","estimated_interest":"2500")" +
           (endDate.empty() ? "" : R"(,"construction_end_date":")" + endDate + "\"") + R"(},"schedule":)" + schedule +
           "}";
}

// A construction-only loan in actual days (365/365), 9 % on advances, estimate 5,000: amount
// financed 50,000 - 1,000 = 49,000, one payment of 50,000 + 5,000 + 500 = 55,500.
std::string SeparateLoan(const std::string& dates) {
    return R"({"kind":"construction","disclosed_apr":"12","construction":{"commitment":"100000","simple_rate":)"
           R"("9","prepaid_finance_charge":"1000","subsequent_finance_charge":"500","disclosure":"separately",)"
           R"("accrual":"365/365","estimated_interest":"5000",)" +
           dates + "}}";
}

// 1,000 lent for one payment of 1,050, its term typed in `frequency` units.
std::string SingleLoan(const std::string& frequency, const std::string& unitPeriod, const std::string& stream) {
    return R"({"amount_financed":"1000","disclosed_apr":"10","loan_type":"single","frequency":")" + frequency +
           R"(","unit_period":")" + unitPeriod + R"(","schedule":[{"amount":"1050","payments":"1")" + stream + "}]}";
}

// The case run; its error, if any, in `error`.
std::unique_ptr<LoanRecord> Replay(const std::string& json, std::optional<CaseError>& error) {
    CaseFile c;
    EXPECT_FALSE(ParseCase(json, c));
    CaseOutcome outcome;
    error = RunCase(c, outcome);
    return std::move(outcome.record);
}

// The stream cells as the page holds them at the end.
void ExpectStreams(const LoanRecord& r, const std::vector<Stream>& streams) {
    for (std::size_t k = 1; k <= streams.size(); ++k) {
        EXPECT_EQ(r.gaUnitPeriods[k], std::to_string(streams[k - 1].unitPeriods)) << "stream " << k;
        EXPECT_EQ(r.gaOddDays[k], std::to_string(streams[k - 1].oddDays)) << "stream " << k;
    }
}

TEST(case_replay, streams_timed_by_dates_run_at_the_rate_that_discounts_them) {
    struct Expected {
        std::vector<Stream> streams;
        double amountFinanced, unitDays, yearDays;
    };
    const std::pair<Expected, std::string> rows[] = {
        // Stream dates of a construction and permanent loan, measured from three dates, U = 30:
        // construction Mc 6, Dc 19; half of 30 x 6 + 19 = 199 rounds up to 100 = 3 periods + r 10.
        // Stream 1 to 09-01-2026: permanent Mp 0, Dp 29 (08-03 to 09-01); 10 + 29 = 39 = 1 period
        // + 9, so 0 + 3 + 1 = 4 periods and 9 odd days. Stream 2 to 10-15-2027: Mp 14, Dp 12;
        // 10 + 12 = 22, so 14 + 3 = 17 periods and 22 odd days.
        {{{{770, 12, 4, 9}, {780, 348, 17, 22}}, 96000, 30, 360},
         PermanentLoan(
             "08-03-2026",
             R"([{"amount":"770","payments":"12","loan_date":"01-15-2026","first_payment_date":"09-01-2026"},)"
             R"({"amount":"780","payments":"348","loan_date":"01-15-2026","first_payment_date":"10-15-2027"}])")},
        // A construction phase in actual days measured by the phase page's calendar over a year:
        // the period becomes 365 days and the calendar's unit periods and odd days are taken.
        // 01-15-2026 to 03-01-2027: 1 whole year back from 03-01-2027 is 03-01-2026, day 60 of
        // the year, less day 15: 1 period and 45 odd days.
        {{{{55500, 1, 1, 45}}, 49000, 365, 365},
         SeparateLoan(R"("loan_date":"01-15-2026","construction_end_date":"03-01-2027")")},
        // 01-15-2026 to 01-20-2028: 2 whole years and 20 - 15 = 5 odd days.
        {{{{55500, 1, 2, 5}}, 49000, 365, 365},
         SeparateLoan(R"("loan_date":"01-15-2026","construction_end_date":"01-20-2028")")},
    };
    for (const auto& [want, json] : rows) {
        SCOPED_TRACE(json);
        std::optional<CaseError> error;
        const auto r = Replay(json, error);
        ASSERT_FALSE(error) << error->key << ": " << error->message;
        EXPECT_NEAR(r->gdCalcAPR, AprByBisection(want.amountFinanced, want.streams, want.unitDays, want.yearDays),
                    1e-4);
        EXPECT_EQ(r->gdDaysinUnitPd, want.unitDays);
        EXPECT_EQ(r->gdDaysinYr, want.yearDays);
        ExpectStreams(*r, want.streams);
    }
    // A later stream dated from another loan date: the Calendar notes that the rows measured
    // before are not measured again, and the case goes on.
    CaseFile twoDates;
    ASSERT_FALSE(
        ParseCase(R"({"amount_financed":"2000","disclosed_apr":"12","schedule":[)"
                  R"({"amount":"100","payments":"12","loan_date":"01-15-2026","first_payment_date":"02-15-2026"},)"
                  R"({"amount":"100","payments":"12","loan_date":"01-20-2026","first_payment_date":"02-15-2027"}]})",
                  twoDates));
    CaseOutcome outcome;
    ASSERT_FALSE(RunCase(twoDates, outcome));
    ASSERT_EQ(outcome.notes.size(), 1u);
    EXPECT_TRUE(outcome.notes[0].starts_with("Note that you have just changed a date (Loan Date) "))
        << outcome.notes[0];
    // The same for the permanent phase of a construction loan.
    CaseFile permanent;
    ASSERT_FALSE(ParseCase(
        PermanentLoan(
            "08-03-2026",
            R"([{"amount":"4500","payments":"12","loan_date":"01-15-2026","first_payment_date":"09-03-2026"},)"
            R"({"amount":"4500","payments":"12","loan_date":"01-20-2026","first_payment_date":"09-03-2027"}])"),
        permanent));
    CaseOutcome later;
    ASSERT_FALSE(RunCase(permanent, later));
    ASSERT_EQ(later.notes.size(), 1u);
    EXPECT_TRUE(later.notes[0].starts_with("Note that you have just changed a date (Loan Date) ")) << later.notes[0];
}

constexpr const char* kSingleHasNoCalendar =
    "a single advance / single payment loan is timed by its unit_period: the payment schedule's Calendar is not "
    "available for it";

// The calculators' own messages are the core's; here the key that names them.
TEST(case_replay, an_entry_the_pages_refuse_ends_the_case_naming_its_key) {
    struct Expected {
        const char* key;
        const char* message = "";        // checked where given
        std::vector<Stream> streams{};   // the stream cells as the page holds them at the end
        bool calendarCancelled = false;  // refused inside a calculator, which only Cancel leaves
    };
    const std::pair<Expected, std::string> rows[] = {
        // The three-date calculator refuses a loan date after the construction period's end; the
        // cells keep the defaults that the number of payments filled in.
        {{"schedule[1]", "", {{770, 360, 1, 0}}, true},
         PermanentLoan(
             "08-03-2026",
             R"([{"amount":"770","payments":"360","loan_date":"09-01-2026","first_payment_date":"10-01-2026"}])")},
        // A date the Calendar refuses as its box is left names that date.
        {{"schedule[1].first_payment_date"},
         R"({"amount_financed":"1000","disclosed_apr":"12","schedule":[{"amount":"88.85","payments":"12",)"
         R"("loan_date":"01-15-2026","first_payment_date":"02-30-2026"}]})"},
        // Without the construction period's end there is no third date to measure from.
        {{"schedule[1]",
          "a construction loan times a payment from the loan date, the construction period end date and the payment "
          "date: give construction.construction_end_date",
          {{770, 360, 1, 0}}},
         PermanentLoan(
             "", R"([{"amount":"770","payments":"360","loan_date":"01-15-2026","first_payment_date":"09-01-2026"}])")},
        // A single payment loan keeps its typed term (6 months; 200 days): its timing cells are
        // fixed at 1 and 0 and the Calendar of its schedule is not there.
        {{"schedule[1].loan_date", kSingleHasNoCalendar, {{1050, 1, 1, 0}}},
         SingleLoan("whole_months", "6", R"(,"loan_date":"01-15-2026","first_payment_date":"10-15-2026")")},
        {{"schedule[1].loan_date", kSingleHasNoCalendar, {{1050, 1, 1, 0}}},
         SingleLoan("actual_days", "200", R"(,"loan_date":"01-02-2026","first_payment_date":"12-01-2026")")},
        // A single payment's unit periods are the page's own: 1.
        {{"schedule[1].unit_periods", "is fixed at 1 for this loan and cannot be changed", {{1050, 1, 1, 0}}},
         SingleLoan("whole_months", "6", R"(,"unit_periods":"2")")},
        // The same for the permanent phase of a construction loan: 12 months typed; the three
        // dates would have made it 6.
        {{"construction.amortization_date", kSingleHasNoCalendar, {{110000, 1, 1, 0}}},
         R"({"kind":"construction","disclosed_apr":"8.25","loan_type":"single","frequency":"whole_months",)"
         R"("unit_period":"12","construction":{"commitment":"100000","simple_rate":"9",)"
         R"("prepaid_finance_charge":"1000","subsequent_finance_charge":"500","disclosure":"with_permanent",)"
         R"("time_period":"6","loan_date":"01-15-2026","construction_end_date":"07-15-2026",)"
         R"("amortization_date":"10-15-2026"},"schedule":[{"amount":"110000","payments":"1"}]})"},
        // Yearly payments: stream 1, 01-15-2026 to 03-15-2027, is 1 year and 2 even months (1
        // period, 60 odd days: 360/360 from now on); stream 2, to 03-20-2028, is 2 years and 5
        // days, which would switch to actual days. Refused, stream 2 keeps the defaults its
        // number of payments filled in (1 + 1 = 2 periods, stream 1's 60 odd days), and nothing
        // of the refused measurement stays.
        {{"schedule[2]", "", {{1100, 1, 1, 60}, {1100, 1, 2, 60}}, true},
         R"({"amount_financed":"2000","disclosed_apr":"6","frequency":"multiples_of_month","unit_period":"12",)"
         R"("schedule":[{"amount":"1100","payments":"1","loan_date":"01-15-2026","first_payment_date":"03-15-2027"},)"
         R"({"amount":"1100","payments":"1","loan_date":"01-15-2026","first_payment_date":"03-20-2028"}]})"},
        // A construction phase of 01-31-2026 to 03-31-2027 is 14 whole months: not for actual days.
        {{"construction.construction_end_date", "", {}, true},
         SeparateLoan(R"("loan_date":"01-31-2026","construction_end_date":"03-31-2027")")},
        // Typed over a year of days, the construction's unit periods take digits only.
        {{"construction.unit_periods"}, SeparateLoan(R"("time_period":"365","unit_periods":"1.5","odd_days":"0")")},
        // Any other period is one unit period with no odd days, whatever the case says.
        {{"construction.odd_days", "is fixed at 0 for this construction period"},
         SeparateLoan(R"("time_period":"200","odd_days":"3")")},
        // Accrual "other" with permanent financing: the estimate is given, no period is asked.
        {{"construction.time_period", "no construction period is entered for this accrual system"},
         R"({"kind":"construction","disclosed_apr":"8.25","frequency":"monthly","construction":{"commitment":)"
         R"("100000","simple_rate":"9","prepaid_finance_charge":"1000","subsequent_finance_charge":"500",)"
         R"("disclosure":"with_permanent","accrual":"other","time_period":"6","estimated_interest":"2500"},)"
         R"("schedule":[{"amount":"770","payments":"360"}]})"},
        // A money box holding a decimal point alone passes typing; Continue refuses it, naming the box.
        {{"construction.prepaid_finance_charge"},
         R"({"kind":"construction","disclosed_apr":"12","construction":{"commitment":"100000","simple_rate":"9",)"
         R"("prepaid_finance_charge":".","disclosure":"separately","accrual":"365/365","estimated_interest":"5000"}})"},
        // A key a box refuses ends the case naming the box.
        {{"disclosed_finance_charge"},
         R"({"amount_financed":"1000","disclosed_apr":"12","disclosed_finance_charge":"66.2x",)"
         R"("schedule":[{"amount":"88.85","payments":"12"}]})"},
        // A key refused without a message (a money box holds two decimals) is named with the text before it.
        {{"disclosed_finance_charge", R"("66.205" cannot be typed into this field: it refuses '5' after "66.20")"},
         R"({"amount_financed":"1000","disclosed_apr":"12","disclosed_finance_charge":"66.205",)"
         R"("schedule":[{"amount":"88.85","payments":"12"}]})"},
        // A prepaid finance charge beyond the commitment leaves no amount financed: the results
        // page refuses the loan, naming the construction figures it came from.
        {{"construction"},
         R"({"kind":"construction","disclosed_apr":"8.25","frequency":"monthly","construction":{"commitment":"1000",)"
         R"("simple_rate":"9","prepaid_finance_charge":"2000","subsequent_finance_charge":"0","disclosure":)"
         R"("with_permanent","accrual":"365/360","time_period":"1","estimated_interest":"0"},"schedule":)"
         R"([{"amount":"1900","payments":"1","unit_periods":"1","odd_days":"0"},{"amount":"-900","payments":"1",)"
         R"("unit_periods":"2","odd_days":"0"}]})"},
        // A unit period the page shows is checked on Continue: a multiple of a month is 2 to 12.
        {{"unit_period"},
         R"({"amount_financed":"1000","disclosed_apr":"12","frequency":"multiples_of_month","unit_period":"13",)"
         R"("schedule":[{"amount":"88.85","payments":"12"}]})"},
        // A single payment's odd days are the page's own too: none within a year.
        {{"schedule[1].odd_days", "is fixed at 0 for this loan and cannot be changed", {{1050, 1, 1, 0}}},
         SingleLoan("whole_months", "6", R"(,"odd_days":"3")")},
    };
    for (const auto& [want, json] : rows) {
        SCOPED_TRACE(json);
        std::optional<CaseError> error;
        const auto r = Replay(json, error);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->key, want.key);
        if (*want.message) {
            EXPECT_EQ(error->message, want.message);
        }
        // The results page refuses after the solver ran; every other page before it.
        if (std::string_view(want.key) != "construction") {
            EXPECT_EQ(r->gdCalcAPR, 0);
        }
        ExpectStreams(*r, want.streams);
        if (want.calendarCancelled) {
            EXPECT_FALSE(r->gbCalendarOK);
            EXPECT_TRUE(r->gbCalendarCancel);
            EXPECT_EQ(r->gdCalUnitPeriods, 0);
            EXPECT_EQ(r->gdCalOddDays, 0);
        }
    }
}

// A box left before the one that refuses shows what leaving it made of it: the amount financed
// as money ("$###,###,###,###.00"), and taken as valid; a box after it is never left and shows
// what was typed. Open Case stops on the page that refused.
TEST(case_replay, open_case_shows_the_boxes_left_before_a_refusal) {
    CaseFile c;
    ASSERT_FALSE(ParseCase(R"({"amount_financed":"1000","disclosed_apr":".5","disclosed_finance_charge":"66.2",)"
                           R"("schedule":[{"amount":"88.85","payments":"12"}]})",
                           c));
    LoanRecord record;
    ResetLoanRecord(record);
    const CaseProgress progress = ReplayToResults(c, record, SystemClock{});
    ASSERT_TRUE(progress.refusal);
    EXPECT_EQ(progress.refusal->key, "disclosed_apr");
    EXPECT_EQ(progress.page, CasePage::LoanTerms);
    EXPECT_EQ(progress.entries.amountFinanced, "$1,000.00");
    EXPECT_TRUE(progress.loanTerms.validFlag(LoanTermsField::AmountFinanced));
    EXPECT_EQ(progress.entries.disclosedFinanceCharge, "66.2");

    // Refused by the construction phase page's Continue, on its last box: 366 odd days.
    CaseFile phase;
    ASSERT_FALSE(ParseCase(SeparateLoan(R"("time_period":"365","unit_periods":"1","odd_days":"366")"), phase));
    ResetLoanRecord(record);
    const CaseProgress stopped = ReplayToResults(phase, record, SystemClock{});
    ASSERT_TRUE(stopped.refusal);
    EXPECT_EQ(std::tie(stopped.refusal->key, stopped.page),
              std::tuple("construction.odd_days", CasePage::ConstructionPhase));
    EXPECT_EQ(stopped.entries.construction->commitment, "$100,000.00");
}

// The case answers only the APR test's question; any other question, or a warning asking to go
// on, ends the case naming it, deferred refusals or not.
TEST(case_replay, a_question_the_case_cannot_answer_ends_it) {
    LoanRecord record;
    CaseUser user(record, true, true);
    user.at("construction");
    const std::pair<const char*, short> questions[] = {
        {"Start a new loan?  (Discard current data?) ", kStyleYesNoQuestion},
        {"Changing the financing disclosure options will cause deletion of any payment information.",
         kStyleOkCancelWarning},
    };
    for (const bool deferring : {false, true})
        for (const auto& [text, style] : questions) {
            user.deferRefusals(deferring);
            try {
                user.show(text, style);
                ADD_FAILURE() << "answered: " << text;
            } catch (const CaseFault& fault) {
                EXPECT_EQ(fault.error.key, "construction");
                EXPECT_EQ(fault.error.message, std::string("unexpected question: ") + text);
            }
        }
}

}  // namespace
}  // namespace tallex::casefile
