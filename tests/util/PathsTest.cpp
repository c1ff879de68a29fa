#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "util/Paths.h"

using namespace tessary;

TEST(Paths, NormalizeTrimsAndMarksFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(NormalizePath(QStringLiteral("  ") + dir.path() + QStringLiteral(" ")), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(NormalizePath(dir.path() + QLatin1Char('/')), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(NormalizePath(dir.path() + QStringLiteral("/missing")), dir.path() + QStringLiteral("/missing"));
    EXPECT_EQ(NormalizePath(QString()), QString());
}

TEST(Paths, SameFileThroughDotsAndLinks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("a.tsy"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_TRUE(SamePath(file, dir.path() + QStringLiteral("/sub/../a.tsy")));
    ASSERT_TRUE(QFile::link(file, dir.filePath(QStringLiteral("link.tsy"))));
    EXPECT_TRUE(SamePath(file, dir.filePath(QStringLiteral("link.tsy"))));
    EXPECT_FALSE(SamePath(file, dir.filePath(QStringLiteral("A.tsy")))) << "case-sensitive file system";
    EXPECT_TRUE(SamePath(dir.filePath(QStringLiteral("gone/x")), dir.filePath(QStringLiteral("gone/./x"))));
}
