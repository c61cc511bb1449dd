#include "compliance/AprTolerance.h"

#include "compliance/FinanceChargeTolerance.h"
#include "compliance/UserMessage.h"
#include "engine/AprSolver.h"
#include "engine/CheckedMath.h"
#include "engine/Currency.h"
#include "engine/Format.h"
#include "engine/NumberText.h"

#include <cmath>
#include <string>

namespace tallex {

namespace {

constexpr double kRegularAprTolerance = 0.125;
constexpr double kIrregularAprTolerance = 0.25;

const char* const kAskCausedByFinanceCharge = "Was the APR error caused by the finance charge error?";

// Half a unit of the last decimal that the disclosed APR shows.
double HalfUnitOfLastDecimal(double disclosedApr) {
    const std::string text = NumberToText(disclosedApr, false);
    const std::size_t point = text.find('.');
    const std::size_t decimals = point == std::string::npos ? 0 : text.size() - point - 1;
    if (decimals <= 2) return 0.005;
    return Val("." + std::string(decimals, '0') + "5");
}

bool AnswerIsYes(short answer) { return answer == kAnswerYesButton; }

// The finance-charge difference in ten-thousandths, free of the binary noise of T - P - FC.
long double DifferenceTicks(const LoanRecord& r) { return MoneyTicks(r.dFinanceChgDiff); }

}  // namespace

void AdjustDisclosedAPR(LoanRecord& r, AdjustDirection direction) {
    r.gdDisclAPR_Adjusted = 0;
    r.gdPval_Adjusted = 0;
    const double h = HalfUnitOfLastDecimal(r.gdDisclAPR);
    r.gdDisclAPR_Adjusted = direction == AdjustDirection::Understatement ? checked::Add(r.gdDisclAPR, h)
                                                                         : checked::Sub(r.gdDisclAPR, h);
    r.gdUnitPdFraction = checked::Div(r.gdDaysinUnitPd, r.gdDaysinYr);
    r.gdPVRate = checked::Div(checked::Mul(r.gdUnitPdFraction, r.gdDisclAPR_Adjusted), 100.0);
    AdjustedPresentValue(r);
}

bool TestAPRUnderstatement(LoanRecord& r, UserSeam& user) {
    r.gsDebugMsgAPR.clear();
    const double p = r.gdAmount;
    if (!r.gbIrregular && r.gdAPRDiff <= kRegularAprTolerance) return false;
    if (r.gbIrregular && r.gdAPRDiff <= kIrregularAprTolerance) return false;
    if (!r.gbSecuredByRealEstate) {
        r.gsDebugMsgAPR = r.gbIrregular
            ? "*** APR Understatement Violation:   APR is understated by more than 1/4% for Irregular, "
              "Non-real estate loan."
            : "*** APR Understatement Violation:   APR is understated by more than 1/8% for Regular, "
              "Non-real estate loan.";
        return true;
    }
    if (DifferenceTicks(r) <= 0) {
        r.gsDebugMsgAPR =
            "*** APR Understatement Violation:   APR is understated but finance charge is not understated.";
        return true;
    }
    // Exactly the tolerance is within it.
    if (DifferenceTicks(r) > MoneyTicks(r.giFCTolerance)) {
        r.gsDebugMsgAPR =
            "*** APR Understatement Violation:  Disclosed finance charge is understated by more than the "
            "tolerance amount.";
        return true;
    }
    if (Currency::FromDouble(r.dFinanceChgDiff).ticks() != 0) {
        const std::string prompt = std::string("The program has determined that the APR for this loan is understated") +
                                   " and the finance charge is also understated," +
                                   "  but within the tolerance allowed by 226.18(d)(1)." + r.gsCrLf + r.gsCrLf +
                                   kAskCausedByFinanceCharge + r.gsCrLf + r.gsCrLf;
        if (AnswerIsYes(ShowUserMessage(r, user, prompt, kStyleYesNoQuestion))) {
            r.giAPRUnderByFC = kAnswerYes;
            return false;
        }
        r.giAPRUnderByFC = kAnswerNo;
    }
    if (checked::Sub(r.dPval, p) <= r.dFinanceChgDiff) return false;
    AdjustDisclosedAPR(r, AdjustDirection::Understatement);
    if (std::fabs(r.dFinanceChgDiff) < std::fabs(checked::Sub(r.gdPval_Adjusted, p))) {
        r.gsDebugMsgAPR =
            "*** APR Understatement Violation:  ADJUSTED present value of payments minus the amount financed "
            "is greater than the finance charge understatement.";
        return true;
    }
    return false;
}

bool TestAPROverstatement(LoanRecord& r, UserSeam& user) {
    r.gsDebugMsgAPR.clear();
    const double p = r.gdAmount;
    if (r.gbIrregular && checked::Sub(r.gdDisclAPR, kIrregularAprTolerance) <= r.gdCalcAPR) return false;
    if (!r.gbIrregular && checked::Sub(r.gdDisclAPR, kRegularAprTolerance) <= r.gdCalcAPR) return false;
    if (r.gbSecuredByRealEstate && Currency::FromDouble(r.dFinanceChgDiff).ticks() < 0) {
        const std::string prompt = std::string("The program has determined that the APR for this loan is overstated") +
                                   " and the finance charge is also overstated." + r.gsCrLf + r.gsCrLf +
                                   kAskCausedByFinanceCharge + r.gsCrLf + r.gsCrLf;
        if (AnswerIsYes(ShowUserMessage(r, user, prompt, kStyleYesNoQuestion))) {
            r.giAPROverByFC = kAnswerYes;
            return false;
        }
        r.giAPROverByFC = kAnswerNo;
    }
    if (!r.gbSecuredByRealEstate) {
        r.gsDebugMsgAPR = "*** APR Overstatement Violation";
        return true;
    }
    if (DifferenceTicks(r) >= 0) {
        r.gsDebugMsgAPR =
            "*** APR Overstatement Violation:   APR is overstated but finance charge is not overstated.";
        return true;
    }
    if (std::fabs(r.dFinanceChgDiff) >= checked::Sub(p, r.dPval)) return false;
    AdjustDisclosedAPR(r, AdjustDirection::Overstatement);
    if (std::fabs(r.dFinanceChgDiff) < std::fabs(checked::Sub(p, r.gdPval_Adjusted))) {
        r.gsDebugMsgAPR =
            "*** APR Overstatement Violation:   Amount financed minus ADJUSTED present value of payments is "
            "greater than the finance charge overstatement.";
        return true;
    }
    return false;
}

}  // namespace tallex
