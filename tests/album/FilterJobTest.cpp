// The filtering job: what it keeps, the messages it posts, and where it pauses and stops.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "AlbumTestSupport.h"
#include "PausingFilterJob.h"
#include "album/FilterJob.h"

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

using namespace tessary;
using namespace tessary::test;
using namespace std::chrono_literals;

namespace {

struct Message {
    bool finished;
    int count;
    bool operator==(const Message&) const = default;
};

// Stands in for the progress dialog: records the posted messages in order.
class Recorder : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != kFilterProgressEvent)
            return QObject::event(e);
        const auto* m = static_cast<FilterProgressEvent*>(e);
        messages.push_back({m->Finished(), m->Count()});
        return true;
    }
    std::vector<int> ProgressCounts() const
    {
        std::vector<int> counts;
        for (const Message& m : messages) {
            if (!m.finished)
                counts.push_back(m.count);
        }
        return counts;
    }
    int FinishedCount() const
    {
        int n = 0;
        for (const Message& m : messages)
            n += m.finished ? 1 : 0;
        return n;
    }
    std::vector<Message> messages;
};

void Deliver(Recorder& r)
{
    QCoreApplication::sendPostedEvents(&r, kFilterProgressEvent);
}

QStringList Names(const QString& stem, int count, const QString& ext)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("/nowhere/%1%2.%3").arg(stem).arg(i).arg(ext);
    return list;
}

} // namespace

