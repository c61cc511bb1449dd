#pragma once
// The read-only schedule grids of the results and reimbursement pages: their columns and the
// texts of their rows, so that the pages only copy them into their tables.

#include "engine/LoanRecord.h"

#include <string>
#include <vector>

namespace tallex {

struct GridColumn {
    std::string caption;
    int width = 0;  // twips
};

using GridRow = std::vector<std::string>;

// Results page grid (SSDBGridDisc): "Payment Stream", "Payment Amount", "Number of Payments",
// "Unit Periods", "Odd Days", each 1100 wide.
std::vector<GridColumn> SetColumnsDisclosure();

// Rows 1..giPymtRows: the stream number, the amount as the engine reads it in the "Currency"
// format, then the number of payments, unit periods and odd days as typed.
std::vector<GridRow> DisclosureGridRows(const LoanRecord& record);

// Reimbursement page grid (SSDBGridRB): "Payment Stream", "Original Payment", "Adjusted
// Payment", "Number of Payments", "Unit Periods", "Odd Days", each 1100 wide.
std::vector<GridColumn> SetColumnsRB();

// Rows 1..giPymtRows: as the results grid, with the adjusted payment (gaPymtDbl) in the
// "Currency" format after the amount, or "(Advance)" when it is 0 or less.
std::vector<GridRow> ReimbursementGridRows(const LoanRecord& record);

}  // namespace tallex
