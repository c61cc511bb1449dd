#include "compliance/ResultGrids.h"

#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

namespace tallex {

namespace {

constexpr int kColumnWidth = 1100;

int RowCount(const LoanRecord& r) {
    if (r.giPymtRows > kMaxStreams) Raise(RuntimeErrorCode::SubscriptOutOfRange);
    return r.giPymtRows < 0 ? 0 : r.giPymtRows;
}

}  // namespace

std::vector<GridColumn> SetColumnsDisclosure() {
    return {{"Payment Stream", kColumnWidth},
            {"Payment Amount", kColumnWidth},
            {"Number of Payments", kColumnWidth},
            {"Unit Periods", kColumnWidth},
            {"Odd Days", kColumnWidth}};
}

std::vector<GridRow> DisclosureGridRows(const LoanRecord& r) {
    std::vector<GridRow> rows;
    for (int k = 1; k <= RowCount(r); ++k) {
        rows.push_back({std::to_string(k), Format(Val(r.gaPymtAmt[k]), "Currency"), r.gaNumPymts[k], r.gaUnitPeriods[k],
                        r.gaOddDays[k]});
    }
    return rows;
}

std::vector<GridColumn> SetColumnsRB() {
    return {{"Payment Stream", kColumnWidth},   {"Original Payment", kColumnWidth},
            {"Adjusted Payment", kColumnWidth}, {"Number of Payments", kColumnWidth},
            {"Unit Periods", kColumnWidth},     {"Odd Days", kColumnWidth}};
}

std::vector<GridRow> ReimbursementGridRows(const LoanRecord& r) {
    std::vector<GridRow> rows;
    for (int k = 1; k <= RowCount(r); ++k) {
        const double adjusted = r.gaPymtDbl[k];
        rows.push_back({std::to_string(k), Format(Val(r.gaPymtAmt[k]), "Currency"),
                        adjusted <= 0.0 ? "(Advance)" : Format(adjusted, "Currency"), r.gaNumPymts[k],
                        r.gaUnitPeriods[k], r.gaOddDays[k]});
    }
    return rows;
}

}  // namespace tallex
