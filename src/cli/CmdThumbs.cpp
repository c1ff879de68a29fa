// thumbs DIR [--passes N] [--json]: the list-view thumbnailer over every photo under DIR, pass
// after pass, as the item list's Refresh runs it; the measuring tool of the service. The pool
// size follows TESSARY_THUMB_WORKERS and is reported with the figures.
#include <algorithm>
#include <cmath>
#include <functional>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

#include "CliCommand.h"
#include "app/AppFolders.h"
#include "thumbcache/ThumbEvents.h"
#include "thumbcache/ThumbnailList.h"
#include "util/PhotoFormat.h"

namespace tessary::cli {

namespace {

const char kUsage[] = "usage: thumbs DIR [--passes N] [--json]";
constexpr int kMaxPasses = 1000;

// Stands in for the item-list window: counts what the thumbnailer posts to it.
class EventCounter : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == kThumbReadyEvent) {
            ++ready;
            if (changed)
                changed();
            return true;
        }
        if (e->type() == kThumbListResetEvent) {
            ++resets;
            return true;
        }
        return QObject::event(e);
    }
    int64_t ready = 0;
    int64_t resets = 0;
    std::function<void()> changed;
};

// Files of the storable photo formats under `folder` by extension, in path order.
QStringList PhotosUnder(const QString& folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (IsStorablePhotoFormat(PhotoFormatFromPath(path)))
            paths << path;
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

struct PassResult {
    int64_t made = 0;
    int64_t storeHits = 0;
    int64_t failed = 0;
    double ms = 0;
};

// One pass as the item list shows a collection: a fresh image list (Reset), every row asked
// for as one batch in display order, then the wait until every request has been worked on and
// every ready event has arrived.
PassResult RunPass(ThumbnailList& list, EventCounter& window, const std::vector<ThumbnailRequest>& batch)
{
    list.Reset(100);
    const ThumbnailList::Counters before = list.GetCounters();
    const int64_t readyBefore = window.ready;
    auto finished = [&] {
        const ThumbnailList::Counters now = list.GetCounters();
        const int64_t worked = (now.made - before.made) + (now.failed - before.failed)
                               + (now.discarded - before.discarded) + (now.repeated - before.repeated);
        return worked >= int64_t(batch.size()) && window.ready - readyBefore >= now.made - before.made;
    };

    QElapsedTimer clock;
    clock.start();
    list.RequestMany(batch);
    QEventLoop loop;
    // Failed photos post nothing, so the counters are also polled.
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished())
            loop.quit();
    });
    window.changed = [&] {
        if (finished())
            loop.quit();
    };
    poll.start();
    if (!finished())
        loop.exec();
    window.changed = nullptr;

    const ThumbnailList::Counters after = list.GetCounters();
    PassResult r;
    r.ms = double(clock.nsecsElapsed()) / 1e6;
    r.made = after.made - before.made;
    r.storeHits = after.storeHits - before.storeHits;
    r.failed = after.failed - before.failed;
    return r;
}

} // namespace

int RunThumbs(const QStringList& arguments)
{
    QStringList args = arguments;
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    QString passesText = QStringLiteral("2");
    bool hasPasses = false;
    if (!TakeOption(args, QStringLiteral("--passes"), passesText, hasPasses))
        return Fail(kExitUsage, QString::fromLatin1(kUsage));
    bool ok = false;
    const int passes = passesText.toInt(&ok);
    if (!ok || passes < 1 || passes > kMaxPasses)
        return Fail(kExitUsage, QStringLiteral("--passes takes a number from 1 to %1").arg(kMaxPasses));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return Fail(kExitUsage, QString::fromLatin1(kUsage));
    const QString folder = args[0];
    if (!QFileInfo(folder).isDir())
        return Fail(kExitFailed, QStringLiteral("%1: no such folder").arg(folder));

    // The stores live in this run's temporary folder and go with it at exit.
    const QString tempFolder = AppFolders::TempFolder();
    if (tempFolder.isEmpty())
        return Fail(kExitFailed, QStringLiteral("the temporary folder cannot be made"));
    ThumbCacheStore::SetStoreFolder(tempFolder);

    const QStringList photos = PhotosUnder(QDir(folder).absolutePath());
    std::vector<ThumbnailRequest> batch;
    batch.reserve(size_t(photos.size()));
    for (qsizetype i = 0; i < photos.size(); ++i)
        batch.push_back({int32_t(i + 1), photos[i]});

    EventCounter window;
    QJsonArray passList;
    int workers = 0;
    {
        ThumbnailList list(&window);
        workers = list.Workers();
        for (int pass = 0; pass < passes; ++pass) {
            // As the item list's Refresh does: forget the thumbnails, then empty the list and
            // show the rows again. ForgetThumbnails alone keeps the queue's done set, which
            // would drop every request; the Reset of the emptied list clears it, and the
            // worker then finds the photos in the list-view store.
            if (pass > 0)
                list.ForgetThumbnails();
            const PassResult r = RunPass(list, window, batch);
            if (json) {
                QJsonObject o;
                o.insert(QStringLiteral("made"), qint64(r.made));
                o.insert(QStringLiteral("store_hits"), qint64(r.storeHits));
                o.insert(QStringLiteral("ms"), std::round(r.ms * 10) / 10);
                passList.append(o);
            } else {
                PrintLine(QStringLiteral("pass %1: %2 made, %3 from the store, %4 failed, %5 ms")
                              .arg(pass + 1)
                              .arg(r.made)
                              .arg(r.storeHits)
                              .arg(r.failed)
                              .arg(r.ms, 0, 'f', 1));
            }
        }
    }
    if (json) {
        QJsonObject out;
        out.insert(QStringLiteral("files"), qint64(photos.size()));
        out.insert(QStringLiteral("workers"), workers);
        out.insert(QStringLiteral("passes"), passList);
        PrintJson(QJsonDocument(out));
    } else {
        PrintLine(QStringLiteral("%1 files, %2 workers").arg(photos.size()).arg(workers));
    }
    return kExitOk;
}

} // namespace tessary::cli
