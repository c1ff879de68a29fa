#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "AlbumTestSupport.h"
#include "album/AlbumLayout.h"

using namespace tessary;
using namespace tessary::test;

TEST(AlbumLayout, ComputedNames)
{
    const QString a = QStringLiteral("/x/Trip/");
    EXPECT_EQ(PhotosFolderPath(a), QStringLiteral("/x/Trip/_Album_Photos_"));
    EXPECT_EQ(PhotosFolderPath(QStringLiteral("/x/Trip")), QStringLiteral("/x/Trip/_Album_Photos_"));
    EXPECT_EQ(CollectionFolderPath(a, 7), QStringLiteral("/x/Trip/_Album_Photos_/C_000007"));
    EXPECT_EQ(CollectionFolderPath(a, 1234567), QStringLiteral("/x/Trip/_Album_Photos_/C_1234567"));
    EXPECT_TRUE(CollectionFolderPath(a, 0).isEmpty());
    EXPECT_TRUE(CollectionFolderPath(QString(), 3).isEmpty());
    EXPECT_EQ(ItemFolderPath(a, 7, 12), QStringLiteral("/x/Trip/_Album_Photos_/C_000007/I_000012"));
    EXPECT_EQ(PhotoFilePath(a, 7, 12, 1, PhotoFormat::Png), QStringLiteral("/x/Trip/_Album_Photos_/C_000007/I_000012/P_000001.png"));
    EXPECT_EQ(PhotoFilePath(a, 7, 12, 2, PhotoFormat::Heif), QStringLiteral("/x/Trip/_Album_Photos_/C_000007/I_000012/P_000002.heic"));
    EXPECT_EQ(PhotoFilePath(a, 7, 12, 3, PhotoFormat::Tiff), QStringLiteral("/x/Trip/_Album_Photos_/C_000007/I_000012/P_000003.tif"));
    EXPECT_TRUE(PhotoFilePath(a, 7, 12, 1, PhotoFormat::Icon).isEmpty());
    EXPECT_TRUE(PhotoFilePath(a, 7, 12, -1, PhotoFormat::Jpeg).isEmpty());
}

TEST(AlbumLayout, StaysInsideAlbum)
{
    QTemporaryDir dir;
    const QString album = dir.filePath(QStringLiteral("A"));
    ASSERT_TRUE(QDir().mkpath(album + QStringLiteral("/_Album_Photos_/C_000001")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("elsewhere"))));
    EXPECT_TRUE(StaysInsideAlbum(album, album + QStringLiteral("/_Album_Photos_/C_000001/I_000001/P_000001.jpg")))
        << "folders still to be made count as safe";
    EXPECT_TRUE(StaysInsideAlbum(album + QLatin1Char('/'), album + QStringLiteral("/_Album_Photos_/C_000001")));
    EXPECT_FALSE(StaysInsideAlbum(album, dir.filePath(QStringLiteral("AB/x"))));
    EXPECT_FALSE(StaysInsideAlbum(album, album));
    EXPECT_FALSE(StaysInsideAlbum(album, album + QStringLiteral("/../elsewhere/x")));
    EXPECT_FALSE(StaysInsideAlbum(QString(), album));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("elsewhere")), album + QStringLiteral("/_Album_Photos_/C_000002")));
    EXPECT_FALSE(StaysInsideAlbum(album, album + QStringLiteral("/_Album_Photos_/C_000002/I_000001/P_000001.jpg")));
    EXPECT_TRUE(StaysInsideAlbum(album, album + QStringLiteral("/_Album_Photos_/C_000002")))
        << "the link itself may be removed";
    ASSERT_TRUE(WriteBytes(album + QStringLiteral("/_Album_Photos_/C_000003"), "a file"));
    EXPECT_FALSE(StaysInsideAlbum(album, album + QStringLiteral("/_Album_Photos_/C_000003/I_000001")));
}

TEST(AlbumLayout, RemoveFolderTreeNeverFollowsLinks)
{
    QTemporaryDir dir;
    const QString outside = dir.filePath(QStringLiteral("outside"));
    ASSERT_TRUE(WriteBytes(outside + QStringLiteral("/deep/file.txt"), "keep"));
    const QString tree = dir.filePath(QStringLiteral("tree"));
    ASSERT_TRUE(WriteBytes(tree + QStringLiteral("/a/b/c/file.txt"), "x"));
    ASSERT_TRUE(WriteBytes(tree + QStringLiteral("/top.txt"), "x"));
    ASSERT_TRUE(QDir().mkpath(tree + QStringLiteral("/empty")));
    ASSERT_TRUE(QFile::link(outside, tree + QStringLiteral("/a/linkdir")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/deep/file.txt"), tree + QStringLiteral("/linkfile")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")), tree + QStringLiteral("/dangling")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree + QStringLiteral("/a/fifo")).constData(), 0600), 0);
    // A folder without write permission for its owner and a read-only file in it.
    ASSERT_TRUE(WriteBytes(tree + QStringLiteral("/ro/file.txt"), "x"));
    ASSERT_EQ(::chmod(QFile::encodeName(tree + QStringLiteral("/ro/file.txt")).constData(), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(tree + QStringLiteral("/ro")).constData(), 0555), 0);

    EXPECT_TRUE(RemoveFolderTree(tree + QLatin1Char('/')));
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_EQ(ReadBytes(outside + QStringLiteral("/deep/file.txt")), QByteArray("keep"));

    // The folder given is itself a link: the link goes, its target stays.
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(outside, link));
    EXPECT_TRUE(RemoveFolderTree(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(outside + QStringLiteral("/deep/file.txt")), QByteArray("keep"));

    EXPECT_FALSE(RemoveFolderTree(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(RemoveFolderTree(outside + QStringLiteral("/deep/file.txt"))) << "not a folder";
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/deep/file.txt")));
    EXPECT_FALSE(RemoveFolderTree(QString()));
}

TEST(AlbumLayout, CopyToNewFile)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("s.jpg"));
    QByteArray big(300 * 1024, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 31 % 251);
    ASSERT_TRUE(WriteBytes(source, big));
    const QString dest = dir.filePath(QStringLiteral("d.jpg"));
    ASSERT_TRUE(CopyToNewFile(source, dest));
    EXPECT_EQ(ReadBytes(dest), big);
    EXPECT_FALSE(CopyToNewFile(source, dest)) << "an existing destination";
    const QString dangling = dir.filePath(QStringLiteral("dangling.jpg"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("target-not-there")), dangling));
    EXPECT_FALSE(CopyToNewFile(source, dangling)) << "not even through a dangling link";
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("target-not-there"))));
    EXPECT_FALSE(CopyToNewFile(dir.path(), dir.filePath(QStringLiteral("x.jpg")))) << "a folder";
    EXPECT_FALSE(CopyToNewFile(dir.filePath(QStringLiteral("missing")), dir.filePath(QStringLiteral("y.jpg"))));
    const QString fifo = dir.filePath(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(CopyToNewFile(fifo, dir.filePath(QStringLiteral("z.jpg")))) << "a pipe never blocks us";
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x.jpg"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("z.jpg"))));

    EXPECT_TRUE(DeleteFileIfPresent(dest));
    EXPECT_TRUE(DeleteFileIfPresent(dest)) << "already gone";
    EXPECT_TRUE(DeleteFileIfPresent(dangling));
    EXPECT_FALSE(QFileInfo(dangling).isSymLink());
    EXPECT_FALSE(DeleteFileIfPresent(dir.path()));
}
