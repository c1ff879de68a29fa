// The main window's album lifecycle: open, save, close, new, the recent list, the title, the
// first idle moment and closing the window, with every message answered by script.
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "album/Album.h"
#include "album/AlbumFile.h"
#include "app/FrameDialogs.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "views/ViewsTestSupport.h"
#include "views/common/SharedFonts.h"
#include "views/common/WebPages.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/frame/VeCmdBarCtrlBase.h"
#include "views/frame/VeMainView.h"
#include "views/home/HomeButton.h"
#include "views/home/HomePanel.h"
#include "views/home/VeHomeView.h"
#include "views/menus/CommandIds.h"

using namespace tessary;
using test::ScriptedPrompts;

namespace {

class ScriptedDialogs : public FrameDialogs {
public:
    std::optional<NewAlbumChoice> newChoice;
    std::optional<QString> openChoice;
    int newCalls = 0;
    int openCalls = 0;
    int aboutCalls = 0;
    std::optional<NewAlbumChoice> NewAlbum(QWidget*, Settings& settings, UserPrompts&) override
    {
        ++newCalls;
        if (newChoice)
            ++settings.nextAlbumId; // as the dialog does when it opens
        return newChoice;
    }
    std::optional<QString> OpenAlbum(QWidget*, QStringList&, UserPrompts&) override
    {
        ++openCalls;
        return openChoice;
    }
    void About(QWidget*) override { ++aboutCalls; }
};

struct Frame {
    ScriptedPrompts* prompts;
    ScriptedDialogs* dialogs;
    std::unique_ptr<MainFrame> frame;

    Frame()
    {
        auto p = std::make_unique<ScriptedPrompts>();
        auto d = std::make_unique<ScriptedDialogs>();
        prompts = p.get();
        dialogs = d.get();
        frame = std::make_unique<MainFrame>(nullptr, std::move(p), std::move(d));
    }
    MainFrame* operator->() { return frame.get(); }
    VeMainView& View() { return frame->MainView(); }
};

QString MakeAlbum(const QTemporaryDir& dir, const QString& name)
{
    Album album(dir.filePath(name), name);
    album.SetAlbumId(2);
    album.GetCollections().Add(QStringLiteral("First"));
    return SaveAlbum(album) ? album.FilePath() : QString();
}

// Replaces the album's folder by a plain file, so that saving into it fails.
bool BreakFolder(const QString& albumFile)
{
    const QString folder = QFileInfo(albumFile).absolutePath();
    QDir(folder).removeRecursively();
    return test::WriteFile(folder, "not a folder");
}

} // namespace

class MainFrameLifecycleTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        RegisterInterfaceFonts();
        SetWebPageOpener([this](const QUrl& url) {
            m_opened << url;
            return true;
        });
    }

    void init()
    {
        QFile::remove(Settings::FilePath());
        Settings::Instance() = Settings();
        m_opened.clear();
    }

    void openShowsTheAlbumAndTitle()
    {
        QTemporaryDir dir;
        const QString trip = MakeAlbum(dir, QStringLiteral("Trip"));
        Frame f;
        QCOMPARE(f->windowTitle(), QStringLiteral("Orvanne Tessary"));
        f->OpenFromArgument(trip);
        QVERIFY(f.View().HasAlbum());
        QCOMPARE(f->windowTitle(), QStringLiteral("Orvanne Tessary - [Trip]"));
        QCOMPARE(f.View().CurrentPage(), VeMainView::kAlbumPage);
        QCOMPARE(f->RecentAlbums(), QStringList{trip});

        // The same album by other spellings of its path: nothing, not even a question.
        const QString relative = QDir::current().relativeFilePath(trip);
        f->OpenFromArgument(relative);
        f->OpenFromArgument(QFileInfo(trip).absolutePath() + QStringLiteral("/./Trip.tsy"));
        QVERIFY(f.prompts->asked.empty());
        QCOMPARE(f->RecentAlbums().size(), 1);
    }

    void anotherAlbumAsksFirst()
    {
        QTemporaryDir dir;
        const QString trip = MakeAlbum(dir, QStringLiteral("Trip"));
        const QString home = MakeAlbum(dir, QStringLiteral("Home Town"));
        Frame f;
        f->OpenFromArgument(trip);
        f.prompts->answers = {QMessageBox::No};
        f->OpenFromArgument(home);
        QCOMPARE(f.prompts->asked.size(), size_t(1));
        const MessageBoxSpec& q = f.prompts->asked.back();
        QCOMPARE(q.text, QStringLiteral("Are you sure you want to close current album \"Trip\"?"));
        QCOMPARE(q.caption, QStringLiteral("Orvanne Tessary"));
        QCOMPARE(q.icon, QMessageBox::Question);
        QCOMPARE(q.defaultButton, QMessageBox::No);
        QCOMPARE(f.View().GetAlbum()->Name(), QStringLiteral("Trip"));

        // From the home page the question names the album twice.
        QVERIFY(f.View().ShowPage(VeMainView::kHomePage));
        f.prompts->answers = {QMessageBox::Yes};
        f->OpenFromArgument(home);
        QCOMPARE(f.prompts->asked.back().text,
                 QStringLiteral("To continue, album \"Trip\" must be closed.\n\nAre you sure you want to close \"Trip\"?"));
        QCOMPARE(f.View().GetAlbum()->Name(), QStringLiteral("Home Town"));
        QCOMPARE(f->RecentAlbums(), (QStringList{home, trip}));
    }

    void corruptAlbumLeavesHome()
    {
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("Bad.tsy"));
        QVERIFY(test::WriteFile(bad, "<TSRAAlbum version=\"1\"><Properties album_id=\"x"));
        Frame f;
        f->AddRecent(bad);
        f->OpenFromArgument(bad);
        QVERIFY(!f.View().HasAlbum());
        QCOMPARE(f.View().CurrentPage(), VeMainView::kHomePage);
        QCOMPARE(f.prompts->asked.size(), size_t(1));
        const MessageBoxSpec& m = f.prompts->asked.back();
        QCOMPARE(m.text, QStringLiteral("Error opening \"") + bad +
                             QStringLiteral("\"!\n\nFile does not exist or may be corrupted."));
        QCOMPARE(m.caption, QStringLiteral("Error"));
        QCOMPARE(m.icon, QMessageBox::Critical);
        QVERIFY(f->RecentAlbums().isEmpty());
        QCOMPARE(f->windowTitle(), QStringLiteral("Orvanne Tessary"));

        // Quiet: no message, the path still leaves the list.
        f->AddRecent(bad);
        QVERIFY(!f->OpenAlbum(bad, true, true));
        QCOMPARE(f.prompts->asked.size(), size_t(1));
        QVERIFY(f->RecentAlbums().isEmpty());
    }

    void failedSaveKeepsAlbumAndWindow()
    {
        QTemporaryDir dir;
        const QString trip = MakeAlbum(dir, QStringLiteral("Trip"));
        Frame f;
        f->OpenFromArgument(trip);
        QVERIFY(BreakFolder(trip));
        f->show();

        QVERIFY(!f->SaveAlbum());
        QCOMPARE(f.prompts->asked.back().text, QStringLiteral("Error saving file \"") + trip + QStringLiteral("\"!"));
        QCOMPARE(f.prompts->asked.back().caption, QStringLiteral("Error"));

        // Close, New and Open are cancelled by the failed save.
        f.prompts->answers = {QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Ok,
                              QMessageBox::Yes, QMessageBox::Ok};
        QVERIFY(f->HandleCommand(cmd::kFileClose));
        QVERIFY(f->HandleCommand(cmd::kFileNew));
        QVERIFY(f->HandleCommand(cmd::kFileOpen));
        QVERIFY(f.View().HasAlbum());
        QCOMPARE(f.dialogs->newCalls, 0);
        QCOMPARE(f.dialogs->openCalls, 0);

        // Closing the window saves without asking; the failure keeps it open.
        const size_t before = f.prompts->asked.size();
        QCloseEvent close;
        QCoreApplication::sendEvent(f.frame.get(), &close);
        QVERIFY(!close.isAccepted());
        QCOMPARE(f.prompts->asked.size(), before + 1);
        QVERIFY(f.prompts->asked.back().text.startsWith(QStringLiteral("Error saving file")));
        QVERIFY(f.View().HasAlbum());
    }

    void closingTheWindowSavesAndStores()
    {
        QTemporaryDir dir;
        const QString trip = MakeAlbum(dir, QStringLiteral("Trip"));
        Frame f;
        f->OpenFromArgument(trip);
        f.View().GetAlbum()->GetCollections().Add(QStringLiteral("Added Later"));
        f->FirstIdle();
        QCloseEvent close;
        QCoreApplication::sendEvent(f.frame.get(), &close);
        QVERIFY(close.isAccepted());
        QVERIFY(f.prompts->asked.empty());
        QVERIFY(!f.View().HasAlbum());
        QVERIFY(Settings::Instance().lastAlbumActive);
        QCOMPARE(Settings::Instance().activeTab, 1);
        Album back;
        QVERIFY(LoadAlbum(back, trip));
        QVERIFY(back.GetCollections().FindByName(QStringLiteral("Added Later")));

        // Destroying the window writes the recent list into the settings file.
        f.frame.reset();
        Settings stored;
        QVERIFY(stored.Load(Settings::FilePath(), QRect()));
        QCOMPARE(stored.recentFiles, QStringList{trip});
        QVERIFY(stored.lastAlbumActive);
    }

    void firstIdleReopensTheLastAlbum_data()
    {
        QTest::addColumn<int>("activeTab");
        QTest::newRow("home tab") << 0;
        QTest::newRow("album tab") << 1;
    }

    void firstIdleReopensTheLastAlbum()
    {
        QFETCH(int, activeTab);
        QTemporaryDir dir;
        const QString trip = MakeAlbum(dir, QStringLiteral("Trip"));
        Settings stored;
        stored.lastAlbumActive = true;
        stored.activeTab = activeTab;
        stored.recentFiles = {trip};
        QVERIFY(stored.Save(Settings::FilePath()));
        Frame f;
        QVERIFY(!f->isVisible());
        f->FirstIdle();
        QVERIFY(f->isVisible());
        QVERIFY(f.View().HasAlbum());
        QCOMPARE(f.View().CurrentPage(), activeTab);
        QCOMPARE(f->windowTitle(), QStringLiteral("Orvanne Tessary - [Trip]"));
    }

    void firstIdleFailureIsQuiet()
    {
        QTemporaryDir dir;
        Settings stored;
        stored.lastAlbumActive = true;
        stored.activeTab = 1;
        stored.recentFiles = {dir.filePath(QStringLiteral("Gone.tsy")), dir.filePath(QStringLiteral("Other.tsy"))};
        QVERIFY(stored.Save(Settings::FilePath()));
        Frame f;
        f->FirstIdle();
        QVERIFY(!f.View().HasAlbum());
        QVERIFY(f.prompts->asked.empty());
        QCOMPARE(f->RecentAlbums(), QStringList{dir.filePath(QStringLiteral("Other.tsy"))});
        QCOMPARE(f.View().CurrentPage(), VeMainView::kHomePage);
    }

    void placementOnFirstRun()
    {
        Frame f;
        QVERIFY(Settings::Instance().debut);
        f->FirstIdle();
        const QRect area = f->screen()->availableGeometry();
        QRect expected(0, 0, 920, 640);
        expected.moveCenter(area.center());
        expected = FitToWorkArea(expected, area);
        QCOMPARE(f->geometry().size(), expected.size());
        QVERIFY(area.contains(f->geometry().center()));
    }

    void newAlbum()
    {
        QTemporaryDir dir;
        Frame f;
        f->show();
        Settings::Instance().nextAlbumId = 4;
        QVERIFY(f->HandleCommand(cmd::kFileNew)); // cancelled
        QVERIFY(!f.View().HasAlbum());
        QCOMPARE(f.dialogs->newCalls, 1);

        f.dialogs->newChoice = FrameDialogs::NewAlbumChoice{dir.filePath(QStringLiteral("albums")),
                                                            QStringLiteral("My Album 4")};
        QVERIFY(f->HandleCommand(cmd::kFileNew));
        QVERIFY(f.View().HasAlbum());
        QCOMPARE(f.View().GetAlbum()->AlbumId(), 4);
        QCOMPARE(f.View().GetAlbum()->Folder(), dir.filePath(QStringLiteral("albums/My Album 4/")));
        QCOMPARE(f.View().CurrentPage(), VeMainView::kAlbumPage);
        QCOMPARE(f->windowTitle(), QStringLiteral("Orvanne Tessary - [My Album 4]"));
        // Not on disk, not recent, until saved.
        QVERIFY(f->RecentAlbums().isEmpty());
        QVERIFY(f->SaveAlbum());
        QCOMPARE(f->RecentAlbums(), QStringList{f.View().GetAlbum()->FilePath()});
        QVERIFY(QFileInfo::exists(f.View().GetAlbum()->FilePath()));

        // A folder that cannot be made: the message, and no album (the other one was closed).
        QVERIFY(test::WriteFile(dir.filePath(QStringLiteral("plain")), "x"));
        f.dialogs->newChoice = FrameDialogs::NewAlbumChoice{dir.filePath(QStringLiteral("plain")),
                                                            QStringLiteral("Inside")};
        f.prompts->answers = {QMessageBox::Yes};
        QVERIFY(f->HandleCommand(cmd::kFileNew));
        QVERIFY(!f.View().HasAlbum());
        QCOMPARE(f.prompts->asked.back().text,
                 QStringLiteral("Error creating album folder:\n") + dir.filePath(QStringLiteral("plain/Inside")));
        QCOMPARE(f.prompts->asked.back().icon, QMessageBox::Critical);
    }

    void openThroughTheDialog()
    {
        QTemporaryDir dir;
        const QString trip = MakeAlbum(dir, QStringLiteral("Trip"));
        Frame f;
        QVERIFY(f->HandleCommand(cmd::kFileOpen)); // hidden window: nothing
        QCOMPARE(f.dialogs->openCalls, 0);
        f->show();
        f.dialogs->openChoice = trip;
        QVERIFY(f->HandleCommand(cmd::kFileOpen));
        QCOMPARE(f.dialogs->openCalls, 1);
        QVERIFY(f.View().HasAlbum());
        QCOMPARE(f.View().CurrentPage(), VeMainView::kAlbumPage);
    }

    void recentListComparesFiles()
    {
        QTemporaryDir dir;
        const QString trip = MakeAlbum(dir, QStringLiteral("Trip"));
        const QString link = dir.filePath(QStringLiteral("link.tsy"));
        QVERIFY(QFile::link(trip, link));
        Frame f;
        f->AddRecent(QStringLiteral("/elsewhere/A.tsy"));
        f->AddRecent(trip);
        f->AddRecent(link); // the same file
        QCOMPARE(f->RecentAlbums(), (QStringList{link, QStringLiteral("/elsewhere/A.tsy")}));
        // Case matters on this file system.
        f->AddRecent(QStringLiteral("/elsewhere/a.tsy"));
        QCOMPARE(f->RecentAlbums().size(), 3);
        f->RemoveRecent(trip);
        QCOMPARE(f->RecentAlbums(), (QStringList{QStringLiteral("/elsewhere/a.tsy"), QStringLiteral("/elsewhere/A.tsy")}));
    }

    void commandTable()
    {
        Frame f;
        for (int id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileClose, cmd::kFileSave, cmd::kEditFind,
                       cmd::kEditPaste, cmd::kViewRefresh, cmd::kAppAbout, cmd::kShowOnlineHelp,
                       cmd::kViewOnlineTutorials, cmd::kVisitWebsite, cmd::kTellAFriend, cmd::kDonate})
            QVERIFY2(f->Action(id), qPrintable(QString::number(id)));
        QCOMPARE(f->Action(cmd::kFileNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(f->Action(cmd::kViewRefresh)->shortcut(), QKeySequence(Qt::Key_F5));

        f->Action(cmd::kAppAbout)->trigger();
        QCOMPARE(f.dialogs->aboutCalls, 1);
        f->Action(cmd::kShowOnlineHelp)->trigger();
        f->Action(cmd::kDonate)->trigger();
        QVERIFY(f->HandleCommand(cmd::kViewOnlineTutorials));
        QCOMPARE(m_opened, (QList<QUrl>{WebPageUrl(WebPage::OnlineHelp), WebPageUrl(WebPage::Donate),
                                        WebPageUrl(WebPage::Tutorials)}));
        // The accelerator reaches the command through the window.
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.frame.get()));
        QTest::keyClick(f.frame.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.dialogs->openCalls, 1);
    }

    // The pages' buttons reach the frame's commands by clicks.
    void buttonsDriveTheLifecycle()
    {
        QTemporaryDir dir;
        const QString trip = MakeAlbum(dir, QStringLiteral("Trip"));
        Frame f;
        f->FirstIdle();
        QVERIFY(QTest::qWaitForWindowExposed(f.frame.get()));
        f.dialogs->openChoice = trip;
        HomeButton* open = f.View().HomeView().Panel()->Button(1);
        QTest::mouseClick(open, Qt::LeftButton, {}, open->rect().center());
        QTRY_COMPARE(f.dialogs->openCalls, 1);
        QTRY_VERIFY(f.View().HasAlbum());
        QCOMPARE(f.View().CurrentPage(), VeMainView::kAlbumPage);

        VeCmdBarCtrlBase& bar = f.View().AlbumView().CommandBar();
        const QRect close = bar.FindButton(cmd::kCloseAlbum)->rect;
        f.prompts->answers = {QMessageBox::Yes};
        QTest::mouseClick(&bar, Qt::LeftButton, {}, close.center());
        QTRY_VERIFY(!f.View().HasAlbum());
        QCOMPARE(f.prompts->asked.back().text, QStringLiteral("Are you sure you want to close current album \"Trip\"?"));
        QCOMPARE(f.View().CurrentPage(), VeMainView::kHomePage);
        QCOMPARE(f->windowTitle(), QStringLiteral("Orvanne Tessary"));

        HomeButton* create = f.View().HomeView().Panel()->Button(0);
        QTest::mouseClick(create, Qt::LeftButton, {}, create->rect().center());
        QTRY_COMPARE(f.dialogs->newCalls, 1);
    }

    void messageBoxesCentreOnTheOwner()
    {
        const QRect area(0, 0, 1000, 700);
        QWidget owner;
        owner.setGeometry(100, 100, 400, 300);
        // Hidden owner: the work area's centre.
        QCOMPARE(CenteredMessageRect(QSize(200, 100), &owner, area).center(), area.center());
        QCOMPARE(CenteredMessageRect(QSize(200, 100), nullptr, area).center(), area.center());
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        const QRect overOwner = CenteredMessageRect(QSize(200, 100), &owner, area);
        QCOMPARE(overOwner.center(), owner.frameGeometry().center());
        // Near an edge it stays inside the work area.
        owner.move(850, 620);
        const QRect inside = CenteredMessageRect(QSize(300, 150), &owner, area);
        QVERIFY(area.contains(inside));
        // Larger than the area: its top-left corner is kept.
        QCOMPARE(CenteredMessageRect(QSize(1200, 900), &owner, area).topLeft(), QPoint(0, 0));
    }

private:
    QList<QUrl> m_opened;
};

QTEST_MAIN(MainFrameLifecycleTest)
#include "MainFrameLifecycleTest.moc"
