#pragma once
// The disclosure results of a construction loan whose construction phase is disclosed
// separately (12 CFR 226, App. D, part I): the amount financed on the full commitment, the
// finance charge, the total of payments, the APR of the single-payment transaction, what the
// disclosed payment schedule must say (226.18(g)), and the tolerance tests with the
// irregular-transaction tolerance of 1/4 percentage point (226.22(a)(3)).
//
// With C the commitment, P the prepaid and S the subsequently paid finance charge, E the
// estimated construction interest, A the later advances and T the payment of schedule row 1
// times its number of payments:
//   amount financed    C - P + A
//   finance charge     0.5 C + T + P - C   (E + S + P for the payment of one-half of C + E + S)
//   total of payments  T + A + 0.5 C       (C + E + S)

#include "compliance/DisclosureResults.h"
#include "engine/LoanRecord.h"
#include "ui/ResultsView.h"
#include "ui/UserSeam.h"

#include <array>
#include <string>

namespace tallex {

// What the disclosure of the payment schedule must contain, as the page's lines show it:
// lblDisclText1..6 and the amounts beside them ("Currency"; empty when none).
struct ConstDisclosureText {
    std::array<std::string, 6> lines;
    std::string lblPymtAmt;       // beside line 3
    std::string lblFinalPymtAmt;  // beside line 5, interest on the entire commitment
    std::string lblSubFnceChg;    // beside line 6, interest on advances
};

// The lines for the current record: by interest basis, months of construction (dMonths) and
// the subsequently paid finance charge. On the entire commitment it also sets gdConstDisclPymt
// and, over more than a month, gdConstDisclFinalPymt (read by the construction report).
ConstDisclosureText ConstDisclosureRequirement(LoanRecord& record);

struct ConstResultsOutcome {
    // A refusal was shown (the inputs cannot make a loan); nothing below it was computed, the
    // result labels and the Reimbursement button stay hidden and Print stays disabled.
    bool refused = false;
    // The APR solver could not converge; its message was shown and no test has run.
    bool solverFailed = false;
    bool resultsShown = false;        // lblAmount, lblTotPymts, lblAPR and the rest
    bool financeChargeShown = false;  // lblFinanceChg holds a computed charge
    bool printEnabled = false;
    bool debugVisible = false;
    DisclosureCaptions captions;  // lblIntPymts, lblIrregular and lblPymtFreq* are not used here
    ConstDisclosureText disclosure;
    ResultsFocus focus;
    // PositiveVerdict once the tests ran; empty otherwise.
    std::string positiveVerdict;
};

// The message shown when the solver ends without an APR.
inline constexpr const char* kConstSolverFailedMessage =
    "The APR could not be computed for this loan.  Go back to prior screen(s) to make corrections.";

// One activation of the construction results page: clears the work values of a previous run
// (the finance charge among them, so that nothing of an earlier loan can reach the tests),
// computes the figures, refuses inputs that make no loan, computes dFinal from schedule row 1,
// the disclosure text and the APR (solver on the one stream), and runs the tolerance tests with
// gbIrregular set. The page hides optTolerance(1) through the view. Requires a construction-only
// loan (gbConstruction and gbConstOptDisc set), else run-time error 5.
ConstResultsOutcome ConstResultsActivate(LoanRecord& record, ResultsView& view, UserSeam& user,
                                         const DisclosureInputs& inputs);

}  // namespace tallex
