#pragma once
// Runs a case file through the same rules, in the same order, as a user typing it into the
// pages: basic information, loan terms (or the three construction pages), the payment
// schedule with its calendar, the results with their tests, and reimbursement. The first
// refusal ends the case with the message the page would show.

#include "CaseFile.h"

#include "engine/LoanRecord.h"
#include "report/ReportText.h"
#include "ui/MemoryResultsView.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallex::casefile {

struct CaseOutcome {
    std::unique_ptr<LoanRecord> record = std::make_unique<LoanRecord>();
    MemoryResultsView view;
    ReportIdentity identity;
    int scheduleRows = 0;          // streams listed (grid rows)
    bool reimbursed = false;       // the reimbursement page was reached
    bool adjustedPaymentsShown = false;  // that page shows its grid of adjusted payments
    std::vector<std::string> notes;  // information messages met on the way
    // How far the schedule arrays may hold anything from the last case run on this record.
    int rowsInUse = kMaxStreams;
};

// Fills `out` (an outcome may be reused: everything in it is renewed, the record's storage
// kept); returns the first refusal instead when the pages would stop the user. A run-time
// error of the core (overflow and the like) propagates as RuntimeError.
std::optional<CaseError> RunCase(const CaseFile& c, CaseOutcome& out);

}  // namespace tallex::casefile
