#pragma once
// How each report line is printed: where pages break, which size and emphasis its font gets.

#include <string>
#include <vector>

namespace tallex {

struct PrintedLine {
    std::string text;
    bool newPageBefore = false;
    int pointSize = 11;
    bool headingEmphasis = false;
};

// One copy of the report as printed: from the second line holding a run of 52 underscores on,
// such a line starts a new page (the rule under the title stays on page 1, the reimbursement
// section starts its own); the title lines get their own sizes and emphasis.
std::vector<PrintedLine> PlanPrintedReport(const std::vector<std::string>& lines);

// The first family whose upper-cased name starts with "COURIER", else `fallback`.
std::string ChooseReportFont(const std::vector<std::string>& families, const std::string& fallback);

// The message shown when printing or saving fails.
std::string ReportFailureMessage(bool saving, int errorNumber, const std::string& description);

}  // namespace tallex
