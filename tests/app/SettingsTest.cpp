#include <gtest/gtest.h>

#include <climits>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/Settings.h"

using namespace tessary;

namespace {
const QRect kScreen(0, 0, 1920, 1040);

QByteArray SettingsFile(const QByteArray& states, const QByteArray& rootAttributes =
                            "version=\"1.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/settings\"")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<TessarySettings " + rootAttributes
         + "><Options><Anything/></Options><States>" + states + "</States></TessarySettings>";
}
} // namespace

TEST(Settings, Defaults)
{
    const Settings s;
    EXPECT_TRUE(s.debut);
    EXPECT_TRUE(s.albumFolder.endsWith(QStringLiteral("/My Photo Albums"))) << s.albumFolder.toStdString();
    EXPECT_EQ(s.nextAlbumId, 1);
    EXPECT_FALSE(s.lastAlbumActive);
    EXPECT_TRUE(s.loadLastAlbum);
    EXPECT_TRUE(s.autoSuggest);
    EXPECT_EQ(s.windowRect, QRect(0, 0, 920, 640));
    EXPECT_FALSE(s.maximized);
    EXPECT_EQ(s.activeTab, 0);
    EXPECT_TRUE(s.recentFiles.isEmpty());
    EXPECT_TRUE(Settings::FilePath().endsWith(QStringLiteral("/Settings.xml")));
}

TEST(Settings, TheProcessWideObjectStartsWithTheDefaultsAndKeepsChanges)
{
    Settings& first = Settings::Instance();
    EXPECT_TRUE(first.debut);
    EXPECT_EQ(first.nextAlbumId, 1);
    EXPECT_EQ(first.albumFolder, Settings::DefaultAlbumFolder());
    first.nextAlbumId = 42;
    first.recentFiles = QStringList{QStringLiteral("/a.tsy")};
    // Every later caller sees what an earlier one wrote.
    EXPECT_EQ(Settings::Instance().nextAlbumId, 42);
    EXPECT_EQ(Settings::Instance().recentFiles, QStringList{QStringLiteral("/a.tsy")});
    Settings::Instance() = Settings();
    EXPECT_EQ(first.nextAlbumId, 1);
}

TEST(Settings, SavedTextHasTheTabledOrder)
{
    Settings s;
    s.albumFolder = QStringLiteral("/home/u/Albums");
    s.nextAlbumId = 3;
    s.lastAlbumActive = true;
    s.loadLastAlbum = false;
    s.windowRect = QRect(10, 20, 800, 600);
    s.maximized = true;
    s.activeTab = 1;
    s.leftPaneWidth = 200;
    s.midPaneWidth = 300;
    s.recentFiles = {QStringLiteral("/x/A.tsy")};
    s.allSearches = {QStringLiteral("a & b")};
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
        "<TessarySettings version=\"1.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/settings\">\n"
        "    <Options />\n"
        "    <States>\n"
        "        <Application debut=\"0\" album_folder=\"/home/u/Albums\" next_album_id=\"3\" "
        "last_album_active=\"1\" load_last_album=\"0\" auto_suggest=\"1\" />\n"
        "        <MainFrame x=\"10\" y=\"20\" width=\"800\" height=\"600\" maximized=\"1\" active_tab=\"1\" "
        "left_pane_width=\"200\" mid_pane_width=\"300\" />\n"
        "        <RecentFiles>\n"
        "            <File path=\"/x/A.tsy\" />\n"
        "        </RecentFiles>\n"
        "        <MRUSearches />\n"
        "        <AllSearches>\n"
        "            <Search text=\"a &amp; b\" />\n"
        "        </AllSearches>\n"
        "    </States>\n"
        "</TessarySettings>\n";
    EXPECT_EQ(s.ToXml().toStdString(), expected.toStdString());
}

