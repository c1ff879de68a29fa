// Atomic replacement beyond the plain case: temporary files left by killed saves, saves that
// are under way in other processes, and files reached through symbolic or hard links.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "util/AtomicFile.h"

using namespace tessary;

namespace {

QByteArray Content(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool Put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList Names(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

// True when some other open file holds a lock on the file.
bool LockedElsewhere(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return locked;
}

} // namespace

TEST(AtomicFileStale, TemporariesOfTheFileGoAtItsNextSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.tsy"));
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    // What killed saves leave behind, and neighbours that only look alike.
    const QStringList stale = {QStringLiteral("a.tsy.tmp-AbC123"), QStringLiteral("a.tsy.tmp-zzzzzz")};
    const QStringList kept = {QStringLiteral("a.tsy.tmp-short"), QStringLiteral("a.tsy.tmp-toolong7"),
                              QStringLiteral("b.tsy.tmp-AbC123"), QStringLiteral("xa.tsy.tmp-AbC123"),
                              QStringLiteral("a.tsy.tmp-")};
    for (const QString& n : stale + kept)
        ASSERT_TRUE(Put(dir.filePath(n), "partial"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("a.tsy.tmp-folder")));

    // A save that fails removes nothing.
    {
        AtomicFileWriter failing(path);
        ASSERT_TRUE(failing.Write("x", 1));
        failing.Discard();
        EXPECT_FALSE(failing.Commit());
    }
    EXPECT_TRUE(QFile::exists(dir.filePath(stale[0])));

    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(Content(path), QByteArray("new"));
    QStringList expected = kept;
    expected.append(QStringLiteral("a.tsy"));
    expected.sort();
    EXPECT_EQ(Names(dir.path()), expected);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("a.tsy.tmp-folder"))).isDir());
}

TEST(AtomicFileStale, ASaveUnderWayIsNeverTouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.tsy"));
    ASSERT_TRUE(WriteFileAtomically(path, "old"));

    // Another writer of the same file in this process, half-way through.
    AtomicFileWriter other(path);
    ASSERT_TRUE(other.Ok());
    ASSERT_TRUE(other.Write("other", 5));
    EXPECT_TRUE(LockedElsewhere(other.TemporaryPath())) << "a file being written is held locked";
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    ASSERT_TRUE(QFile::exists(other.TemporaryPath()));
    EXPECT_TRUE(other.Commit()) << "its temporary file was left alone";
    EXPECT_EQ(Content(path), QByteArray("other"));

    // Another process holding a temporary name locked (as a writer there would).
    const QString foreign = dir.filePath(QStringLiteral("a.tsy.tmp-Xy9876"));
    ASSERT_TRUE(Put(foreign, "partial"));
    // One process that takes the lock and keeps it: the shell becomes the sleep.
    QProcess holder;
    holder.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec 9<\"$0\"; flock -x 9; exec sleep 60"), foreign});
    ASSERT_TRUE(holder.waitForStarted());
    QElapsedTimer timer;
    timer.start();
    while (!LockedElsewhere(foreign) && timer.elapsed() < 10000)
        QThread::msleep(5);
    ASSERT_TRUE(LockedElsewhere(foreign));
    ASSERT_TRUE(WriteFileAtomically(path, "second"));
    EXPECT_TRUE(QFile::exists(foreign)) << "held by another process";
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished());
    ASSERT_TRUE(WriteFileAtomically(path, "third"));
    EXPECT_FALSE(QFile::exists(foreign)) << "stale once its process is gone";
    EXPECT_EQ(Names(dir.path()), QStringList{QStringLiteral("a.tsy")});
}

TEST(AtomicFileLinks, ASymbolicLinkIsSavedThroughAndStays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("real")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("links")));
    const QString target = dir.filePath(QStringLiteral("real/a.tsy"));
    ASSERT_TRUE(Put(target, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);

    // An absolute link, a relative one, and a link to that link.
    const QString absolute = dir.filePath(QStringLiteral("links/abs.tsy"));
    const QString relative = dir.filePath(QStringLiteral("links/rel.tsy"));
    const QString chained = dir.filePath(QStringLiteral("chain.tsy"));
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(absolute).constData()), 0);
    ASSERT_EQ(::symlink("../real/a.tsy", QFile::encodeName(relative).constData()), 0);
    ASSERT_EQ(::symlink("links/rel.tsy", QFile::encodeName(chained).constData()), 0);

    int round = 0;
    for (const QString& link : {absolute, relative, chained}) {
        SCOPED_TRACE(link.toStdString());
        const QByteArray bytes = "round " + QByteArray::number(++round);
        ASSERT_TRUE(WriteFileAtomically(link, bytes));
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link stays a link";
        EXPECT_EQ(Content(target), bytes);
        struct stat st;
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << "the target's mode is kept";
    }
    EXPECT_EQ(QFileInfo(absolute).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    // The temporary file went beside the target, and nothing is left anywhere.
    EXPECT_EQ(Names(dir.filePath(QStringLiteral("real"))), QStringList{QStringLiteral("a.tsy")});
    EXPECT_EQ(Names(dir.filePath(QStringLiteral("links"))), (QStringList{QStringLiteral("abs.tsy"), QStringLiteral("rel.tsy")}));

    // A link whose target does not exist yet: the target is made.
    const QString dangling = dir.filePath(QStringLiteral("links/new.tsy"));
    ASSERT_EQ(::symlink("../real/new.tsy", QFile::encodeName(dangling).constData()), 0);
    ASSERT_TRUE(WriteFileAtomically(dangling, "made"));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(Content(dir.filePath(QStringLiteral("real/new.tsy"))), QByteArray("made"));

    // A loop of links is refused, and leaves both links as they were.
    const QString loopA = dir.filePath(QStringLiteral("loopA"));
    const QString loopB = dir.filePath(QStringLiteral("loopB"));
    ASSERT_EQ(::symlink("loopB", QFile::encodeName(loopA).constData()), 0);
    ASSERT_EQ(::symlink("loopA", QFile::encodeName(loopB).constData()), 0);
    EXPECT_FALSE(WriteFileAtomically(loopA, "x"));
    EXPECT_TRUE(QFileInfo(loopA).isSymLink());
    EXPECT_TRUE(QFileInfo(loopB).isSymLink());
}

TEST(AtomicFileLinks, AHardLinkKeepsTheOldContent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.tsy"));
    const QString other = dir.filePath(QStringLiteral("copy.tsy"));
    ASSERT_TRUE(Put(path, "old"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(Content(path), QByteArray("new"));
    // The replacement is a new file: the other name still shows the file as it was.
    EXPECT_EQ(Content(other), QByteArray("old"));
}
