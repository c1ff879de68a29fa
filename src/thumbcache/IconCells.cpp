#include "IconCells.h"

#include <QCoreApplication>

#include "imaging/DibDepths.h"

namespace tessary {

namespace {
constexpr int kInitialCells = 100;
constexpr int kGrowth = 100;
} // namespace

IconCells& IconCells::Instance()
{
    static IconCells cells;
    static const bool releaseWithApp = [] {
        // The provider may hold the interface's icons, which must go before the application.
        if (QCoreApplication::instance())
            qAddPostRoutine([] { Instance().Release(); });
        return true;
    }();
    (void)releaseWithApp;
    return cells;
}

IconCells::IconCells() = default;

void IconCells::SetProvider(std::unique_ptr<ThumbIconProvider> provider)
{
    std::lock_guard lock(m_mutex);
    m_provider = std::move(provider);
    m_cells.reset();
    m_index.clear();
}

int IconCells::IconIndexFor(const QString& path)
{
    std::lock_guard lock(m_mutex);
    if (!m_provider)
        m_provider = std::make_unique<PlainIconProvider>();
    return m_provider->IconIndexFor(path);
}

bool IconCells::CopyCell(int iconIndex, DibImage& out)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_index.find(iconIndex);
    if (it != m_index.end())
        return m_cells->Copy(it->second, out);
    if (!m_provider)
        m_provider = std::make_unique<PlainIconProvider>();
    if (!m_cells) {
        m_cells = CellImageList::Create(m_style.cell, kInitialCells, kGrowth);
        if (!m_cells)
            return false;
    }
    DibImage24 cell;
    if (!ComposePlaceholder(m_provider->LargeIcon(iconIndex), m_style, cell))
        return false;
    const int index = m_cells->Add(cell);
    if (index < 0)
        return false;
    m_index.emplace(iconIndex, index);
    return out.Adopt(cell);
}

int IconCells::CellCount() const
{
    std::lock_guard lock(m_mutex);
    return m_cells ? m_cells->Count() : 0;
}

void IconCells::Release()
{
    std::lock_guard lock(m_mutex);
    m_provider.reset();
    m_cells.reset();
    m_index.clear();
}

} // namespace tessary
