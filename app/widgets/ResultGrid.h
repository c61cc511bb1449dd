#pragma once
// The read-only schedule grids of the results and reimbursement pages: columns and rows exactly
// as the core gives them (compliance/ResultGrids.h). The grid takes no focus, so Tab passes it
// by, and nothing in it can be edited or selected.

#include "compliance/ResultGrids.h"

#include <QTableWidget>

#include <vector>

class ResultGrid : public QTableWidget {
    Q_OBJECT
public:
    ResultGrid(const char* objectName, QWidget* parent);

    // Captions and widths (twips) of the columns; removes every row.
    void setColumns(const std::vector<tallex::GridColumn>& columns);
    void setRows(const std::vector<tallex::GridRow>& rows);
    // The text of a cell; empty outside the grid.
    QString cellText(int row, int column) const;
    // The width that shows every column at its own width and the vertical scroll bar; a wider
    // grid widens its columns in proportion.
    int fullWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitColumns();

    std::vector<int> widths_;  // each column's own width, in pixels
};
