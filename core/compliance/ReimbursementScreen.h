#pragma once
// What the reimbursement page shows after the computations, and its Show Adjustments action:
// which groups are visible, the text of every value, and where the focus goes. The page copies
// these into its widgets.

#include "engine/LoanRecord.h"
#include "ui/UserSeam.h"

#include <string>
#include <string_view>

namespace tallex {

// The value labels of the reimbursement page, with the texts to put in them.
struct ReimbursementCaptions {
    std::string caption;          // the page's title
    std::string lblPercent2;      // finance-charge method APR, "##0.000 %" then "):"
    std::string lblFnceChgAdj2;   // gdFCAdjustment, "Currency"
    std::string lblAdjAPR2;       // gdAdjustedAPR, "##0.000 %"
    std::string lblProFactor2;    // gdProrateFactor, "##.##########"
    std::string lblFinalAPRAdj;   // "APR Adjustment as of Final Payment Date", empty when none
    std::string lblFinalAPRAdj2;  // gdAPRAdjFinal, "Currency", empty when not below 0
    std::string lblPercentAPR;    // gdAdjustedAPR, "##0.000 %" then "):"
    std::string lblAPRAdj2;       // "0.00" when the APR adjustment comes to less than a dollar
};

enum class ReimbursementFocus { PriorPayments, Print };

struct ReimbursementScreen {
    ReimbursementCaptions captions;
    bool gridVisible = false;                     // SSDBGridRB (rows: ReimbursementGridRows)
    bool printEnabled = false;                    // CmdPrint and mnuPrint
    bool priorPaymentsVisible = true;             // txtPriorPymts with lblPriorPymts
    bool showAdjustmentsVisible = true;           // cmdShowAdjustment
    bool financeChargeAdjustmentVisible = false;  // lblFnceChgAdj, lblPercent2, lblFnceChgAdj2
    bool aprMethodVisible = false;                // lblAdjAPR, lblProFactor, lblFinalAPRAdj and values
    bool aprAdjustmentVisible = false;            // lblAPRAdj, lblPercentAPR, lblAPRAdj2
    bool lumpSumsVisible = false;                 // both lump sum groups, until Show Adjustments
    ReimbursementFocus focus = ReimbursementFocus::Print;
};

// Activation of the reimbursement page, after StartReimbursement. Fills gaPymtDbl with the
// adjusted payment of every positive row (0 for the others) and, when the APR adjustment as of
// the final payment date comes to more than -1 (less than a dollar owed), sets gbNoAPRReimbOwed:
// there is no APR adjustment to make, although the APR understatement violation stands.
// `captions` false leaves the captions empty for a caller that shows no page (the command line);
// a figure no caption can show (not finite) raises its run-time error either way.
ReimbursementScreen ReimbursementActivation(LoanRecord& record, bool captions = true);

// Whether the activated reimbursement page asks for the number of prior payments (and so can
// show lump sums): only for an APR adjustment owed on a loan of more than one payment.
bool ReimbursementOffersPriorPayments(const LoanRecord& record);

// The outcome of Show Adjustments.
struct ShowAdjustmentsResult {
    bool accepted = false;         // false: a message was shown, the focus goes back to the box
    bool lumpSumsVisible = false;  // both lump sum groups
    bool printEnabled = false;
    std::string lblLmpSumPymtRed2;  // gdLumpSumPR, "Currency"
    std::string lblPymtsRedMeth2;   // the number of prior payments
    std::string lblLmpSum2;         // gdLumpSum, "Currency"
    std::string lblPymtsLmpSum2;    // iNPTotal
};

// The lump sums for `priorPaymentsText` payments already made (txtPriorPymts): under the lump
// sum / payment reduction method the changes of the prior payments carried forward to the last
// of them (gdLumpSumPR), under the lump sum method the whole overcharge carried forward to that
// date (gdLumpSum); gbLumpSumsShown tells whether the page shows them. An empty text, or
// (except for single-payment codes 5 and 6) a count below 1 or above iNPTotal, is refused with
// its message; a count out of range takes the lump sums of an earlier count away.
// `gridRowCount` is the payment schedule grid's row count, the stream count left behind.
ShowAdjustmentsResult ShowAdjustments(LoanRecord& record, UserSeam& user, std::string_view priorPaymentsText,
                                      int gridRowCount);

// The key filter of txtPriorPymts: the digits and Backspace (8) pass; any other key is refused
// with "For # of prior payments, enter numbers only." and must be discarded (returns false).
bool PriorPaymentsKeyAllowed(LoanRecord& record, UserSeam& user, int keyAscii);

}  // namespace tallex
