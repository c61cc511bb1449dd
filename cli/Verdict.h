#pragma once
// The verdict of one case as the command line prints it: the figures, flags and notes the
// results page shows, and the reimbursement figures when the loan is subject to it.

#include "CaseReplay.h"

#include <string>

namespace tallex::cli {

using casefile::CaseOutcome;

// The verdict as one line of JSON, without a line end; with a non-empty `caseName` the line
// starts with "case" (the batch form).
std::string VerdictJson(const CaseOutcome& outcome, const std::string& caseName = "");

// The line of a case that could not be checked: {"case":..., "error":{"key":..., "message":...}}.
std::string ErrorJson(const std::string& caseName, const std::string& key, const std::string& message);

}  // namespace tallex::cli
