// The payment schedule page without its grid: random cell edits (every column, any text),
// stream deletions and Continue, on a loan of any type, frequency and unit period. Each cell
// goes through ScheduleCellCheck then ScheduleCellStore, as the page calls them; Continue runs
// the whole-schedule check and the solver, and a schedule that passes goes on to the results.
//
// Invariants:
//  - a refusal is one warning with a text (style 48), and a refused cell is cancelled;
//  - an accepted amount shows as "$#,##0.00" and is kept as the cents it shows; accepted counts,
//    unit periods and odd days are whole numbers;
//  - Continue goes on only with a finite APR; a solver that cannot settle is reported with its
//    note instead;
//  - the results of a schedule that went on satisfy the tolerance tests' invariants.

#include "FuzzSupport.h"

#include "compliance/DisclosureResults.h"
#include "engine/NumberText.h"
#include "schedule/ScheduleCellCheck.h"
#include "schedule/ScheduleCellStore.h"
#include "schedule/ScheduleColumns.h"
#include "schedule/SchedulePage.h"

#include <array>
#include <cmath>
#include <regex>
#include <string>

using namespace tallex;
using tallex::fuzz::FuzzInput;
using tallex::fuzz::Printable;

namespace {

std::string CellText(FuzzInput& in, int column) {
    switch (column) {
    case kColAmount:
        return in.TextLike({"88.85", "1000", "-250", "0", "1,234.567", "$5", "(5)", "12-", "abc", "", "1e3", "0.004",
                            "-1000", "1e300", "99999999999999"});
    case kColNumPayments: return in.TextLike({"12", "1", "360", "0", "12.0", "-3", "", "1e2", "x", "99999", "2"});
    default: return in.TextLike({"0", "1", "15", "30", "31", "364", "365", "", "-1", "2.5", "1,0", "25", "400"});
    }
}

// A cell the page took: an amount shown as money and kept as the cents it shows, near what was
// typed; a count, unit periods and odd days whole and not below nothing (a count above).
bool Acceptable(int column, const std::string& typed, const ScheduleCellResult& result) {
    if (column != kColAmount) {
        static const std::regex whole(R"( *[+-]?[0-9]+ *)");
        const double v = typed.empty() ? 0 : Val(typed);
        return (std::regex_match(typed, whole) || (typed.empty() && column != kColNumPayments)) &&
               (column == kColNumPayments ? v > 0 : v >= 0);
    }
    static const std::regex money(R"(-?\$[0-9]{1,3}(,[0-9]{3})*\.[0-9]{2})");
    const double shown = NumericTextValue(result.text).value_or(NAN);
    const double typedValue = NumericTextValue(typed).value_or(NAN);
    return std::regex_match(result.text, money) && Val(result.cellValue) == shown &&
           std::fabs(shown - typedValue) <= 0.005 + std::fabs(typedValue) * 1e-14;
}

void EditCell(LoanRecord& r, ScriptedUser& user, ScheduleOddDaysQuietPeriod& quiet, FuzzInput& in, int rows) {
    const int stream = in.IntIn(1, rows);
    const int column = in.Byte() % 16 == 0 ? in.IntIn(-1, 6) : in.IntIn(1, 4);
    const std::string typed = CellText(in, column);
    const std::size_t before = user.prompts().size();
    const ScheduleCellResult result = ScheduleCellCheck(r, user, quiet, stream, column, typed);
    const std::string where = "stream " + std::to_string(stream) + " column " + std::to_string(column) + " \"" +
                              Printable(typed) + "\" kept \"" + Printable(result.cellValue) + "\"";
    const bool cell = column >= kColAmount && column <= kColOddDays;
    FUZZ_CHECK(user.prompts().size() - before <= 1, where);
    if (user.prompts().size() > before) {
        const Prompt& p = user.prompts().back();
        FUZZ_CHECK(!p.text.empty() && p.style == kStyleExclamation && result.cancel && result.message == p.text, where);
    } else {
        // Silence with a cancel is the odd-days quiet period only.
        FUZZ_CHECK(!result.cancel || column == kColOddDays, where);
        if (!result.cancel && cell && !(r.gaPymtAmt[stream].empty() && typed.empty()))
            FUZZ_CHECK(Acceptable(column, typed, result), where);
    }
    ScheduleCellStore(r, std::to_string(stream), column, result.cellValue);
}

void Continue(LoanRecord& r, ScriptedUser& user, FuzzInput& in, int rows) {
    const int current = in.IntIn(1, rows);
    const std::array<std::string, 4> cells{r.gaPymtAmt[current], r.gaNumPymts[current], r.gaUnitPeriods[current],
                                           r.gaOddDays[current]};
    const std::size_t before = user.prompts().size();
    const ScheduleContinueOutcome outcome = ScheduleContinue(r, user, rows, std::to_string(current), cells);
    const std::size_t shown = user.prompts().size() - before;
    FUZZ_CHECK(shown == (outcome.proceed ? 0u : 1u) && (shown == 0 || !user.prompts().back().text.empty()),
               shown << " messages, proceed " << outcome.proceed);
    if (!outcome.proceed) return;
    FUZZ_CHECK(!r.gbSolverFailed && std::isfinite(r.gdCalcAPR), r.gdCalcAPR);
    MemoryResultsView view;
    const std::size_t first = user.prompts().size();
    if (!ComputeDisclosureResults(r, view, user, {"", ""}).refused)
        tallex::fuzz::CheckComplianceOutcome(r, view, user, first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    tallex::fuzz::RunGuarded([&] {
        LoanRecord r;
        ResetLoanRecord(r);
        const bool regular = in.Byte() % 8 != 0;
        r.gbAppendixJ = regular;
        r.gbConstruction = !regular;
        r.gbSingleAdvance = in.Byte() % 4 == 0;
        r.giPymtFreq = static_cast<std::int16_t>(r.gbSingleAdvance ? in.IntIn(5, 6) : in.IntIn(1, 4));
        if (in.Byte() % 32 == 0) r.giPymtFreq = static_cast<std::int16_t>(in.IntIn(-1, 9));
        r.dMonths = in.Double({1, 2, 3, 6, 12});
        r.gdDaysinUnitPd = in.Double({30, 15, 7, 28, 91, 180, 360, 365, 200, 15.5});
        r.gdDaysinYr = in.Double({360, 365, 364});
        r.gdAmount = in.Double({1000, 5000, 250000, 100, 0});
        r.gdDisclAPR = in.Double({12, 8.25, 8.125, 0, 24, 1});
        r.gdEstFinanceChg = in.Double({66.2, 500, 0, 1000, 5});
        r.gbSecuredByRealEstate = in.Bool();
        r.gbDatePre_093095 = r.gbSecuredByRealEstate && in.Bool();
        if (!regular) {
            r.gdCommitmentAmt = in.Double({100000, 1000, 0});
            r.gdSubseqFinChg = in.Double({0, 100});
            r.gdEstConstInterest = in.Double({0, 2500});
        }
        for (int k = 1; k <= kMaxStreams; ++k) r.gaPymtCol0[k] = std::to_string(k);
        ScriptedUser user;
        tallex::fuzz::AnswerFrom(user, in);
        tallex::fuzz::SteppingClock clock;
        ScheduleOddDaysQuietPeriod quiet(clock);
        int rows = 1;
        for (int step = 0; step < 64 && !in.empty(); ++step) {
            clock.advance(in.Byte());
            switch (in.Byte() % 10) {
            case 0: rows = std::min(rows + 1, std::min(kMaxStreams, 12)); break;
            case 1:
                if (DeletePaymentStream(r, user, in.IntIn(1, rows), rows) && rows > 1) --rows;
                break;
            case 2: Continue(r, user, in, rows); break;
            default: EditCell(r, user, quiet, in, rows); break;
            }
        }
        Continue(r, user, in, rows);
    });
    return 0;
}
