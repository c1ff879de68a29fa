#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

namespace {
bool MakeFile(const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("[Desktop Entry]\n") > 0;
}
} // namespace

TEST(AppFolders, InstalledInAnyPrefixThatHoldsTheDesktopEntry)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString entry = root.filePath(QStringLiteral("usr/share/applications/com.orvanne.Tessary.desktop"));
    const QString elsewhere = QStringLiteral("/opt/elsewhere/bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_FALSE(AppFolders::IsInstalledIn(bin, elsewhere)) << "a bin folder alone is not an install";

    // Another program's entry does not count.
    ASSERT_TRUE(MakeFile(root.filePath(QStringLiteral("usr/share/applications/org.example.Other.desktop"))));
    EXPECT_FALSE(AppFolders::IsInstalledIn(bin, elsewhere));
    // Nor a folder of the entry's name.
    ASSERT_TRUE(QDir().mkpath(entry));
    EXPECT_FALSE(AppFolders::IsInstalledIn(bin, elsewhere));
    ASSERT_TRUE(QDir(entry).removeRecursively());

    ASSERT_TRUE(MakeFile(entry));
    EXPECT_TRUE(AppFolders::IsInstalledIn(bin, elsewhere));
    EXPECT_TRUE(AppFolders::IsInstalledIn(bin + QLatin1Char('/'), QString())) << "as ProgramFolder gives it";
    EXPECT_TRUE(AppFolders::IsInstalledIn(root.filePath(QStringLiteral("usr/lib/../bin/")), QString()));

    // The same layout under a folder not named "bin" is a build tree or an unpacked copy.
    const QString tools = root.filePath(QStringLiteral("usr/tools"));
    ASSERT_TRUE(QDir().mkpath(tools));
    EXPECT_FALSE(AppFolders::IsInstalledIn(tools, elsewhere));
    const QString nested = root.filePath(QStringLiteral("usr/bin/sub"));
    ASSERT_TRUE(QDir().mkpath(nested));
    EXPECT_FALSE(AppFolders::IsInstalledIn(nested, elsewhere)) << "only the prefix's own bin folder";
    const QString buildTree = root.filePath(QStringLiteral("build/dev/src/app"));
    ASSERT_TRUE(QDir().mkpath(buildTree));
    ASSERT_TRUE(MakeFile(root.filePath(QStringLiteral("build/dev/src/share/applications/com.orvanne.Tessary.desktop"))));
    EXPECT_FALSE(AppFolders::IsInstalledIn(buildTree, elsewhere));
}

TEST(AppFolders, TestProgramInTheBuildTreeIsPortable)
{
    EXPECT_FALSE(AppFolders::IsInstalled());
    EXPECT_EQ(AppFolders::AppDataFolder(), AppFolders::ProgramFolder());
}

TEST(AppFolders, CreateFolderWithParents)
{
    QTemporaryDir dir;
    const QString deep = dir.filePath(QStringLiteral("a/b/c"));
    EXPECT_TRUE(AppFolders::CreateFolder(deep));
    EXPECT_TRUE(AppFolders::CreateFolder(deep)) << "an existing folder is success";
    EXPECT_FALSE(AppFolders::CreateFolder(QString()));
}
