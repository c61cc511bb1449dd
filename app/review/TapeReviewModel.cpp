#include "review/TapeReviewModel.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

using tallex::cli::ColumnFormat;
using tallex::cli::VerdictCell;
using tallex::cli::VerdictColumns;

namespace {

constexpr int kCaseColumn = 0;
constexpr int kAccountColumn = 1;

// The rows a spreadsheet of the verdicts highlights, and the refused ones, in light tints that
// keep dark text readable whatever the palette.
const QColor kViolationTint(255, 221, 218);
const QColor kRefusedTint(255, 240, 200);

QString Shown(double value, ColumnFormat format) {
    switch (format) {
    case ColumnFormat::Integer: return QString::number(static_cast<long long>(value));
    case ColumnFormat::Money: return QLocale(QLocale::English).toString(value, 'f', 2);
    case ColumnFormat::Percent: return QString::number(value, 'f', 4) + QStringLiteral(" %");
    case ColumnFormat::Number: return QString::number(value, 'g', 10);
    case ColumnFormat::Boolean: return value != 0 ? QStringLiteral("yes") : QStringLiteral("no");
    case ColumnFormat::Text: break;
    }
    return QString::number(value, 'g', 17);
}

int Rank(VerdictCell::Kind kind) {
    switch (kind) {
    case VerdictCell::Kind::Empty: return 0;
    case VerdictCell::Kind::Number:
    case VerdictCell::Kind::Boolean: return 1;
    case VerdictCell::Kind::Text: return 2;
    }
    return 0;
}

}  // namespace

TapeReviewModel::TapeReviewModel(QObject* parent) : QAbstractTableModel(parent) {}

int TapeReviewModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_.size(); }

int TapeReviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : VerdictRows::columns();
}

QVariant TapeReviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const int row = index.row(), column = index.column();
    const VerdictCell::Kind kind = rows_.kind(row, column);
    const ColumnFormat format = VerdictColumns()[static_cast<std::size_t>(column)].format;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (kind == VerdictCell::Kind::Empty) return {};
        if (kind == VerdictCell::Kind::Text) {
            const std::string_view text = rows_.text(row, column);
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        return role == Qt::DisplayRole ? Shown(rows_.number(row, column), format) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            (format == ColumnFormat::Text || format == ColumnFormat::Boolean ? Qt::AlignLeft : Qt::AlignRight) |
            Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (rows_.flags(row) & VerdictRows::Violation) return QBrush(kViolationTint);
        if (rows_.flags(row) & VerdictRows::Refused) return QBrush(kRefusedTint);
        return {};
    case Qt::ForegroundRole:
        if (rows_.flags(row) & (VerdictRows::Violation | VerdictRows::Refused)) return QBrush(Qt::black);
        return {};
    case FlagsRole: return rows_.flags(row);
    default: return {};
    }
}

QVariant TapeReviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= VerdictRows::columns()) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(VerdictColumns()[static_cast<std::size_t>(section)].name);
    return {};
}

void TapeReviewModel::clear() {
    beginResetModel();
    rows_.clear();
    summary_ = {};
    violations_ = 0;
    endResetModel();
}

void TapeReviewModel::append(VerdictRows&& rows, const tallex::cli::BatchSummary& summary) {
    summary_ = summary;
    if (rows.size() == 0) return;
    for (int row = 0; row < rows.size(); ++row) violations_ += (rows.flags(row) & VerdictRows::Violation) ? 1 : 0;
    beginInsertRows({}, rows_.size(), rows_.size() + rows.size() - 1);
    rows_.append(std::move(rows));
    endInsertRows();
}

bool TapeReviewModel::lessThan(int a, int b, int column) const {
    if (column == kCaseColumn) return a < b;
    const VerdictCell::Kind ka = rows_.kind(a, column), kb = rows_.kind(b, column);
    if (Rank(ka) != Rank(kb)) return Rank(ka) < Rank(kb);
    if (ka == VerdictCell::Kind::Text) return rows_.text(a, column) < rows_.text(b, column);
    if (ka == VerdictCell::Kind::Empty) return false;
    return rows_.number(a, column) < rows_.number(b, column);
}

TapeReviewFilter::TapeReviewFilter(TapeReviewModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    setSourceModel(&model);
}

void TapeReviewFilter::setShow(Show show) {
    show_ = show;
    // One new layout rather than rows removed and inserted piece by piece: a view's row header
    // takes each piece in time proportional to the whole list.
    invalidate();
}

void TapeReviewFilter::setAccountSearch(const QString& text) {
    account_ = text.trimmed();
    // One new layout rather than rows removed and inserted piece by piece: a view's row header
    // takes each piece in time proportional to the whole list.
    invalidate();
}

bool TapeReviewFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const VerdictRows& rows = model_.rows();
    const std::uint8_t flags = rows.flags(sourceRow);
    switch (show_) {
    case Show::All: break;
    case Show::Violations:
        if (!(flags & VerdictRows::Violation)) return false;
        break;
    case Show::Refused:
        if (!(flags & VerdictRows::Refused)) return false;
        break;
    case Show::Reimbursable:
        if (!(flags & VerdictRows::Reimbursable)) return false;
        break;
    }
    if (account_.isEmpty()) return true;
    const std::string_view account = rows.text(sourceRow, kAccountColumn);
    return QString::fromUtf8(account.data(), static_cast<qsizetype>(account.size()))
        .contains(account_, Qt::CaseInsensitive);
}

bool TapeReviewFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return model_.lessThan(left.row(), right.row(), left.column());
}
