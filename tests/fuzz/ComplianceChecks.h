#pragma once
// The invariants of one run of the results page (figures, tolerance tests, reimbursement
// preselection), shared by the fuzz targets that reach it.

#include "engine/LoanRecord.h"
#include "ui/MemoryResultsView.h"
#include "ui/ScriptedUser.h"

#include <cstddef>

namespace tallex::fuzz {

// Checks the record, the page's labels and the prompts shown from `firstPrompt` on, after
// ComputeDisclosureResults ran to its end (not refused).
void CheckComplianceOutcome(const LoanRecord& r, const MemoryResultsView& view, const ScriptedUser& user,
                            std::size_t firstPrompt);

}  // namespace tallex::fuzz
