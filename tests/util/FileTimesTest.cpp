#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>

#include "util/FileTimes.h"

using namespace tessary;

TEST(FileTimes, NanosecondModificationTime)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.jpg"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    // Two times that differ only below the second must differ.
    timespec times[2] = {{1000, 5}, {1000, 6}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    FileTimes t;
    ASSERT_TRUE(GetFileTimes(path, t));
    EXPECT_EQ(t.lastWrite, 1000LL * 1000000000LL + 6);
    EXPECT_EQ(t.lastAccess, 1000LL * 1000000000LL + 5);
    EXPECT_EQ(LastWriteTime(path), t.lastWrite);

    FileTimes kept{1, 2, 3};
    EXPECT_FALSE(GetFileTimes(dir.filePath(QStringLiteral("missing")), kept));
    EXPECT_EQ(kept.lastWrite, 3);
    EXPECT_EQ(NowAsFileTime(false), 0);
    EXPECT_GT(NowAsFileTime(true), 1600000000LL * 1000000000LL);
}