TEST(FilterJob, NestedFoldersKeepOnlyPhotosByExtension)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("drop"));
    const QStringList photos = {
        QStringLiteral("top.JPG"),          QStringLiteral(".hidden.png"),
        QStringLiteral("a/b.Png"),          QStringLiteral("a/c.jpeg"),
        QStringLiteral("a/deep/er/x.dib"),  QStringLiteral("a/deep/er/y.RLE"),
        QStringLiteral("a/deep/er/st/z.jfif"), QStringLiteral("a/deep/er/st/w.jpe"),
        QStringLiteral("a/deep/er/st/v.bmp"),  QStringLiteral("folder.jpg/inner.png"),
        QStringLiteral("anim.gif"),         QStringLiteral("a/deep/scan.tif"),
        QStringLiteral("a/deep/scan2.TIFF"), QStringLiteral("web/w.webp"),
        QStringLiteral("phone/IMG_1.HEIC"), QStringLiteral("phone/x.heif"),
        QStringLiteral("phone/y.hif"),      QStringLiteral("phone/z.avif"),
    };
    const QStringList others = {QStringLiteral("notes.txt"), QStringLiteral("app.ico"),
                                QStringLiteral("noext"), QStringLiteral("a/deep/clip.heics"),
                                QStringLiteral("a/deep/er/st/jpg"), QStringLiteral("a/photo.jpg.bak")};
    for (const QString& p : photos + others)
        ASSERT_TRUE(WriteBytes(root + QLatin1Char('/') + p, "x"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/empty/emptier")));
    // A link back up the tree is walked no further.
    ASSERT_TRUE(QFile::link(root, root + QStringLiteral("/a/deep/loop")));

    const QString direct = dir.filePath(QStringLiteral("drop//top.JPG"));
    const QString missing = dir.filePath(QStringLiteral("gone.png"));
    Recorder recorder;
    FilterJob job({root, direct, dir.filePath(QStringLiteral("drop/notes.txt")), missing}, &recorder);
    ASSERT_TRUE(job.Start());
    ASSERT_TRUE(job.Wait());
    EXPECT_TRUE(job.Completed());

    QStringList out = job.Output();
    ASSERT_EQ(out.size(), photos.size() + 2);
    // Named files come through as given, after everything found in the folder before them.
    EXPECT_EQ(out.takeLast(), missing) << "only the extension is looked at";
    EXPECT_EQ(out.takeLast(), direct);
    QStringList expected;
    for (const QString& p : photos)
        expected << root + QLatin1Char('/') + p;
    out.sort();
    expected.sort();
    EXPECT_EQ(out, expected);

    Deliver(recorder);
    ASSERT_FALSE(recorder.messages.empty());
    EXPECT_EQ(recorder.messages.back(), (Message{true, int(photos.size()) + 2}));
    EXPECT_EQ(recorder.FinishedCount(), 1);
}

TEST(FilterJob, ProgressEveryTenAcceptedAndAtTheEnd)
{
    {
        // 10 photos, 5 other files, 15 photos: one message per new multiple of ten, however
        // many other files pass meanwhile, and the final count.
        Recorder recorder;
        FilterJob job(Names(QStringLiteral("a"), 10, QStringLiteral("jpg")) + Names(QStringLiteral("n"), 5, QStringLiteral("txt"))
                          + Names(QStringLiteral("b"), 15, QStringLiteral("png")),
                      &recorder);
        ASSERT_TRUE(job.Start());
        job.Wait();
        Deliver(recorder);
        EXPECT_EQ(recorder.ProgressCounts(), (std::vector<int>{0, 10, 20, 25}));
        EXPECT_EQ(recorder.messages.back(), (Message{true, 25}));
        EXPECT_EQ(job.AcceptedCount(), 25);
    }
    {
        // Exactly 20: the 20 is only reported by the message at the end of the run.
        Recorder recorder;
        FilterJob job(Names(QStringLiteral("c"), 20, QStringLiteral("bmp")), &recorder);
        ASSERT_TRUE(job.Start());
        job.Wait();
        Deliver(recorder);
        EXPECT_EQ(recorder.ProgressCounts(), (std::vector<int>{0, 10, 20}));
        EXPECT_EQ(recorder.FinishedCount(), 1);
    }
    {
        // Nothing to keep: one message for the first path, one at the end, then finished.
        Recorder recorder;
        FilterJob job(Names(QStringLiteral("d"), 3, QStringLiteral("ico")), &recorder);
        ASSERT_TRUE(job.Start());
        job.Wait();
        Deliver(recorder);
        EXPECT_EQ(recorder.messages, (std::vector<Message>{{false, 0}, {false, 0}, {true, 0}}));
        EXPECT_TRUE(job.Output().isEmpty());
    }
}

TEST(FilterJob, PauseHoldsAtAPathBoundaryAndResumes)
{
    const QStringList input = Names(QStringLiteral("p"), 30, QStringLiteral("jpg"));
    Recorder recorder;
    PausingJob job(input, 10, &recorder);
    ASSERT_TRUE(job.Start());
    ASSERT_TRUE(job.paused.WaitFor(10s));
    // The path that was being looked at when the gate closed is finished, no more.
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(job.AcceptedCount(), 11);
    EXPECT_FALSE(job.ExitCode().has_value());
    job.PauseGate().Set();
    job.Wait();
    EXPECT_TRUE(job.Completed());
    EXPECT_EQ(job.Output(), input);
    Deliver(recorder);
    EXPECT_EQ(recorder.messages.back(), (Message{true, 30}));
}

TEST(FilterJob, StopWhilePausedEndsBeforeTheNextPath)
{
    const QStringList input = Names(QStringLiteral("s"), 30, QStringLiteral("png"));
    Recorder recorder;
    PausingJob job(input, 10, &recorder);
    ASSERT_TRUE(job.Start());
    ASSERT_TRUE(job.paused.WaitFor(10s));
    // The dialog's order on a confirmed cancel: the stop flag, then the gate.
    job.RequestStop();
    job.PauseGate().Set();
    job.Wait();
    EXPECT_FALSE(job.Completed());
    EXPECT_EQ(job.Output(), input.mid(0, 11));
    Deliver(recorder);
    EXPECT_EQ(recorder.FinishedCount(), 0) << "a stopped run never reports finished";
    EXPECT_EQ(recorder.ProgressCounts(), (std::vector<int>{0, 10, 11}));
}

TEST(FilterJob, StopAndWaitOnAPausedJob)
{
    {
        // Paused on the first path: SignalStop opens the gate and sets the flag together.
        const QStringList input = Names(QStringLiteral("q"), 5, QStringLiteral("jpg"));
        PausingJob job(input, 0);
        ASSERT_TRUE(job.Start());
        ASSERT_TRUE(job.paused.WaitFor(10s));
        job.StopAndWait();
        EXPECT_FALSE(job.Completed());
        EXPECT_EQ(job.Output(), input.mid(0, 1));
    }
    {
        // A job destroyed while paused does not hang.
        PausingJob job(Names(QStringLiteral("r"), 30, QStringLiteral("jpg")), 10);
        ASSERT_TRUE(job.Start());
        ASSERT_TRUE(job.paused.WaitFor(10s));
    }
}

TEST(FilterJob, RunsAgainWithFreshOutputAndFilterPathsNow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("f/1.jpg")), "x"));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("f/2.txt")), "x"));
    FilterJob job({dir.filePath(QStringLiteral("f"))});
    ASSERT_TRUE(job.Start());
    job.Wait();
    ASSERT_TRUE(job.Start());
    job.Wait();
    EXPECT_EQ(job.Output(), QStringList{dir.filePath(QStringLiteral("f/1.jpg"))});

    const std::optional<QStringList> now = FilterPathsNow({dir.filePath(QStringLiteral("f/")), QStringLiteral("x.PNG")});
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(*now, (QStringList{dir.filePath(QStringLiteral("f/1.jpg")), QStringLiteral("x.PNG")}));
    EXPECT_EQ(FilterPathsNow({}), QStringList());
}
