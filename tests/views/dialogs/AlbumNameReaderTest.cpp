// The album name reader: one event per path, in order, with the stored name or nothing, from
// a thread other than the receiver's.
#include <thread>
#include <vector>

#include <QTemporaryDir>
#include <QTest>

#include "views/ViewsTestSupport.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "views/dialogs/AlbumNameReader.h"

using namespace tessary;
using namespace tessary::test;

namespace {

struct Answer {
    int index;
    QString path;
    QString name;
};

class Collector : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != AlbumNameEvent::Type())
            return QObject::event(e);
        const auto* name = static_cast<AlbumNameEvent*>(e);
        answers.push_back({name->index, name->path, name->name});
        return true;
    }
    std::vector<Answer> answers;
};

} // namespace

class AlbumNameReaderTest : public QObject {
    Q_OBJECT
private slots:
    void namesInOrder()
    {
        QTemporaryDir dir;
        Album album(dir.filePath(QStringLiteral("Trip")), QStringLiteral("Trip"));
        album.SetAlbumId(3);
        QVERIFY(SaveAlbum(album));
        const QString missing = dir.filePath(QStringLiteral("none.tsy"));
        const QString junk = dir.filePath(QStringLiteral("junk.tsy"));
        QVERIFY(WriteFile(junk, "<TSRAAlbum version=\"1.0\"><Properties album_name="));

        const QStringList paths{album.FilePath(), missing, junk, album.FilePath()};
        Collector collector;
        AlbumNameReader reader(&collector, paths);
        QVERIFY(reader.Start());
        QVERIFY(reader.ThreadId() != std::this_thread::get_id());
        QTRY_COMPARE(collector.answers.size(), size_t(4));
        reader.Wait();
        QCOMPARE(reader.ExitCode(), std::optional<int>(0));
        const QStringList names{QStringLiteral("Trip"), QString(), QString(), QStringLiteral("Trip")};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(collector.answers[size_t(i)].index, i);
            QCOMPARE(collector.answers[size_t(i)].path, paths[i]);
            QCOMPARE(collector.answers[size_t(i)].name, names[i]);
        }
    }

    void stoppedReaderPostsNoMore()
    {
        QTemporaryDir dir;
        Album album(dir.filePath(QStringLiteral("Many")), QStringLiteral("Many"));
        album.SetAlbumId(1);
        QVERIFY(SaveAlbum(album));
        QStringList paths;
        for (int i = 0; i < 2000; ++i)
            paths << album.FilePath();
        Collector collector;
        {
            AlbumNameReader reader(&collector, paths);
            QVERIFY(reader.Start());
            reader.StopAndWait();
        }
        QCoreApplication::processEvents();
        const size_t seen = collector.answers.size();
        QVERIFY(seen < size_t(paths.size()));
        QTest::qWait(20);
        QCOMPARE(collector.answers.size(), seen);
    }
};

QTEST_MAIN(AlbumNameReaderTest)
#include "AlbumNameReaderTest.moc"
