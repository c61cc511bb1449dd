#pragma once
// The disclosure figures of a loan that goes through the payment schedule (a regular loan, or
// a construction loan disclosed with its permanent financing): amount financed, finance charge
// and total of payments as Regulation Z defines them (12 CFR 226.18(b), (d), (h)), the schedule
// in chronological order, the term, the classification and the tolerance tests. The results
// page and the command line both run this one operation and show what it returns.

#include "engine/LoanRecord.h"
#include "ui/ResultsView.h"
#include "ui/UserSeam.h"

#include <string>
#include <string_view>
#include <vector>

namespace tallex {

// What the disclosure figures are computed from.
struct DisclosureFigureInputs {
    bool construction = false;
    double amount = 0;                // P, gdAmount
    double paymentsLessAdvances = 0;  // T, gdPymtsLessAdv
    double laterAdvances = 0;         // S, gdPymtAbsValue
    // A construction loan's own figures.
    double commitment = 0;               // gdCommitmentAmt
    double prepaidFinanceCharge = 0;     // gdPrepaidFinChg
    double subsequentFinanceCharge = 0;  // gdSubseqFinChg
    double constructionInterest = 0;     // gdEstConstInterest
};
DisclosureFigureInputs DisclosureFigureInputsOf(const LoanRecord& record);

// The later advances S: |amount| x number of payments over the rows with a negative amount, up
// to the first row without an amount.
double LaterAdvances(const LoanRecord& record);

// P + S; for a construction loan, the commitment less the prepaid finance charge, plus S.
double AmountFinanced(const DisclosureFigureInputs& inputs);
// T + S; for a construction loan plus the construction interest and the subsequently paid
// finance charge.
double TotalOfPayments(const DisclosureFigureInputs& inputs);
// T - P.
double FinanceCharge(const DisclosureFigureInputs& inputs);

// The day of the final payment (dFinal), counted from the loan date, of a schedule whose last
// row has these numbers: (n - 1) x U + t x U + odd days.
double FinalPaymentDay(double numPayments, double unitPeriods, double oddDays, double daysInUnitPeriod);

// What the page knows that the record does not.
struct DisclosureInputs {
    std::string preparedBy;                  // Prepared By of the basic information page
    std::string disclosedFinanceChargeText;  // the disclosed finance charge exactly as typed
    // The page's figure captions (DisclosureCaptions); a caller that shows no page, such as the
    // command line, leaves them empty and saves composing them.
    bool captions = true;
    // When given, follows the rows the results put in chronological order: [k] is the row as
    // entered that ends up as row k. Rows 1..giPVStreams of it must be filled in by the caller.
    std::vector<int>* enteredRows = nullptr;
};

// Font of a disclosure amount: the standard one while the text is short, a narrower one for
// long amounts ("MS Sans Serif" and "Arial" on the original pages).
enum class AmountFont { Standard, Narrow };

// Standard below 19 characters (16 for the APR), Narrow from there on.
AmountFont DisclosureAmountFont(std::string_view formattedText, bool isApr);

// The disclosed finance charge as the results pages show it: in the "Currency" format when the
// text is a number (currency sign, thousands separators and sign allowed), else unchanged.
std::string DisclosedFinanceChargeCaption(std::string_view typed);

// A figure's caption in `pattern`, or "" when `inputs` asks for no captions. A figure that no
// caption can show (not finite) raises its run-time error either way, as showing it would.
std::string FigureCaption(const DisclosureInputs& inputs, double value, std::string_view pattern);
// DisclosedFinanceChargeCaption of the typed text, or "" when `inputs` asks for no captions (a
// text too large to read raises either way).
std::string DisclosedFinanceChargeCaption(const DisclosureInputs& inputs);

// Focus after the results are shown (FormSetFocus): the selected tolerance option while the
// tolerance frame is visible, else Print when it can be used.
struct ResultsFocus {
    enum class Target { None, ToleranceOption, Print };
    Target target = Target::None;
    int toleranceOption = kToleranceNone;
};
ResultsFocus FormSetFocus(const ResultsView& view, bool printEnabledAndVisible);

// The label texts of the results page.
struct DisclosureCaptions {
    std::string lblAmount;           // amount financed, "Currency"
    std::string lblFinanceChg;       // finance charge, "Currency"
    std::string lblTotPymts;         // total of payments, "Currency"
    std::string lblAPR;              // correct APR, "###0.0000 %"
    std::string lblDisclAPR;         // disclosed APR, "###0.0000 %"
    std::string lblDisclFinanceChg;  // see DisclosedFinanceChargeCaption
    std::string lblPrepdChg;         // construction: prepaid finance charge, "Currency"
    std::string lblSubFnceChg;       // construction: subsequently paid finance charge, "Currency"
    std::string lblIntPymts;         // construction: what the disclosure must say; else empty
    std::string lblIrregular;        // "Irregular Loan" / "Regular Loan"
    std::string lblPymtFreqA;        // "Payment Frequency:  "
    std::string lblPymtFreqB;        // the payment-frequency text of the loan terms page
    AmountFont amountFont = AmountFont::Standard;
    AmountFont financeChargeFont = AmountFont::Standard;
    AmountFont totalFont = AmountFont::Standard;
    AmountFont aprFont = AmountFont::Standard;
};

// What the page must do after an activation. The verdict labels, the tolerance options and
// the Reimbursement button have already been set through the ResultsView.
struct DisclosureOutcome {
    // False when the page came back from reimbursement: every control stays as it was.
    bool recomputed = false;
    // The schedule grid must be rebuilt (SetColumnsDisclosure, DisclosureGridRows).
    bool rebuildGrid = false;
    bool debugVisible = false;                // cmdDebug
    bool constructionChargesVisible = false;  // prepaid/subsequent charges and lblIntPymts
    bool middleToleranceVisible = true;       // optTolerance(1); hidden for construction
    bool aprVisible = true;                   // lblAPR
    bool financeChargeVisible = true;         // lblFinanceChg
    bool paymentFrequencyVisible = false;     // lblPymtFreqA, lblPymtFreqB
    bool printEnabled = false;                // cmdPrint and the Print menu
    // The activation stopped at a refusal (a construction loan with a negative amount
    // financed); the message has been shown and no test has run.
    bool refused = false;
    ResultsFocus focus;
    DisclosureCaptions captions;
    // PositiveVerdict once the tests ran; empty otherwise.
    std::string positiveVerdict;
};

// Clears the work values of a previous activation: the adjusted disclosed APR and its present
// value, the differences, the term, the reimbursement results, gbIrregular and the alternate
// schedule. dPval is kept.
void ClearDisclosureWorkValues(LoanRecord& record);

// One activation of the results page, after the solver has run: derives the figures, orders the
// schedule, computes dFinal, classifies the loan and runs the tolerance tests (which may ask the
// user). Coming back from reimbursement (gbBackFromReimb) clears the flag and changes nothing
// else. Arithmetic faults raise RuntimeError.
DisclosureOutcome ComputeDisclosureResults(LoanRecord& record, ResultsView& view, UserSeam& user,
                                           const DisclosureInputs& inputs);

}  // namespace tallex
