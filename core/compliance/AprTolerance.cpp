#include "compliance/AprTolerance.h"

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

AprVerdict Violation(std::string_view reason) { return {AprVerdict::Needs::Nothing, true, reason}; }
AprVerdict Needing(AprVerdict::Needs needs) { return {needs, false, {}}; }

// The finance-charge difference in ten-thousandths, free of the binary noise of T - P - FC.
long double DifferenceTicks(const AprTestFacts& f) { return MoneyTicks(f.financeChargeDifference); }

std::string UnderstatementPrompt(const LoanRecord& r) {
    return std::string("The program has determined that the APR for this loan is understated") +
           " and the finance charge is also understated," + "  but within the tolerance allowed by 226.18(d)(1)." +
           r.gsCrLf + r.gsCrLf + kAskCausedByFinanceCharge + r.gsCrLf + r.gsCrLf;
}

std::string OverstatementPrompt(const LoanRecord& r) {
    return std::string("The program has determined that the APR for this loan is overstated") +
           " and the finance charge is also overstated." + r.gsCrLf + r.gsCrLf + kAskCausedByFinanceCharge + r.gsCrLf +
           r.gsCrLf;
}

// Asks the verdict again with what it said it needs: the answer to the question (kept in
// `answerField`) and then the adjusted present value.
AprVerdict Settle(LoanRecord& r, UserSeam& user, AprVerdict (*verdictOf)(const AprTestFacts&),
                  AdjustDirection direction, std::string (*promptOf)(const LoanRecord&), std::int16_t& answerField) {
    AprTestFacts facts = AprTestFactsOf(r);
    AprVerdict verdict = verdictOf(facts);
    if (verdict.needs == AprVerdict::Needs::CausedByFinanceChargeAnswer) {
        const bool yes = AnswerIsYes(ShowUserMessage(r, user, promptOf(r), kStyleYesNoQuestion));
        answerField = yes ? kAnswerYes : kAnswerNo;
        facts.causedByFinanceCharge = yes;
        verdict = verdictOf(facts);
    }
    if (verdict.needs == AprVerdict::Needs::AdjustedPresentValue) {
        AdjustDisclosedAPR(r, direction);
        facts.adjustedPresentValue = r.gdPval_Adjusted;
        verdict = verdictOf(facts);
    }
    return verdict;
}

}  // namespace

double AprToleranceOf(bool irregular) { return irregular ? kIrregularAprTolerance : kRegularAprTolerance; }

double AdjustedDisclosedApr(double disclosedApr, AdjustDirection direction) {
    const double h = HalfUnitOfLastDecimal(disclosedApr);
    return direction == AdjustDirection::Understatement ? checked::Add(disclosedApr, h) : checked::Sub(disclosedApr, h);
}

AprTestFacts AprTestFactsOf(const LoanRecord& r) {
    AprTestFacts f;
    f.disclosedApr = r.gdDisclAPR;
    f.correctApr = r.gdCalcAPR;
    f.aprDifference = r.gdAPRDiff;
    f.amount = r.gdAmount;
    f.financeChargeDifference = r.dFinanceChgDiff;
    f.presentValue = r.dPval;
    f.financeChargeTolerance = r.giFCTolerance;
    f.irregular = r.gbIrregular;
    f.securedByRealEstate = r.gbSecuredByRealEstate;
    return f;
}

