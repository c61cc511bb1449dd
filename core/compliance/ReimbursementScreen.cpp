#include "compliance/ReimbursementScreen.h"

#include "compliance/Reimbursement.h"
#include "compliance/UserMessage.h"
#include "engine/CheckedMath.h"
#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include <cmath>
#include <string>

namespace tallex {

namespace {

const char* const kRateFormat = "##0.000 %";

bool IsSinglePayment(std::int16_t frequency) {
    return frequency == kFreqEqualMonthsSingle || frequency == kFreqActualDaysSingle;
}

std::string Trim(std::string text) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The adjusted payment of every row the APR method scaled; advances and empty rows are not
// scaled and read 0 ("(Advance)" in the grid and the report).
void FillAdjustedPayments(LoanRecord& r) {
    if (r.giPVStreams > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    for (int k = 1; k <= r.giPVStreams; ++k) {
        const double amount = Val(r.gaPymtAmt[k]);
        r.gaPymtDbl[k] = amount <= 0.0 ? 0.0 : checked::Mul(amount, r.gdProrateFactor);
    }
}

// A typed count of payments as the 16-bit integer it is kept in (rounded half to even).
std::int16_t ToCount(double value) {
    const double rounded = std::nearbyint(value);
    if (rounded < -32768.0 || rounded > 32767.0) Raise(RuntimeErrorCode::Overflow);
    return static_cast<std::int16_t>(rounded);
}

}  // namespace

bool ReimbursementOffersPriorPayments(const LoanRecord& r) {
    // One payment (a single payment loan, a construction-only loan) has no prior payments.
    return AprReimbursementOwed(r) && !IsSinglePayment(r.giPymtFreq) && r.giPymtFreq != kFreqConstructionOnly;
}

ReimbursementScreen ReimbursementActivation(LoanRecord& r, bool captions) {
    ReimbursementScreen s;
    ReimbursementCaptions& c = s.captions;
    const auto text = [captions](double value, std::string_view pattern) {
        return captions || !std::isfinite(value) ? Format(value, pattern) : std::string();
    };
    const auto rateLead = [&](double value) {
        return captions ? text(value, kRateFormat) + "):" : text(value, kRateFormat);
    };
    if (captions || !std::isfinite(r.dTolerance)) {
        c.caption = std::string("Reimbursement Information ") + "(using reimbursement tolerance of " +
                    Trim(NumberToText(r.dTolerance, true)) + "%)";
    }

    c.lblPercent2 = rateLead(r.gdFCAdjAPR / 100.0);
    c.lblFnceChgAdj2 = text(r.gdFCAdjustment, "Currency");
    // Only an understated finance charge has an adjustment to show.
    s.financeChargeAdjustmentVisible = r.gbFCUnderViol;

    if (!AprReimbursementOwed(r)) {
        s.priorPaymentsVisible = false;
        s.showAdjustmentsVisible = false;
        s.printEnabled = true;
        s.focus = ReimbursementFocus::Print;
        return s;
    }

    s.aprMethodVisible = true;
    FillAdjustedPayments(r);

    c.lblAdjAPR2 = text(r.gdAdjustedAPR / 100.0, kRateFormat);
    c.lblProFactor2 = text(r.gdProrateFactor, "##.##########");
    if (r.gdAPRAdjFinal < 0.0) {
        c.lblFinalAPRAdj = "APR Adjustment as of Final Payment Date";
        c.lblFinalAPRAdj2 = text(r.gdAPRAdjFinal, "Currency");
    }

    if (r.gdAPRAdjFinal > -1.0) {
        // Less than a dollar owed: no APR adjustment to make. The violation itself stands.
        s.aprAdjustmentVisible = true;
        c.lblPercentAPR = rateLead(r.gdAdjustedAPR / 100.0);
        c.lblAPRAdj2 = "0.00";
        r.gbNoAPRReimbOwed = true;
    }
    s.gridVisible = AprReimbursementOwed(r) && r.giPymtFreq != kFreqConstructionOnly;
    s.priorPaymentsVisible = ReimbursementOffersPriorPayments(r);
    s.showAdjustmentsVisible = s.priorPaymentsVisible;
    // Without a prior-payments entry there is nothing more to wait for before printing.
    s.printEnabled = !s.priorPaymentsVisible;
    s.focus = s.priorPaymentsVisible ? ReimbursementFocus::PriorPayments : ReimbursementFocus::Print;
    return s;
}

ShowAdjustmentsResult ShowAdjustments(LoanRecord& r, UserSeam& user, std::string_view priorPaymentsText,
                                      int gridRowCount) {
    ShowAdjustmentsResult out;
    if (priorPaymentsText.empty()) {
        ShowUserMessage(r, user, "# of prior payments must be entered before showing adjustments.", kStyleExclamation);
        return out;
    }
    const double prior = Val(priorPaymentsText);
    if (!IsSinglePayment(r.giPymtFreq) && (prior < 1.0 || prior > r.iNPTotal)) {
        // The page takes the lump sums of an earlier count away.
        r.gbLumpSumsShown = false;
        ShowUserMessage(r, user,
                        std::string("# of prior payments must be greater than 0 and less than or equal to the total "
                                    "number of payments") +
                            " (" + std::to_string(r.iNPTotal) + ").",
                        kStyleExclamation);
        return out;
    }
    out.accepted = true;
    out.printEnabled = true;
    r.giRateChangePymts = ToCount(prior);
    const int last = CutSchedule(r, r.giRateChangePymts);
    PresentValueOfAlternate(r, last, gridRowCount);
    r.gbLumpSumsShown = false;
    if (IsSinglePayment(r.giPymtFreq)) return out;

    r.gdLumpSumPR = CarriedToLastPayment(r, r.gdPVSum);
    out.lblLmpSumPymtRed2 = Format(r.gdLumpSumPR, "Currency");
    out.lblPymtsRedMeth2 = std::to_string(r.giRateChangePymts);

    // The same stream's carry-forward factor, recomputed as the first time.
    PresentValueOfAlternate(r, last, gridRowCount);
    r.gdLumpSum = CarriedToLastPayment(r, r.gdAdjPVDiff);
    out.lblLmpSum2 = Format(r.gdLumpSum, "Currency");
    out.lblPymtsLmpSum2 = std::to_string(r.iNPTotal);
    out.lumpSumsVisible = true;
    r.gbLumpSumsShown = true;
    return out;
}

bool PriorPaymentsKeyAllowed(LoanRecord& r, UserSeam& user, int keyAscii) {
    constexpr int kBackspace = 8;
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == kBackspace) return true;
    ShowUserMessage(r, user, "For # of prior payments, enter numbers only.", kStyleExclamation);
    return false;
}

}  // namespace tallex