TEST(Settings, RoundTripKeepsEveryField)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deeper/Settings.xml"));
    Settings s;
    s.albumFolder = QStringLiteral("/data/Fotoalben \"Sommer\" <2013>");
    s.nextAlbumId = 42;
    s.lastAlbumActive = true;
    s.autoSuggest = false;
    s.windowRect = QRect(100, 50, 1000, 700);
    s.maximized = true;
    s.activeTab = 1;
    s.leftPaneWidth = 180;
    s.midPaneWidth = 420;
    s.recentFiles = {QStringLiteral("/b/B.tsy"), QStringLiteral("/a/Ä &#x41; A.tsy")};
    s.mruSearches = {QStringLiteral("place:paris"), QStringLiteral("'quoted' \"text\"")};
    s.allSearches = {QStringLiteral("a"), QStringLiteral("b\tc")};
    ASSERT_TRUE(s.Save(path)) << "the missing folder is made";

    Settings back;
    ASSERT_TRUE(back.Load(path, kScreen));
    EXPECT_FALSE(back.debut) << "after the first run the window is no longer centred";
    EXPECT_EQ(back.albumFolder, s.albumFolder);
    EXPECT_EQ(back.nextAlbumId, 42);
    EXPECT_TRUE(back.lastAlbumActive);
    EXPECT_TRUE(back.loadLastAlbum);
    EXPECT_FALSE(back.autoSuggest);
    EXPECT_EQ(back.windowRect, s.windowRect);
    EXPECT_TRUE(back.maximized);
    EXPECT_EQ(back.activeTab, 1);
    EXPECT_EQ(back.leftPaneWidth, 180);
    EXPECT_EQ(back.midPaneWidth, 420);
    EXPECT_EQ(back.recentFiles, s.recentFiles) << "a text holding \"&#x41;\" stays as it was";
    EXPECT_EQ(back.mruSearches, s.mruSearches);
    EXPECT_EQ(back.allSearches, s.allSearches);
}

TEST(Settings, ValuesAreClampedAndFlagsNormalised)
{
    Settings s;
    ASSERT_TRUE(s.LoadFromBytes(SettingsFile(
        "<Application debut=\"7\" album_folder=\"\" next_album_id=\"0\" last_album_active=\"-3\" "
        "load_last_album=\"0\" auto_suggest=\"zero\"/>"
        "<MainFrame x=\"5\" y=\"6\" width=\"700\" height=\"500\" maximized=\"2\" active_tab=\"5\" "
        "left_pane_width=\"-20\" mid_pane_width=\"33px\"/>"), kScreen));
    EXPECT_TRUE(s.debut);
    EXPECT_TRUE(s.albumFolder.endsWith(QStringLiteral("My Photo Albums"))) << "an empty folder is no value";
    EXPECT_EQ(s.nextAlbumId, 1);
    EXPECT_TRUE(s.lastAlbumActive);
    EXPECT_FALSE(s.loadLastAlbum);
    EXPECT_TRUE(s.autoSuggest) << "not an integer: the default stays";
    EXPECT_TRUE(s.maximized);
    EXPECT_EQ(s.activeTab, 1);
    EXPECT_EQ(s.leftPaneWidth, 0);
    EXPECT_EQ(s.midPaneWidth, 33) << "a leading number counts";
    EXPECT_EQ(s.windowRect, QRect(5, 6, 700, 500));

    Settings negative;
    ASSERT_TRUE(negative.LoadFromBytes(SettingsFile("<MainFrame active_tab=\"-1\"/>"), kScreen));
    EXPECT_EQ(negative.activeTab, 0);
    EXPECT_EQ(negative.windowRect, QRect(0, 0, 920, 640)) << "absent attributes take the defaults";
}

