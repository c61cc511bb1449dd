#pragma once
// The plain-text documentation report "APR Disclosure Documentation", regular and
// construction, composed line by line from the loan record.

#include "engine/LoanRecord.h"

#include <string>
#include <vector>

namespace tallex {

// What the basic information page holds; the report prints it as typed (the date in the
// short date form when it is a date).
struct ReportIdentity {
    std::string preparer;
    std::string date;  // "mm-dd-yyyy"
    std::string borrower;
    std::string account;
    std::string lender;
    std::string creditor;
};

// The report of the loan's kind (regular when gbAppendixJ is set, construction otherwise),
// one element per line, without line ends. The schedule lists every row of the grid
// (giGridRowCount), the one stream of a construction-only loan.
std::vector<std::string> WriteReport(const LoanRecord& record, const ReportIdentity& identity,
                                     const std::string& version);

std::vector<std::string> WriteRegularReport(const LoanRecord& record, const ReportIdentity& identity,
                                            const std::string& version);
std::vector<std::string> WriteConstructionReport(const LoanRecord& record, const ReportIdentity& identity,
                                                 const std::string& version);

// The lines joined with CR LF after every line, as the report file holds them.
std::string JoinReportLines(const std::vector<std::string>& lines);

// The value's text right-aligned in a field of blanks of the given width; a longer text is
// cut to the width keeping its left-hand characters.
std::string RightAligned(const std::string& text, std::size_t width);

}  // namespace tallex
