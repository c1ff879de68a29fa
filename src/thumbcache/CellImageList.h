#pragma once
// A growable list of equal-size 24-bit images (the list-view cells): the counterpart of an
// image list. Pixels are kept in blocks: the first block holds the initial capacity, every
// further block `growth` cells, so growing never moves the cells already added. A released
// cell's slot is written by a later Add instead of growing the list.
//
// Threads: not thread-safe; ThumbnailList and IconCells use it under their own locks.
// Failures: Add returns -1 and Copy/ToQImage fail or give a null image; the list stays usable.

#include <memory>
#include <vector>
#include <QImage>

#include "imaging/DibDepths.h"

namespace tessary {

class CellImageList {
public:
    // Null when the first block cannot be allocated or the sizes are unusable.
    static std::unique_ptr<CellImageList> Create(DibSize cellSize, int initialCapacity, int growth);

    DibSize CellSize() const { return m_cellSize; }
    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }

    // Adds a copy of `image`, which must have the cell size (any depth; converted to 24
    // bits), into a released slot or at the end. Returns its index, or -1.
    int Add(const DibImage& image);
    // Gives the slot of cell `index` back; its pixels stay until an Add takes it.
    void Release(int index);
    int ReleasedCount() const { return int(m_released.size()); }
    // A 24-bit copy of cell `index`.
    bool Copy(int index, DibImage& out) const;
    // The cell as a QImage (a copy, top-down), for painting; null for a bad index.
    QImage ToQImage(int index) const;

private:
    CellImageList(DibSize cellSize, int growth);
    bool AddBlock(int cells);
    // The block holding `index` and the cell's first row in it.
    const DibImage24* Locate(int index, int& top) const;

    DibSize m_cellSize;
    int m_growth;
    int m_count = 0;
    int m_capacity = 0;
    std::vector<std::unique_ptr<DibImage24>> m_blocks;
    std::vector<int> m_blockStart; // index of each block's first cell
    std::vector<int> m_released;
};

} // namespace tessary