TEST(Settings, ListsSkipEmptyEntriesAndKeepOrder)
{
    Settings s;
    ASSERT_TRUE(s.LoadFromBytes(SettingsFile(
        "<RecentFiles><File path=\"/c.tsy\"/><Other path=\"/no.tsy\"/><File path=\"\"/><File/>"
        "<File path=\"/a.tsy\"/><File path=\"/b.tsy\"/></RecentFiles>"
        "<MRUSearches><Search text=\"x\"/><Search value=\"y\"/></MRUSearches>"
        "<AllSearches><Search text=\"a\"/><Search text=\"b\"/></AllSearches>"
        "<Unknown/>"), kScreen));
    EXPECT_EQ(s.recentFiles, (QStringList{QStringLiteral("/c.tsy"), QStringLiteral("/a.tsy"), QStringLiteral("/b.tsy")}));
    EXPECT_EQ(s.mruSearches, QStringList{QStringLiteral("x")});
    EXPECT_EQ(s.allSearches, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST(Settings, RepeatedListElementsAddToTheList)
{
    Settings s;
    s.recentFiles = QStringList{QStringLiteral("/old.tsy")};
    ASSERT_TRUE(s.LoadFromBytes(SettingsFile(
        "<RecentFiles><File path=\"/a.tsy\"/></RecentFiles>"
        "<MRUSearches><Search text=\"x\"/></MRUSearches>"
        "<AllSearches><Search text=\"a\"/></AllSearches>"
        "<RecentFiles><File path=\"/b.tsy\"/><File path=\"/c.tsy\"/></RecentFiles>"
        "<MRUSearches/>"
        "<AllSearches><Search text=\"b\"/></AllSearches>"
        "<MRUSearches><Search text=\"y\"/></MRUSearches>"), kScreen));
    // A list in the file replaces the one in memory; every element of that list adds to it.
    EXPECT_EQ(s.recentFiles, (QStringList{QStringLiteral("/a.tsy"), QStringLiteral("/b.tsy"), QStringLiteral("/c.tsy")}));
    EXPECT_EQ(s.mruSearches, (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
    EXPECT_EQ(s.allSearches, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

}

TEST(Settings, ForeignFilesLeaveTheDefaults)
{
    QTemporaryDir dir;
    Settings s;
    s.nextAlbumId = 9;
    const QByteArray states = "<Application next_album_id=\"5\"/>";
    EXPECT_FALSE(s.LoadFromBytes(SettingsFile(states, "version=\"2.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/settings\""), kScreen));
    EXPECT_FALSE(s.LoadFromBytes(SettingsFile(states, "version=\"1.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/Settings\""), kScreen));
    EXPECT_FALSE(s.LoadFromBytes(SettingsFile(states, "version=\"1.0\""), kScreen));
    EXPECT_FALSE(s.LoadFromBytes("<Other version=\"1.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/settings\"/>", kScreen));
    EXPECT_FALSE(s.LoadFromBytes("<TessarySettings version=\"1.0\"", kScreen));
    EXPECT_FALSE(s.Load(dir.filePath(QStringLiteral("missing.xml")), kScreen));
    EXPECT_FALSE(s.Load(dir.path(), kScreen)) << "a folder";
    EXPECT_EQ(s.nextAlbumId, 9);
    EXPECT_TRUE(s.debut);

    // Version 2.0 on disk is ignored and overwritten by the next save.
    const QString path = dir.filePath(QStringLiteral("Settings.xml"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(SettingsFile(states, "version=\"2.0\" xmlns=\"http://www.orvanne.com/xmlns/tessary/settings\""));
    f.close();
    EXPECT_FALSE(s.Load(path, kScreen));
    ASSERT_TRUE(s.Save(path));
    Settings back;
    ASSERT_TRUE(back.Load(path, kScreen));
    EXPECT_EQ(back.nextAlbumId, 9);
}

TEST(Settings, FailedSaveKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.xml"));
    Settings s;
    s.nextAlbumId = 4;
    ASSERT_TRUE(s.Save(path));
    // A folder that cannot be made: a file stands where it should be.
    const QString blocked = dir.filePath(QStringLiteral("Settings.xml/sub/Settings.xml"));
    s.nextAlbumId = 5;
    EXPECT_FALSE(s.Save(blocked));
    Settings back;
    ASSERT_TRUE(back.Load(path, kScreen));
    EXPECT_EQ(back.nextAlbumId, 4);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Settings.xml")});
}

TEST(Settings, SavingRemovesWhatKilledSavesLeft)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.xml"));
    for (const char* name : {"Settings.xml.tmp-q1W2e3", "Settings.xml.tmp-000000"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<?xml");
    }
    Settings s;
    ASSERT_TRUE(s.Save(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Settings.xml")});
}

TEST(Settings, HugeStoredRectangleIsFittedWithoutOverflow)
{
    Settings s;
    ASSERT_TRUE(s.LoadFromBytes(SettingsFile(
        "<MainFrame x=\"2147483647\" y=\"-2147483648\" width=\"2147483647\" height=\"2147483647\"/>"), kScreen));
    EXPECT_EQ(s.windowRect, QRect(0, 0, 1920, 1040)) << "cut to the work area and centred";
}

TEST(FitToWorkArea, Rules)
{
    const QRect area(0, 0, 1920, 1040);
    EXPECT_EQ(FitToWorkArea(QRect(100, 100, 800, 600), area), QRect(100, 100, 800, 600)) << "inside: unchanged";
    EXPECT_EQ(FitToWorkArea(QRect(1900, 1000, 800, 600), area), QRect(1900, 1000, 800, 600))
        << "the corner is inside, so it stays even though most of it is off screen";
    EXPECT_EQ(FitToWorkArea(QRect(3000, 200, 800, 600), area), QRect(560, 220, 800, 600))
        << "off screen (a monitor was removed): centred";
    EXPECT_EQ(FitToWorkArea(QRect(-50, 10, 800, 600), area), QRect(560, 220, 800, 600))
        << "corner left of the area";
    EXPECT_EQ(FitToWorkArea(QRect(10, 10, 3000, 2000), area), QRect(10, 10, 1920, 1040)) << "cut, kept";
    EXPECT_EQ(FitToWorkArea(QRect(), area), QRect(500, 200, 920, 640)) << "empty: default size centred";
    EXPECT_EQ(FitToWorkArea(QRect(5, 5, 0, 100), area), QRect(500, 200, 920, 640));

    // A small work area with an offset: the default is centred without being cut, and the
    // halves truncate toward zero.
    const QRect small(100, 50, 801, 601);
    EXPECT_EQ(FitToWorkArea(QRect(), small), QRect(100 + (801 - 920) / 2, 50 + (601 - 640) / 2, 920, 640));
    EXPECT_EQ(FitToWorkArea(QRect(), small).x(), 41);
    EXPECT_EQ(FitToWorkArea(QRect(0, 0, 100, 100), small), QRect(450, 300, 100, 100));

    // Without a known work area the rectangle stays where it is.
    EXPECT_EQ(FitToWorkArea(QRect(30, 40, 800, 600), QRect()), QRect(30, 40, 800, 600));
    EXPECT_EQ(FitToWorkArea(QRect(), QRect()), QRect(0, 0, 920, 640));
}

TEST(FitToWorkArea, ResultAlwaysStartsInsideTheArea)
{
    const QRect areas[] = {QRect(0, 0, 1920, 1040), QRect(-1280, 0, 1280, 1024), QRect(1920, 300, 1024, 768)};
    for (const QRect& area : areas) {
        for (int x = -3000; x <= 4000; x += 350) {
            for (int w : {1, 640, 1300, 5000}) {
                const QRect r = FitToWorkArea(QRect(x, x / 3, w, w / 2 + 1), area);
                EXPECT_LE(r.width(), area.width());
                EXPECT_LE(r.height(), area.height());
                EXPECT_TRUE(area.contains(r.topLeft())) << x << " " << w;
            }
        }
    }
}
