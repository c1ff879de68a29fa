#pragma once
// The process-wide placeholder cells: one 96 x 96 cell per file-type icon, made the first
// time any thumbnail list asks for that icon, shared by every list and kept until exit.
//
// Threads: the UI thread asks (ThumbnailList::ImageIndexFor); everything is under one mutex,
// taken inside the list's own lock and never the other way round.

#include <map>
#include <memory>
#include <mutex>

#include "thumbcache/CellImageList.h"
#include "thumbcache/ThumbIconProvider.h"
#include "thumbcache/ThumbnailCell.h"

namespace tessary {

class IconCells {
public:
    // Made on first use; its icons and cells are released when the application object goes.
    static IconCells& Instance();

    // Replaces the icon provider (null: the plain one) and drops the cells made so far. Meant
    // for start-up, before a list has asked for a placeholder (lists keep the copies they
    // already have until their next Reset).
    void SetProvider(std::unique_ptr<ThumbIconProvider> provider);
    // The provider's key for the file's type icon.
    int IconIndexFor(const QString& path);
    // A copy of the placeholder cell of `iconIndex`, made when it is asked for the first time.
    bool CopyCell(int iconIndex, DibImage& out);
    int CellCount() const;
    // Drops the provider and the cells (at exit); the next use starts again with the plain
    // provider.
    void Release();

    IconCells();
    IconCells(const IconCells&) = delete;
    IconCells& operator=(const IconCells&) = delete;

private:
    mutable std::mutex m_mutex;
    CellStyle m_style;
    std::unique_ptr<ThumbIconProvider> m_provider;
    std::unique_ptr<CellImageList> m_cells;
    std::map<int, int> m_index; // icon key -> cell
};

} // namespace tessary
