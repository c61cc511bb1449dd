#pragma once
// The payment schedule grid's cells: one row per payment stream shown, five columns (stream
// label, amount, number of payments, unit periods, odd days). The grid is a view of the
// record's schedule columns that the page keeps in step with them through the schedule rules
// (a cell reaches the record when it is left); editing a cell here changes only the grid.
// The record's giGridRowCount always equals the row count.

#include "engine/LoanRecord.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

class ScheduleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 5;
    // Longest text a cell takes, by column.
    static constexpr std::array<int, kColumns> kMaxLength{3, 12, 4, 4, 4};

    explicit ScheduleModel(tallex::LoanRecord& record, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);
    void setReadOnly(const std::array<bool, kColumns>& readOnly);
    bool isReadOnly(int column) const { return readOnly_[static_cast<std::size_t>(column)]; }

    // No rows at all.
    void clear();
    // A new row at the end holding only its label.
    void appendRow(const QString& label);
    // Rows for streams 1..count, all five columns from the record.
    void loadStreams(int count);
    // One row for every stream whose amount is not empty, from the record (streams 1..360).
    void reloadFromRecord();

private:
    void syncRowCount();

    tallex::LoanRecord& record_;
    std::vector<std::array<QString, kColumns>> rows_;
    std::array<bool, kColumns> readOnly_{true, false, false, false, false};
};
