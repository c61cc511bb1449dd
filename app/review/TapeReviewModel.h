#pragma once
// The verdicts of a tape review as a table: one row per case, the columns of the command line's
// CSV output, filled batch by batch while the tape is checked. TapeReviewFilter shows the rows
// the user asks for (all, violations, refused, subject to reimbursement, an account searched)
// and sorts them by any column.

#include "review/VerdictRows.h"

#include "BatchOutput.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

class TapeReviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The row's flags (VerdictRows::Flag), and a cell's value to sort by.
    enum Role { FlagsRole = Qt::UserRole + 1, SortRole };

    explicit TapeReviewModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    // Appends the rows of a batch and takes its counts.
    void append(VerdictRows&& rows, const tallex::cli::BatchSummary& summary);

    const VerdictRows& rows() const { return rows_; }
    const tallex::cli::BatchSummary& summary() const { return summary_; }
    int violations() const { return violations_; }

    // Whether row `a` comes before row `b` in `column` (empty cells first, then numbers and
    // flags, then texts); the case column keeps the order of the tape.
    bool lessThan(int a, int b, int column) const;

private:
    VerdictRows rows_;
    tallex::cli::BatchSummary summary_;
    int violations_ = 0;
};

class TapeReviewFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    enum class Show { All, Violations, Refused, Reimbursable };

    explicit TapeReviewFilter(TapeReviewModel& model, QObject* parent = nullptr);

    void setShow(Show show);
    // Rows whose account holds `text` (any letter case); empty: every account.
    void setAccountSearch(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    TapeReviewModel& model_;
    Show show_ = Show::All;
    QString account_;
};
