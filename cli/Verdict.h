#pragma once
// The verdict of one case as the command line prints it: the figures, flags and notes the
// results page shows, and the reimbursement figures when the loan is subject to it.

#include "CaseRunner.h"

#include <nlohmann/json.hpp>

namespace tallex::cli {

nlohmann::json VerdictJson(const CaseOutcome& outcome);

}  // namespace tallex::cli
