// The APR solver, the results page and reimbursement on records no page would let through:
// any doubles for the amount financed, the disclosed APR and finance charge, the days in the
// unit period and in the year (huge, tiny, negative, zero, NaN, infinite), any schedule texts,
// any grid row count.
//
// Invariants:
//  - every run ends (the fuzzer's timeout), and nothing but the core's run-time error leaves
//    it; a grid of more than 360 rows is run-time error 9;
//  - after the solver either gbSolverFailed is set or the APR is finite, within the pass limit;
//  - for an ordinary loan (positive payments in money ranges, a positive unit period and year)
//    the solved rate discounts the payments to the amount financed, counted independently here;
//  - the results satisfy the tolerance tests' invariants;
//  - reimbursement figures are finite; a finance-charge adjustment comes only with a
//    finance-charge violation, and with a tolerance none of a dollar or less is reported.

#include "FuzzSupport.h"

#include "compliance/DisclosureResults.h"
#include "compliance/Reimbursement.h"
#include "compliance/ReimbursementScreen.h"
#include "engine/AprSolver.h"
#include "engine/Currency.h"
#include "engine/NumberText.h"

#include <cmath>
#include <string>

using namespace tallex;
using tallex::fuzz::FuzzInput;

namespace {

// Val that cannot raise: a cell beyond the double range is not ordinary.
double Read(const std::string& text) {
    try {
        return Val(text);
    } catch (const RuntimeError&) {
        return NAN;
    }
}

// For a loan whose solution must exist and be unique (payments only, in money ranges, a positive
// period basis, payments well above the amount financed at a rate the yearly APR can show): the
// present value of its schedule at the unit-period rate i, in long double; else NaN.
long double PresentValueAt(const LoanRecord& r, int rows, long double i) {
    if (rows < 1 || rows > kMaxStreams || r.gbConstruction || !(r.gdAmount >= 1 && r.gdAmount <= 1e7) ||
        !(r.gdDaysinUnitPd >= 1 && r.gdDaysinUnitPd <= 366 && r.gdDaysinYr >= 360 && r.gdDaysinYr <= 366) ||
        !(r.gdDisclAPR >= 0 && r.gdDisclAPR <= 100) || !(i > -1 && i != 0))
        return NAN;
    long double sum = 0, total = 0;
    for (int k = 1; k <= rows; ++k) {
        const double a = Read(r.gaPymtAmt[k]), n = Read(r.gaNumPymts[k]);
        const double t = Read(r.gaUnitPeriods[k]), f = Read(r.gaOddDays[k]);
        if (!(a >= 1 && a <= 1e6 && n >= 1 && n <= 480 && n == std::floor(n) && t >= 0 && t <= 480 && f >= 0 &&
              f <= r.gdDaysinUnitPd))
            return NAN;
        total += a * n;
        const long double cents = Currency::FromDouble(a).ToDouble();
        sum += cents * (1 - std::pow(1 + i, -n)) / i * (1 + i) / (std::pow(1 + i, t) * (1 + f / r.gdDaysinUnitPd * i));
    }
    return total >= r.gdAmount * 1.001 && total <= r.gdAmount * 4 ? sum : NAN;
}

void Reimburse(LoanRecord& r, FuzzInput& in, ScriptedUser& user, int rows) {
    StartReimbursement(r, in.IntIn(kToleranceZero, kToleranceQuarter));
    ReimbursementActivation(r);
    FUZZ_CHECK(std::isfinite(r.gdFCAdjustment) && std::isfinite(r.gdAPRAdjFinal),
               r.gdFCAdjustment << ", " << r.gdAPRAdjFinal);
    // With a tolerance the method reports no adjustment of a dollar or less; without one the
    // adjustment is the finance-charge error itself. It runs for either finance-charge violation.
    FUZZ_CHECK(r.dTolerance == 0 || r.gdFCAdjustment == 0 || r.gdFCAdjustment < -1, r.gdFCAdjustment);
    FUZZ_CHECK(r.gdFCAdjustment >= -1 || r.gbFCUnderViol || r.gbFCOverViol, r.gdFCAdjustment);
    const std::size_t before = user.prompts().size();
    ShowAdjustments(r, user, in.TextLike({"1", "12", "0", "", "360", "99999", "abc"}), rows);
    for (std::size_t k = before; k < user.prompts().size(); ++k)
        FUZZ_CHECK(!user.prompts()[k].text.empty(), "an empty message");
    FUZZ_CHECK(std::isfinite(r.gdLumpSum) && std::isfinite(r.gdLumpSumPR), r.gdLumpSum << ", " << r.gdLumpSumPR);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    tallex::fuzz::RunGuarded([&] {
        LoanRecord r;
        ResetLoanRecord(r);
        r.gbAppendixJ = true;
        r.gsLoanType = "APR (Appendix J)";
        r.gbConstruction = in.Byte() % 16 == 0;
        r.gbConstOptDisc = r.gbConstruction && in.Bool();
        r.giPymtFreq = static_cast<std::int16_t>(in.IntIn(0, 8));
        r.gdAmount = in.Double({1000, 5000, 250000, 0, -1000, 1e-300, 1e300});
        r.gdDisclAPR = in.Double({12, 8.25, 8.125, 0, 24, 1, 9999, -5});
        r.gdEstFinanceChg = in.Double({66.2, 500, 0, 1000, 5, -10});
        r.gdDaysinUnitPd = in.Double({30, 15, 7, 365, 0, -30, 1e-300, 1e300});
        r.gdDaysinYr = in.Double({360, 365, 364, 0, -360, 1e300});
        r.dMonths = in.Double({1, 12, 6});
        r.gbSecuredByRealEstate = in.Bool();
        r.gbDatePre_093095 = r.gbSecuredByRealEstate && in.Bool();
        const int rows = in.Byte() % 32 == 0 ? in.IntIn(-2, 400) : in.IntIn(1, 6);
        for (int k = 1; k <= std::min(rows, kMaxStreams); ++k) {
            r.gaPymtCol0[k] = std::to_string(k);
            r.gaPymtAmt[k] = in.TextLike({"88.85", "100", "1000", "-1000", "0", "0.01", "1e300", "-5", "500.5"}, 24);
            r.gaNumPymts[k] = in.TextLike({"12", "1", "360", "0", "24", "-1", "1e5", "0.5"}, 24);
            r.gaUnitPeriods[k] = in.TextLike({"1", "0", "13", "25", "-3", "1e4", "360"}, 24);
            r.gaOddDays[k] = in.TextLike({"0", "15", "30", "-15", "1e6", "364"}, 24);
        }
        r.giGridRowCount = static_cast<std::int16_t>(rows);
        r.giPymtRows = static_cast<std::int16_t>(std::clamp(rows, 0, kMaxStreams));
        r.gbSolverFailed = false;
        const bool summed = rows <= kMaxStreams || (r.gbConstruction && r.gbConstOptDisc);
        try {
            SolveAPR(r);
        } catch (const RuntimeError& e) {
            FUZZ_CHECK(summed || e.number() == 9, rows << " streams raised " << e.number());
            throw;
        }
        FUZZ_CHECK(summed, rows << " streams were summed");
        FUZZ_CHECK(r.gbSolverFailed || std::isfinite(r.gdCalcAPR), r.gdCalcAPR);
        FUZZ_CHECK(r.iSolverPasses <= kSolverPassLimit, r.iSolverPasses << " passes");
        if (r.gbSolverFailed) return;
        const long double pv = PresentValueAt(r, rows, r.gdIteratedAPR);
        FUZZ_CHECK(std::isnan(pv) || std::fabs(pv - r.gdAmount) <= 1e-4L * r.gdAmount + 0.01L,
                   "APR " << r.gdCalcAPR << " discounts to " << static_cast<double>(pv));
        ScriptedUser user;
        tallex::fuzz::AnswerFrom(user, in);
        MemoryResultsView view;
        if (ComputeDisclosureResults(r, view, user, {"", ""}).refused) return;
        tallex::fuzz::CheckComplianceOutcome(r, view, user, 0);
        if (r.gbSubjToReimb && !r.gbConstruction) Reimburse(r, in, user, rows);
    });
    return 0;
}
