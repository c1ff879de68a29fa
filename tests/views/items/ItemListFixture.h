#pragma once
// An album in a temporary folder with generated photos, and an item list whose thumbnails
// come from a store of the fixture's own, made by one worker that can be held.

#include <memory>

#include <QTemporaryDir>
#include <QTest>

#include "../PhotoFixtures.h"
#include "../ViewsTestSupport.h"
#include "album/Album.h"
#include "album/Collections.h"
#include "album/PhotoOperations.h"
#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbnailList.h"
#include "thumbcache/ThumbnailQueue.h"
#include "views/common/SharedFonts.h"
#include "views/items/VeFadListCtrlBase.h"

namespace tessary::test {

// The fonts and the signal argument types of the item list suites.
inline void SetUpItemListTests()
{
    RegisterInterfaceFonts();
    qRegisterMetaType<Collection*>();
    qRegisterMetaType<Item*>();
}

class ItemListFixture {
public:
    ItemListFixture()
    {
        album = std::make_unique<Album>(dir.filePath(QStringLiteral("album")), QStringLiteral("Test"));
        album->SetAlbumId(1);
        QDir().mkpath(album->Folder());
    }

    // A collection with `count` photos named "<stem> NN".
    Collection& AddCollection(const QString& name, int count, const QString& stem)
    {
        Collection* c = album->GetCollections().Add(name);
        const QStringList files = WriteScenes(dir.filePath(QStringLiteral("src/") + name), count, stem, 64, 48);
        AddPathList(*c, files);
        return *c;
    }

    std::unique_ptr<VeFadListCtrlBase> MakeList(bool holdWorkers = false)
    {
        auto list = std::make_unique<VeFadListCtrlBase>(prompts, nullptr, [this, holdWorkers](QObject* window) {
            auto thumbnails = std::make_unique<ThumbnailList>(window, store, dir.filePath(QStringLiteral("tmp")), 1);
            if (holdWorkers) {
                // A worker already past the gate waits for one request: give it a dummy, so
                // that it parks before the list asks for anything (the next Reset drops the
                // dummy if the worker was parked already).
                thumbnails->PauseWorkers(true);
                thumbnails->Request(ThumbnailRequest{0x7FFFFFF0, dir.filePath(QStringLiteral("none.jpg"))});
                const bool parked = QTest::qWaitFor([&] { return thumbnails->GetCounters().served == 1; }, 300);
                Q_UNUSED(parked); // false: it was held at the gate already
            }
            return thumbnails;
        });
        list->resize(420, 320);
        return list;
    }

    // A shown list filled with the collection's rows; null when the fill did not end.
    std::unique_ptr<VeFadListCtrlBase> ShowingList(Collection& collection)
    {
        auto list = MakeList();
        list->show();
        list->ShowCollection(&collection);
        if (!WaitFilled(*list))
            return nullptr;
        return list;
    }

    static bool WaitFilled(VeFadListCtrlBase& list)
    {
        QCoreApplication::processEvents();
        return QTest::qWaitFor([&] { return !list.IsFilling(); }, 5000);
    }

    static std::vector<int32_t> RowIds(const VeFadListCtrlBase& list)
    {
        std::vector<int32_t> ids;
        for (int row = 0; row < list.RowCount(); ++row)
            ids.push_back(list.RowAt(row).key);
        return ids;
    }

    static QStringList RowNames(const VeFadListCtrlBase& list)
    {
        QStringList names;
        for (int row = 0; row < list.RowCount(); ++row)
            names << list.RowAt(row).item->Name();
        return names;
    }

    QTemporaryDir dir;
    ThumbCacheStore store;
    ScriptedPrompts prompts;
    std::unique_ptr<Album> album;
};

} // namespace tessary::test
