#include "widgets/ScheduleModel.h"

#include "engine/Format.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"
#include "schedule/ScheduleCellStore.h"
#include "schedule/ScheduleColumns.h"

namespace {

const char* const kCaptions[ScheduleModel::kColumns] = {"Payment Stream #", "Payment Amount", "Number of Payments",
                                                        "Unit Periods", "Odd Days"};

// The stream a label names, or 0.
int StreamOfLabel(const QString& label) {
    bool ok = false;
    const int stream = label.toInt(&ok);
    return ok && stream >= 1 && stream <= tallex::kMaxStreams ? stream : 0;
}

}  // namespace

ScheduleModel::ScheduleModel(tallex::LoanRecord& record, QObject* parent)
    : QAbstractTableModel(parent), record_(record) {
    syncRowCount();
}

int ScheduleModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(streams_.size());
}

int ScheduleModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumns) return {};
    const QString text = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == tallex::kColAmount) {
            // Amounts are shown as money; the cell keeps the number the check left. A number past
            // the range of a double is shown as typed: its check reports it, painting cannot.
            try {
                if (const auto value = tallex::NumericTextValue(text.toStdString()))
                    return QString::fromStdString(tallex::Format(*value, "$#,##0.00"));
            } catch (const tallex::RuntimeError&) {}
        }
        return text;
    case Qt::EditRole: return text;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (index.column() == 0 ? Qt::AlignHCenter : Qt::AlignRight));
    default: return {};
    }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(kCaptions[section]);
    return {};
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!readOnly_[static_cast<std::size_t>(index.column())]) f |= Qt::ItemIsEditable;
    return f;
}

bool ScheduleModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
    setCell(index.row(), index.column(), value.toString());
    return true;
}

QString ScheduleModel::recordText(int row, int column) const {
    const int stream = streams_[static_cast<std::size_t>(row)];
    if (stream < 1) return {};
    const auto k = static_cast<std::size_t>(stream);
    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    switch (column) {
    case tallex::kColStreamLabel: return q(record_.gaPymtCol0[k]);
    case tallex::kColAmount: return q(record_.gaPymtAmt[k]);
    case tallex::kColNumPayments: return q(record_.gaNumPymts[k]);
    case tallex::kColUnitPeriods: return q(record_.gaUnitPeriods[k]);
    default: return q(record_.gaOddDays[k]);
    }
}

QString ScheduleModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) return {};
    if (const auto shown = unstored_.find({row, column}); shown != unstored_.end()) return shown->second;
    return recordText(row, column);
}

void ScheduleModel::show(int row, int column, const QString& text) {
    if (text == recordText(row, column))
        unstored_.erase({row, column});
    else
        unstored_[{row, column}] = text;
}

void ScheduleModel::cellShown(int row, int column, const QString& before) {
    if (cell(row, column) != before) emit dataChanged(index(row, column), index(row, column));
}

void ScheduleModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < tallex::kColAmount || column >= kColumns) return;
    const QString before = cell(row, column);
    show(row, column, text);
    cellShown(row, column, before);
}

void ScheduleModel::storeCell(int row, int column, std::string_view value) {
    if (row < 0 || row >= rowCount() || column < tallex::kColAmount || column >= kColumns) return;
    const QString before = cell(row, column);
    tallex::ScheduleCellStore(record_, cell(row, tallex::kColStreamLabel).toStdString(), column, value);
    show(row, column, QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    cellShown(row, column, before);
}

void ScheduleModel::recordChanged(int row, int column) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) return;
    const QString before = cell(row, column);
    unstored_.erase({row, column});
    cellShown(row, column, before);
}

void ScheduleModel::forgetStored() {
    std::erase_if(unstored_, [this](const auto& shown) {
        return shown.second == recordText(shown.first.first, shown.first.second);
    });
}

void ScheduleModel::setReadOnly(const std::array<bool, kColumns>& readOnly) {
    readOnly_ = readOnly;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

void ScheduleModel::clear() { resetRows({}); }

void ScheduleModel::appendRow(const QString& label) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    streams_.push_back(StreamOfLabel(label));
    for (int column = tallex::kColAmount; column < kColumns; ++column) show(row, column, QString());
    endInsertRows();
    syncRowCount();
}

void ScheduleModel::loadStreams(int count) {
    std::vector<int> streams;
    for (int k = 1; k <= count && k <= tallex::kMaxStreams; ++k) streams.push_back(k);
    resetRows(std::move(streams));
}

void ScheduleModel::reloadFromRecord() {
    std::vector<int> streams;
    for (int k = 1; k <= tallex::kMaxStreams; ++k)
        if (!record_.gaPymtAmt[static_cast<std::size_t>(k)].empty()) streams.push_back(k);
    resetRows(std::move(streams));
}

void ScheduleModel::resetRows(std::vector<int> streams) {
    beginResetModel();
    streams_ = std::move(streams);
    unstored_.clear();
    endResetModel();
    syncRowCount();
}

void ScheduleModel::syncRowCount() { record_.giGridRowCount = static_cast<std::int16_t>(streams_.size()); }
