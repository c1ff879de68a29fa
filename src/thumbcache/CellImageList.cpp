#include "CellImageList.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tessary {

std::unique_ptr<CellImageList> CellImageList::Create(DibSize cellSize, int initialCapacity, int growth)
{
    if (cellSize.IsEmpty() || initialCapacity < 1 || growth < 1)
        return nullptr;
    std::unique_ptr<CellImageList> list(new (std::nothrow) CellImageList(cellSize, growth));
    if (!list || !list->AddBlock(initialCapacity))
        return nullptr;
    return list;
}

CellImageList::CellImageList(DibSize cellSize, int growth)
    : m_cellSize(cellSize)
    , m_growth(growth)
{
}

bool CellImageList::AddBlock(int cells)
{
    if (int64_t(m_cellSize.height) * cells > INT32_MAX || m_capacity > INT32_MAX - cells)
        return false;
    try {
        auto block = std::make_unique<DibImage24>();
        if (!block->Create(m_cellSize.width, m_cellSize.height * cells, 24))
            return false;
        m_blocks.push_back(std::move(block));
        m_blockStart.push_back(m_capacity);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_capacity += cells;
    return true;
}

int CellImageList::Add(const DibImage& image)
{
    if (!image.IsValid() || image.Size() != m_cellSize)
        return -1;
    if (!m_released.empty()) {
        const int index = m_released.back();
        int top = 0;
        auto* block = const_cast<DibImage24*>(Locate(index, top));
        if (!block || !block->DrawImage(image, 0, top))
            return -1;
        m_released.pop_back();
        return index;
    }
    if (m_count == m_capacity && !AddBlock(m_growth))
        return -1;
    const size_t b = m_blocks.size() - 1;
    const int top = (m_count - m_blockStart[b]) * m_cellSize.height;
    if (!m_blocks[b]->DrawImage(image, 0, top))
        return -1;
    return m_count++;
}

void CellImageList::Release(int index)
{
    if (index >= 0 && index < m_count && std::find(m_released.begin(), m_released.end(), index) == m_released.end())
        m_released.push_back(index);
}

const DibImage24* CellImageList::Locate(int index, int& top) const
{
    if (index < 0 || index >= m_count)
        return nullptr;
    const auto it = std::upper_bound(m_blockStart.begin(), m_blockStart.end(), index);
    const size_t b = size_t(it - m_blockStart.begin()) - 1;
    top = (index - m_blockStart[b]) * m_cellSize.height;
    return m_blocks[b].get();
}

bool CellImageList::Copy(int index, DibImage& out) const
{
    int top = 0;
    const DibImage24* block = Locate(index, top);
    DibImage24 cell;
    if (!block || !cell.Create24(m_cellSize))
        return false;
    for (int y = 0; y < m_cellSize.height; ++y)
        std::memcpy(cell.Row(y), block->Row(top + y), size_t(m_cellSize.width) * 3);
    return out.Adopt(cell);
}

QImage CellImageList::ToQImage(int index) const
{
    int top = 0;
    const DibImage24* block = Locate(index, top);
    if (!block)
        return {};
    QImage image(m_cellSize.width, m_cellSize.height, QImage::Format_BGR888);
    if (image.isNull())
        return {};
    for (int y = 0; y < m_cellSize.height; ++y)
        std::memcpy(image.scanLine(y), block->Row(top + y), size_t(m_cellSize.width) * 3);
    return image;
}

} // namespace tessary
