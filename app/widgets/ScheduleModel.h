#pragma once
// The payment schedule grid's cells: one row per payment stream shown, five columns (stream
// label, amount, number of payments, unit periods, odd days). The cells are the record's
// schedule columns (gaPymtCol0, gaPymtAmt, gaNumPymts, gaUnitPeriods, gaOddDays), read where
// they stand; the model keeps only which stream each row shows. A cell reaches the record when
// the page stores it after the cell check (storeCell, through the core's ScheduleCellStore), so
// a cell may show text the record does not hold yet: what was typed into it and not yet
// stored, or the blank of a row opened over a stream the record still holds. The record's
// giGridRowCount always equals the row count.

#include "engine/LoanRecord.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <map>
#include <string_view>
#include <utility>
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

    // The text a cell shows.
    QString cell(int row, int column) const;
    // Text typed into a cell (columns 1..4): shown, and not in the record until stored.
    void setCell(int row, int column, const QString& text);
    // A value the cell check left in a cell (columns 1..4): into the record, and shown.
    void storeCell(int row, int column, std::string_view value);
    // A rule of the core wrote this cell of the row's stream in the record: the cell shows it.
    void recordChanged(int row, int column);
    // The core stored cells itself (Continue stores the current row): cells whose text the
    // record now holds show it from there. What the grid shows does not change.
    void forgetStored();
    void setReadOnly(const std::array<bool, kColumns>& readOnly);
    bool isReadOnly(int column) const { return readOnly_[static_cast<std::size_t>(column)]; }

    // No rows at all.
    void clear();
    // A new row at the end for the stream its label names. Its cells show blank until they are
    // typed into or a rule writes them, whatever the record still holds for that stream (text
    // of a row no longer shown, stream 1's timing set by a change of loan type): a row the user
    // opens starts empty, while the rules that read the record see what they always saw.
    void appendRow(const QString& label);
    // Rows for streams 1..count.
    void loadStreams(int count);
    // One row for every stream whose amount is not empty (streams 1..360).
    void reloadFromRecord();

private:
    // The record's text for a cell of a row; empty for a row without a stream.
    QString recordText(int row, int column) const;
    void resetRows(std::vector<int> streams);
    // The cell shows `text`, kept apart from the record where that does not hold it.
    void show(int row, int column, const QString& text);
    // dataChanged for the cell when what it shows is not `before` any more.
    void cellShown(int row, int column, const QString& before);
    void syncRowCount();

    tallex::LoanRecord& record_;
    // The stream (1..360) each row shows; 0 for a row whose label names none.
    std::vector<int> streams_;
    // Cells showing text the record does not hold, by row and column.
    std::map<std::pair<int, int>, QString> unstored_;
    std::array<bool, kColumns> readOnly_{true, false, false, false, false};
};