AprVerdict AprUnderstatementVerdict(const AprTestFacts& f) {
    const double p = f.amount;
    if (!f.irregular && f.aprDifference <= kRegularAprTolerance) return {};
    if (f.irregular && f.aprDifference <= kIrregularAprTolerance) return {};
    if (!f.securedByRealEstate) {
        return Violation(f.irregular ? "*** APR Understatement Violation:   APR is understated by more than 1/4% for "
                                       "Irregular, Non-real estate loan."
                                     : "*** APR Understatement Violation:   APR is understated by more than 1/8% for "
                                       "Regular, Non-real estate loan.");
    }
    if (DifferenceTicks(f) <= 0) {
        return Violation(
            "*** APR Understatement Violation:   APR is understated but finance charge is not understated.");
    }
    // Exactly the tolerance is within it.
    if (DifferenceTicks(f) > MoneyTicks(f.financeChargeTolerance)) {
        return Violation(
            "*** APR Understatement Violation:  Disclosed finance charge is understated by more than the "
            "tolerance amount.");
    }
    if (Currency::FromDouble(f.financeChargeDifference).ticks() != 0) {
        if (!f.causedByFinanceCharge) return Needing(AprVerdict::Needs::CausedByFinanceChargeAnswer);
        if (*f.causedByFinanceCharge) return {};
    }
    if (checked::Sub(f.presentValue, p) <= f.financeChargeDifference) return {};
    if (!f.adjustedPresentValue) return Needing(AprVerdict::Needs::AdjustedPresentValue);
    if (std::fabs(f.financeChargeDifference) < std::fabs(checked::Sub(*f.adjustedPresentValue, p))) {
        return Violation(
            "*** APR Understatement Violation:  ADJUSTED present value of payments minus the amount "
            "financed is greater than the finance charge understatement.");
    }
    return {};
}

AprVerdict AprOverstatementVerdict(const AprTestFacts& f) {
    const double p = f.amount;
    if (f.irregular && checked::Sub(f.disclosedApr, kIrregularAprTolerance) <= f.correctApr) return {};
    if (!f.irregular && checked::Sub(f.disclosedApr, kRegularAprTolerance) <= f.correctApr) return {};
    if (f.securedByRealEstate && Currency::FromDouble(f.financeChargeDifference).ticks() < 0) {
        if (!f.causedByFinanceCharge) return Needing(AprVerdict::Needs::CausedByFinanceChargeAnswer);
        if (*f.causedByFinanceCharge) return {};
    }
    if (!f.securedByRealEstate) return Violation("*** APR Overstatement Violation");
    if (DifferenceTicks(f) >= 0) {
        return Violation("*** APR Overstatement Violation:   APR is overstated but finance charge is not overstated.");
    }
    if (std::fabs(f.financeChargeDifference) >= checked::Sub(p, f.presentValue)) return {};
    if (!f.adjustedPresentValue) return Needing(AprVerdict::Needs::AdjustedPresentValue);
    if (std::fabs(f.financeChargeDifference) < std::fabs(checked::Sub(p, *f.adjustedPresentValue))) {
        return Violation(
            "*** APR Overstatement Violation:   Amount financed minus ADJUSTED present value of payments "
            "is greater than the finance charge overstatement.");
    }
    return {};
}

void AdjustDisclosedAPR(LoanRecord& r, AdjustDirection direction) {
    r.gdDisclAPR_Adjusted = 0;
    r.gdPval_Adjusted = 0;
    r.gdDisclAPR_Adjusted = AdjustedDisclosedApr(r.gdDisclAPR, direction);
    r.gdUnitPdFraction = checked::Div(r.gdDaysinUnitPd, r.gdDaysinYr);
    r.gdPVRate = checked::Div(checked::Mul(r.gdUnitPdFraction, r.gdDisclAPR_Adjusted), 100.0);
    AdjustedPresentValue(r);
}

bool TestAPRUnderstatement(LoanRecord& r, UserSeam& user) {
    r.gsDebugMsgAPR.clear();
    const AprVerdict verdict = Settle(r, user, AprUnderstatementVerdict, AdjustDirection::Understatement,
                                      UnderstatementPrompt, r.giAPRUnderByFC);
    r.gsDebugMsgAPR = verdict.reason;
    return verdict.violation;
}

bool TestAPROverstatement(LoanRecord& r, UserSeam& user) {
    r.gsDebugMsgAPR.clear();
    const AprVerdict verdict =
        Settle(r, user, AprOverstatementVerdict, AdjustDirection::Overstatement, OverstatementPrompt, r.giAPROverByFC);
    r.gsDebugMsgAPR = verdict.reason;
    return verdict.violation;
}

}  // namespace tallex
