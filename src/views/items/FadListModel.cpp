#include "FadListModel.h"

#include <algorithm>

#include <QColor>
#include <QFont>

#include "FileDetails.h"
#include "FileTypeIcons.h"
#include "album/Items.h"

namespace tessary {

namespace {
const QColor kSortedColumnShade(0xF7, 0xF7, 0xF7);
}

FadListModel::FadListModel(QObject* parent) : QAbstractTableModel(parent) {}

QString FadListModel::HeaderText(int column)
{
    switch (column) {
    case kName: return QStringLiteral("Name");
    case kSize: return QStringLiteral("Size");
    case kType: return QStringLiteral("Type");
    case kModified: return QStringLiteral("Date Modified");
    case kLocation: return QStringLiteral("Location");
    default: return QString();
    }
}

int FadListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

int FadListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QString FadListModel::Text(const FadItem& row, int column) const
{
    switch (column) {
    case kName: return row.item ? row.item->Name() : QStringLiteral("unnamed");
    case kSize: return FileSizeText(row.size);
    case kType: return FileTypeText(row.path);
    case kModified: return FileModifiedText(row.modifiedMs);
    case kLocation: return row.location;
    default: return QString();
    }
}

QString FadListModel::InfoTip(const FadItem& row) const
{
    QString tip;
    for (int column = 0; column < kColumnCount; ++column) {
        if (column > 0)
            tip += QLatin1Char('\n');
        tip += HeaderText(column) + QStringLiteral(": ") + Text(row, column);
    }
    return tip;
}

QVariant FadListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const FadItem& row = At(index.row());
    switch (role) {
    case Qt::DisplayRole: return Text(row, index.column());
    case Qt::EditRole: return index.column() == kName && row.item ? row.item->Name() : QVariant();
    case Qt::ToolTipRole: return InfoTip(row);
    case Qt::DecorationRole:
        if (index.column() != kName || m_decoration == Decoration::None)
            return {};
        return FileTypeIcons::Instance().Icon(FileTypeIcons::Instance().KeyFor(row.path));
    case Qt::TextAlignmentRole:
        if (index.column() == kSize)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::BackgroundRole:
        if (index.column() == m_sortedColumn)
            return kSortedColumnShade;
        return {};
    default: return {};
    }
}

QVariant FadListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return HeaderText(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((section == kSize ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags FadListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == kName && At(index.row()).item)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool FadListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != kName)
        return false;
    emit RenameRequested(index.row(), value.toString());
    return true;
}

void FadListModel::RebuildIndex() const
{
    m_rowOfKey.clear();
    m_rowOfKey.reserve(Count());
    for (int row = 0; row < Count(); ++row)
        m_rowOfKey.insert(m_rows[size_t(row)].key, row);
    m_indexValid = true;
}

int FadListModel::RowOfKey(int32_t key) const
{
    if (!m_indexValid)
        RebuildIndex();
    return m_rowOfKey.value(key, -1);
}

void FadListModel::Append(std::vector<FadItem> rows)
{
    if (rows.empty())
        return;
    const int first = Count();
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    m_rows.reserve(m_rows.size() + rows.size());
    for (FadItem& row : rows) {
        if (m_indexValid)
            m_rowOfKey.insert(row.key, int(m_rows.size()));
        m_rows.push_back(std::move(row));
    }
    endInsertRows();
}

void FadListModel::RemoveRow(int row)
{
    if (row < 0 || row >= Count())
        return;
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    m_indexValid = false;
    endRemoveRows();
}

void FadListModel::Clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_rowOfKey.clear();
    m_indexValid = true;
    endResetModel();
}

void FadListModel::Sort(const std::function<bool(const FadItem&, const FadItem&)>& less)
{
    if (Count() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> order(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return less(m_rows[size_t(a)], m_rows[size_t(b)]); });
    std::vector<FadItem> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRowOf(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newRowOf[size_t(order[i])] = int(i);
        sorted.push_back(std::move(m_rows[size_t(order[i])]));
    }
    m_rows = std::move(sorted);
    m_indexValid = false;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after << this->index(newRowOf[size_t(index.row())], index.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FadListModel::RowChanged(int row)
{
    if (row >= 0 && row < Count())
        emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void FadListModel::SetDecoration(Decoration decoration)
{
    if (decoration == m_decoration)
        return;
    m_decoration = decoration;
    if (Count() > 0)
        emit dataChanged(index(0, kName), index(Count() - 1, kName), {Qt::DecorationRole});
}

void FadListModel::SetSortedColumn(int column)
{
    if (column == m_sortedColumn)
        return;
    m_sortedColumn = column;
    if (Count() > 0)
        emit dataChanged(index(0, 0), index(Count() - 1, kColumnCount - 1), {Qt::BackgroundRole});
}

} // namespace tessary
