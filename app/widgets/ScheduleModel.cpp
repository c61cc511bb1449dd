#include "widgets/ScheduleModel.h"

#include "engine/Format.h"
#include "engine/NumberText.h"

namespace {

const char* const kCaptions[ScheduleModel::kColumns] = {"Payment Stream #", "Payment Amount", "Number of Payments",
                                                         "Unit Periods", "Odd Days"};

}  // namespace

ScheduleModel::ScheduleModel(tallex::LoanRecord& record, QObject* parent) : QAbstractTableModel(parent), record_(record) {
    syncRowCount();
}

int ScheduleModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ScheduleModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumns) return {};
    const QString& text = rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 1) {
            // Amounts are shown as money; the cell keeps the number the check left.
            if (const auto value = tallex::NumericTextValue(text.toStdString()))
                return QString::fromStdString(tallex::Format(*value, "$#,##0.00"));
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

QString ScheduleModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void ScheduleModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) return;
    QString& slot = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (slot == text) return;
    slot = text;
    emit dataChanged(index(row, column), index(row, column));
}

void ScheduleModel::setReadOnly(const std::array<bool, kColumns>& readOnly) {
    readOnly_ = readOnly;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

void ScheduleModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
    syncRowCount();
}

void ScheduleModel::appendRow(const QString& label) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.push_back({label, {}, {}, {}, {}});
    endInsertRows();
    syncRowCount();
}

void ScheduleModel::loadStreams(int count) {
    beginResetModel();
    rows_.clear();
    for (int k = 1; k <= count && k <= tallex::kMaxStreams; ++k) {
        const auto q = [](const std::string& s) { return QString::fromStdString(s); };
        rows_.push_back({q(record_.gaPymtCol0[k]), q(record_.gaPymtAmt[k]), q(record_.gaNumPymts[k]),
                         q(record_.gaUnitPeriods[k]), q(record_.gaOddDays[k])});
    }
    endResetModel();
    syncRowCount();
}

void ScheduleModel::reloadFromRecord() {
    beginResetModel();
    rows_.clear();
    for (int k = 1; k <= tallex::kMaxStreams; ++k) {
        if (record_.gaPymtAmt[k].empty()) continue;
        const auto q = [](const std::string& s) { return QString::fromStdString(s); };
        rows_.push_back({q(record_.gaPymtCol0[k]), q(record_.gaPymtAmt[k]), q(record_.gaNumPymts[k]),
                         q(record_.gaUnitPeriods[k]), q(record_.gaOddDays[k])});
    }
    endResetModel();
    syncRowCount();
}

void ScheduleModel::syncRowCount() { record_.giGridRowCount = static_cast<std::int16_t>(rows_.size()); }
