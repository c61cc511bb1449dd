#pragma once
// The verdict of one case as the command line prints it: the case's identity, the overall
// verdict, the figures, flags and notes the results page shows, and the reimbursement figures
// when the loan is subject to it. One list of fields, written as a JSON line or as the cells of
// a table row (CSV, spreadsheet), so the formats cannot drift apart.

#include "CaseReplay.h"

#include <string>
#include <vector>

namespace tallex::cli {

using casefile::CaseOutcome;

// Raised whenever a field is added, renamed or changes its meaning.
inline constexpr int kVerdictSchemaVersion = 1;

// The verdict on one disclosed figure (the APR or the finance charge).
enum class FigureVerdict {
    Accurate,
    Understated,            // a violation
    Overstated,             // a violation
    AccurateUnder226_22a5,  // an APR error the results page notes as treated as accurate
    NotTested,              // no finance charge disclosed: no test runs
};
const char* FigureVerdictName(FigureVerdict verdict);

// Decided from the facts the results page shows its notes from: the disclosed finance charge,
// the violation flags and the answers to "Was the APR error caused by the finance charge error?".
FigureVerdict AprVerdict(const LoanRecord& record);
FigureVerdict FinanceChargeVerdict(const LoanRecord& record);

// The verdict as one line of JSON, without a line end; with a non-empty `caseName` the line
// starts with "case".
std::string VerdictJson(const CaseOutcome& outcome, const std::string& caseName = "");

// The same line written after what `line` holds, so that a batch reuses its storage.
void AppendVerdictJson(std::string& line, const CaseOutcome& outcome, const std::string& caseName);
void AppendErrorJson(std::string& line, const std::string& caseName, const std::string& key, const std::string& message,
                     const std::string& account);

// The line of a case that could not be checked:
// {"case":..., "account":..., "schema_version":..., "error":{"key":..., "message":...}}.
std::string ErrorJson(const std::string& caseName, const std::string& key, const std::string& message,
                      const std::string& account = "");

// The verdict as a table row. Nested objects are flattened ("reimbursement.tolerance"); lists
// become one compact text; a refused case fills only its identity and the error columns.
enum class ColumnFormat { Text, Integer, Number, Money, Percent, Boolean };

struct VerdictColumn {
    const char* name;
    ColumnFormat format;
};

// Every column, in the order of the JSON fields, the error columns last.
const std::vector<VerdictColumn>& VerdictColumns();

struct VerdictCell {
    enum class Kind { Empty, Number, Boolean, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    bool boolean = false;
    std::string text;
};

// Fills `row` with one cell per column of VerdictColumns().
void VerdictRow(const CaseOutcome& outcome, const std::string& caseName, std::vector<VerdictCell>& row);
void ErrorRow(const std::string& caseName, const std::string& key, const std::string& message,
              const std::string& account, std::vector<VerdictCell>& row);

// A verdict with any violation: the row a spreadsheet highlights.
bool HasViolation(const LoanRecord& record);

}  // namespace tallex::cli
