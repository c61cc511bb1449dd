#pragma once
// Runs a case file through the same rules, in the same order, as a user typing it into the
// pages: basic information, loan terms (or the three construction pages), the payment
// schedule with its calendar, the results with their tests, and reimbursement. The first
// refusal ends the case with the message the page would show. The command line runs the whole
// case; the desktop program's Open Case runs it up to the page before the results and shows it.

#include "CaseFile.h"

#include "engine/LoanRecord.h"
#include "entry/LoanTerms.h"
#include "report/ReportText.h"
#include "ui/Clock.h"
#include "ui/MemoryResultsView.h"
#include "ui/UserSeam.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallex::casefile {

struct CaseOutcome {
    std::unique_ptr<LoanRecord> record = std::make_unique<LoanRecord>();
    MemoryResultsView view;
    ReportIdentity identity;
    int scheduleRows = 0;  // streams listed (grid rows)
    // [k]: the stream as entered that the results put in row k (they order the rows by date).
    std::vector<int> enteredRows;
    bool reimbursed = false;             // the reimbursement page was reached
    bool adjustedPaymentsShown = false;  // that page shows its grid of adjusted payments
    std::vector<std::string> notes;      // information messages met on the way
    // How far the schedule arrays may hold anything from the last case run on this record.
    int rowsInUse = kMaxStreams;
};

// The record's rows 1..scheduleRows in the order the streams were entered.
std::vector<int> RowsInEnteredOrder(const CaseOutcome& out);

// Fills `out` (an outcome may be reused: everything in it is renewed, the record's storage
// kept); returns the first refusal instead when the pages would stop the user. A run-time
// error of the core (overflow and the like) propagates as RuntimeError.
std::optional<CaseError> RunCase(const CaseFile& c, CaseOutcome& out);

// The pages a case goes through, in their order.
enum class CasePage {
    BasicInformation,
    LoanTerms,
    ConstructionTerms,
    ConstructionPhase,
    ConstructionInterest,
    Schedule,
    Results,
    ConstructionResults,
    Reimbursement,
};

// How far ReplayToResults went, and what the pages hold.
struct CaseProgress {
    // The page before the results, whose Continue is left to the user (the payment schedule, or
    // the construction interest page of a construction phase disclosed separately), or the page
    // that refused an entry.
    CasePage page = CasePage::BasicInformation;
    std::optional<CaseError> refusal;  // the key and the message the page shows
    short refusalStyle = kStyleExclamation;
    std::vector<std::string> notes;  // information messages met on the way, in order
    // The entries as the pages hold them once the replay went through them: the money boxes as
    // they show a number once left, the periods the calculators measured, the construction
    // interest estimate shown, a hidden box empty. An entry the replay did not reach is as the
    // case gives it.
    CaseFile entries;
    LoanTermsState loanTerms;     // the loan terms page's verdicts on its boxes
    std::string initialEstimate;  // the construction interest page's own estimate
    bool initialEstimateShown = true;
    // The payment schedule is in the record.
};

// Enters the case into `record` as RunCase does, page by page, and stops on the page before the
// results or on the first refusal. The record is taken as New Loan and the loading of the pages
// left it (the schedule page labels its streams when it loads); `clock` runs the pages' quiet
// periods and calculators. A run-time error of the core propagates as RuntimeError.
CaseProgress ReplayToResults(const CaseFile& c, LoanRecord& record, const Clock& clock);

}  // namespace tallex::casefile
