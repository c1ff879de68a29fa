#pragma once
// The rows of the item list as a Qt item model: one FadItem per row, five columns (name,
// size, type, date modified, "Location"). Display texts come from the album item and the
// file facts of the row; the name is edited in place (a finished edit is handed to the
// RenameRequested signal, the list renames the item). Rows are kept in display order; sorting
// reorders them and keeps selections and the current row (persistent indexes follow).
//
// Ownership: the model owns the records, not the album items. UI thread only.

#include <cstdint>
#include <functional>
#include <vector>

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>

#include "FadItem.h"

namespace tessary {

class FadListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kName, kSize, kType, kModified, kLocation, kColumnCount };
    static constexpr int kColumnWidths[kColumnCount] = {120, 120, 120, 120, 200};

    explicit FadListModel(QObject* parent = nullptr);

    static QString HeaderText(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    int Count() const { return int(m_rows.size()); }
    const FadItem& At(int row) const { return m_rows[size_t(row)]; }
    // The row showing the item, or -1.
    int RowOfKey(int32_t key) const;

    void Append(std::vector<FadItem> rows);
    void RemoveRow(int row);
    void Clear();
    // Stable sort of the rows; `less` compares two records.
    void Sort(const std::function<bool(const FadItem&, const FadItem&)>& less);
    // Repaints the row's cells (after a rename).
    void RowChanged(int row);

    // Large icons (Icons mode) or small ones (List, Details) as the rows' decorations; none
    // in the Thumbnails mode, whose cells are drawn by their own delegate.
    enum class Decoration { None, Large, Small };
    void SetDecoration(Decoration decoration);
    // The column drawn with the sorted-column shading, or -1.
    void SetSortedColumn(int column);

signals:
    void RenameRequested(int row, const QString& text);

private:
    QString Text(const FadItem& row, int column) const;
    QString InfoTip(const FadItem& row) const;
    void RebuildIndex() const;

    std::vector<FadItem> m_rows;
    mutable QHash<int32_t, int> m_rowOfKey;
    mutable bool m_indexValid = true;
    Decoration m_decoration = Decoration::None;
    int m_sortedColumn = -1;
};

} // namespace tessary
