// The item list on large albums (run offscreen; bench/views/item_list_bench.sh):
// - BM_ShowAllCollections: "All Collections" of 20 collections x 1,000 items, from
//   ShowCollection to the first painted screen, the existence checks included (target under
//   300 ms); BM_FillAllCollections: until every row is in.
// - BM_ThumbnailRepaint: one full 800 x 600 viewport of the Thumbnails mode painted at a new
//   scroll position, cells made (target under 8 ms).
// - BM_ColdFirstScreen: a collection of 1,000 camera photos (TESSARY_CAMERA_PHOTOS, half with
//   an Exif thumbnail) shown in the Thumbnails mode with an empty store, until every cell of
//   the first screen is a thumbnail and painted (target under 1 s).
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>

#include "album/Album.h"
#include "imaging/DibImage.h"
#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbnailList.h"
#include "views/common/UserPrompts.h"
#include "views/items/FadItem.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/details/VeFadDetailsCtrlBase.h"
#include "views/details/VeFadInfoCtrlBase.h"
#include "views/items/VeFadListCtrlBase.h"
#include "views/menus/CommandIds.h"

using namespace tessary;

namespace {

constexpr int kCollections = 20;
constexpr int kItemsEach = 1000;

// A tiny JPEG's bytes; the list only looks at the files' metadata.
const QByteArray kPhotoBytes = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(600, 'x') + QByteArray("\xFF\xD9", 2);

// Makes items the loader's way and writes (or links) their photo files.
bool AddItems(Collection& c, int count, const std::function<bool(const QString& path, int index)>& writeFile)
{
    for (int i = 0; i < count; ++i) {
        Item* item = c.GetItems().Add(QStringLiteral("Photo %1").arg(i + 1, 5, 10, QLatin1Char('0')), i + 1);
        if (!item || !item->GetPhotos().Add(PhotoFormat::Jpeg, 1))
            return false;
        const QString path = item->FirstPhotoPath();
        QDir().mkpath(QFileInfo(path).path());
        if (!writeFile(path, i))
            return false;
    }
    return true;
}

struct LargeAlbum {
    QTemporaryDir dir;
    std::unique_ptr<Album> album;
    bool ok = false;

    LargeAlbum()
    {
        album = std::make_unique<Album>(dir.filePath(QStringLiteral("album")), QStringLiteral("Large"));
        ok = true;
        for (int c = 0; c < kCollections && ok; ++c) {
            Collection* collection = album->GetCollections().Add(QStringLiteral("Collection %1").arg(c + 1));
            ok = collection && AddItems(*collection, kItemsEach, [](const QString& path, int) {
                QFile file(path);
                return file.open(QIODevice::WriteOnly) && file.write(kPhotoBytes) == kPhotoBytes.size();
            });
        }
    }
};

LargeAlbum& SharedAlbum()
{
    static LargeAlbum album;
    return album;
}

struct Fixture {
    QTemporaryDir storeDir;
    ThumbCacheStore store;
    UserPrompts prompts;
    std::unique_ptr<VeFadListCtrlBase> list;

