#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/AppFolders.h"

using namespace tessary;

TEST(AppFolders, VendorPathAndProduct)
{
    EXPECT_EQ(AppFolders::ProductName(), QStringLiteral("Tessary"));
    EXPECT_EQ(AppFolders::VendorSubPath(), QStringLiteral("/Orvanne/Tessary"));
    EXPECT_TRUE(AppFolders::ProgramFolder().endsWith(QLatin1Char('/')));
    EXPECT_TRUE(AppFolders::TempBaseFolder().endsWith(QStringLiteral("/Orvanne/Tessary")));
}

TEST(AppFolders, TempFolderCounterSkipsExistingNames)
{
    QTemporaryDir base;
    const uint32_t value = 0x00AB12CD;
    const QString first = AppFolders::FreeTempFolderName(base.path(), value);
    EXPECT_EQ(first, base.path() + QStringLiteral("/TMP_00AB12CD_0"));
    ASSERT_TRUE(QDir(base.path()).mkdir(QStringLiteral("TMP_00AB12CD_0")));
    QFile file(base.path() + QStringLiteral("/TMP_00AB12CD_1"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << "a file of that name also counts";
    file.close();
    EXPECT_EQ(AppFolders::FreeTempFolderName(base.path() + QLatin1Char('/'), value),
              base.path() + QStringLiteral("/TMP_00AB12CD_2"));
}

TEST(AppFolders, TempFolderMadeOnceAndKept)
{
    const QString a = AppFolders::TempFolder();
    ASSERT_FALSE(a.isEmpty());
    EXPECT_TRUE(QDir(a).exists());
    EXPECT_EQ(AppFolders::TempFolder(), a);
    EXPECT_TRUE(QDir(a).dirName().startsWith(QStringLiteral("TMP_")));
    QDir(a).removeRecursively();
}

TEST(AppFolders, InstalledByUninstallerFileOrPrefix)
{
    QTemporaryDir dir;
    EXPECT_FALSE(AppFolders::IsInstalledIn(dir.path(), QStringLiteral("/opt/elsewhere/bin")));
    EXPECT_TRUE(AppFolders::IsInstalledIn(dir.path(), dir.path() + QLatin1Char('/')));
    QFile f(dir.filePath(QStringLiteral("unins000.dat")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(AppFolders::IsInstalledIn(dir.path(), QString()));
    QFile::rename(dir.filePath(QStringLiteral("unins000.dat")), dir.filePath(QStringLiteral("unins0000.dat")));
    EXPECT_FALSE(AppFolders::IsInstalledIn(dir.path(), QString())) << "exactly three characters";
}

TEST(AppFolders, CreateFolderWithParents)
{
    QTemporaryDir dir;
    const QString deep = dir.filePath(QStringLiteral("a/b/c"));
    EXPECT_TRUE(AppFolders::CreateFolder(deep));
    EXPECT_TRUE(AppFolders::CreateFolder(deep)) << "an existing folder is success";
    EXPECT_FALSE(AppFolders::CreateFolder(QString()));
}
