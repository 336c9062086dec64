#include "list/ResultList.h"

#include <algorithm>

ResultList::ResultList(QObject* parent) : QAbstractTableModel(parent) { }

int ResultList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultList::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    // A cell shows no more than a column can hold; laying out megabytes of text would freeze the list.
    constexpr qsizetype MaxShownBytes = 4096;
    const QByteArray text = cellText(index.row(), index.column());
    if (text.size() <= MaxShownBytes)
        return QString::fromUtf8(text);
    qsizetype cut = MaxShownBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // not inside a UTF-8 sequence
    return QString::fromUtf8(text.first(cut)) + QChar(0x2026);
}

QVariant ResultList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case PasswordColumn:
        return QStringLiteral("Password");
    case UsernameColumn:
        return QStringLiteral("Username");
    default:
        return {};
    }
}

Qt::ItemFlags ResultList::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

CredentialPair ResultList::pairAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return {};
    return rows_[static_cast<std::size_t>(row)];
}

QByteArray ResultList::cellText(int row, int column) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return {};
    const CredentialPair& pair = rows_[static_cast<std::size_t>(row)];
    return column == PasswordColumn ? pair.password : column == UsernameColumn ? pair.username : QByteArray();
}

const std::deque<CredentialPair>& ResultList::rows() const
{
    return rows_;
}

void ResultList::insertAtTop(CredentialPair pair)
{
    if (batchDepth_ > 0) {
        pending_.push_back(std::move(pair));
        return;
    }
    beginInsertRows({}, 0, 0);
    rows_.push_front(std::move(pair));
    endInsertRows();
}

void ResultList::setRow(int row, CredentialPair pair)
{
    flushPending();
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return;
    rows_[static_cast<std::size_t>(row)] = std::move(pair);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {Qt::DisplayRole});
}

void ResultList::removeRowAt(int row)
{
    flushPending();
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void ResultList::clear()
{
    flushPending();
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
}

void ResultList::reverseRows()
{
    flushPending();
    if (rows_.size() < 2)
        return;
    // The texts change places; the selection and anything else that points at a row index stay at
    // their indexes, so persistent indexes are deliberately left alone. A layout change rather than a
    // data change keeps views from measuring every row.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::reverse(rows_.begin(), rows_.end());
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultList::beginBatch()
{
    ++batchDepth_;
}

void ResultList::endBatch()
{
    Q_ASSERT(batchDepth_ > 0);
    if (--batchDepth_ == 0)
        flushPending();
}

void ResultList::flushPending()
{
    if (pending_.empty())
        return;
    // pending_ is in making order; the last made ends on top.
    beginInsertRows({}, 0, static_cast<int>(pending_.size()) - 1);
    for (CredentialPair& pair : pending_)
        rows_.push_front(std::move(pair));
    endInsertRows();
    pending_.clear();
    pending_.shrink_to_fit();
}