    explicit Fixture(int workers = 1)
    {
        list = std::make_unique<VeFadListCtrlBase>(prompts, nullptr, [this, workers](QObject* window) {
            return std::make_unique<ThumbnailList>(window, store, storeDir.path(), workers);
        });
        list->resize(800, 600);
        list->show();
        QApplication::processEvents(); // the posted Thumbnails command
    }
};

void BM_ShowAllCollections(benchmark::State& state)
{
    LargeAlbum& large = SharedAlbum();
    if (!large.ok) {
        state.SkipWithError("could not write the album");
        return;
    }
    Fixture f;
    Collection& all = large.album->GetCollections().AllCollections();
    for (auto _ : state) {
        f.list->ShowCollection(&all);
        while (f.list->RowCount() == 0)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        f.list->IconView()->viewport()->repaint();
        state.PauseTiming();
        while (f.list->IsFilling())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        f.list->Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowAllCollections)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_FillAllCollections(benchmark::State& state)
{
    LargeAlbum& large = SharedAlbum();
    Fixture f;
    Collection& all = large.album->GetCollections().AllCollections();
    for (auto _ : state) {
        f.list->ShowCollection(&all);
        while (f.list->IsFilling())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        f.list->IconView()->viewport()->repaint();
        state.PauseTiming();
        if (f.list->RowCount() != kCollections * kItemsEach)
            state.SkipWithError("rows missing");
        f.list->Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FillAllCollections)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ThumbnailRepaint(benchmark::State& state)
{
    LargeAlbum& large = SharedAlbum();
    Fixture f;
    f.list->ShowCollection(&large.album->GetCollections().AllCollections());
    while (f.list->IsFilling())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // Cells for the first 3,000 rows, as the workers would have made them.
    f.list->Thumbnails().PauseWorkers(true);
    DibImage cell;
    cell.Create24(DibSize{96, 96});
    for (int row = 0; row < 3000; ++row) {
        cell.FillRect(DibRect{0, 0, 96, 96}, DibColor::Rgb(uint8_t(row * 7), uint8_t(row * 13), uint8_t(row * 29)));
        f.list->Thumbnails().AddCell(cell, f.list->RowAt(row).key, false);
    }
    QScrollBar* bar = f.list->IconView()->verticalScrollBar();
    const int rowsPerScreen = 600 / 140;
    const int lastValue = std::min(bar->maximum(), 3000 / 6 * 140 - 600);
    int value = 0;
    for (auto _ : state) {
        value = (value + rowsPerScreen * 140 + 37) % std::max(1, lastValue);
        bar->setValue(value);
        f.list->IconView()->viewport()->repaint();
    }
    state.counters["rows"] = f.list->RowCount();
}
BENCHMARK(BM_ThumbnailRepaint)->Unit(benchmark::kMillisecond);

void BM_ColdFirstScreen(benchmark::State& state)
{
    const QString source = qEnvironmentVariable("TESSARY_CAMERA_PHOTOS");
    QStringList photos;
    if (!source.isEmpty())
        for (const QString& name : QDir(source).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
            photos << QDir(source).filePath(name);
    if (photos.isEmpty()) {
        state.SkipWithError("set TESSARY_CAMERA_PHOTOS to a folder of camera photos");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        Album album(dir.filePath(QStringLiteral("album")), QStringLiteral("Camera"));
        Collection* c = album.GetCollections().Add(QStringLiteral("Camera"));
        // Hard links: 1,000 photo files without 1,000 copies on disk.
        const bool made = AddItems(*c, 1000, [&](const QString& path, int index) {
            return ::link(QFile::encodeName(photos[index % photos.size()]).constData(),
                          QFile::encodeName(path).constData()) == 0;
        });
        if (!made) {
            state.SkipWithError("could not link the photos");
            return;
        }
        Fixture f(ThumbnailList::WorkerCount());
        state.ResumeTiming();
        f.list->ShowCollection(c);
        for (;;) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            const auto [first, last] = f.list->VisibleRows();
            bool done = first >= 0;
            for (int row = first; done && row <= last; ++row)
                done = f.list->Thumbnails().ThumbIndex(f.list->RowAt(row).key) >= 0;
            if (done)
                break;
        }
        f.list->IconView()->viewport()->repaint();
        state.PauseTiming();
        state.counters["screen"] = f.list->VisibleRows().second - f.list->VisibleRows().first + 1;
        f.list.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ColdFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

// Selecting a row until the info strip and the details pane are painted, on the UI thread
// (facts and previews come from workers; target under 16 ms).
void BM_SelectRowToPaint(benchmark::State& state)
{
    LargeAlbum& large = SharedAlbum();
    UserPrompts prompts;
    VeAlbumViewBase view;
    view.SetPrompts(&prompts);
    view.resize(1200, 800);
    view.show();
    view.SetAlbum(large.album.get());
    VeFadListCtrlBase& list = *view.ItemList();
    list.ShowCollection(large.album->GetCollections().At(0));
    while (list.IsFilling())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    int row = 0;
    for (auto _ : state) {
        row = (row + 7) % list.RowCount();
        list.SelectRows({row});
        view.InfoStrip().repaint();
        view.DetailsPane().repaint();
    }
}
BENCHMARK(BM_SelectRowToPaint)->Unit(benchmark::kMillisecond);

} // namespace
