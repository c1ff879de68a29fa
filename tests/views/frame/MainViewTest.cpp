#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "album/Album.h"
#include "album/AlbumFile.h"
#include "views/search/VeSearchBoxCtrlBase.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/common/SharedFonts.h"
#include "views/frame/VeMainView.h"
#include "views/frame/VeTopViewBase.h"
#include "views/frame/WTL_PageStack.h"

using namespace tessary;

namespace {

QString SaveTestAlbum(const QString& folder, const QString& name)
{
    Album album(folder, name);
    album.SetAlbumId(3);
    album.GetCollections().Add(QStringLiteral("Beaches"));
    return SaveAlbum(album) ? album.FilePath() : QString();
}

} // namespace

class MainViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void startsAtHome()
    {
        VeMainView view;
        view.resize(900, 600);
        view.show();
        QCOMPARE(view.CurrentPage(), VeMainView::kHomePage);
        VeTabCtrl& tabs = view.TopStrip().Tabs();
        QCOMPARE(tabs.TabCount(), 2);
        QCOMPARE(tabs.Text(0), QStringLiteral("Home"));
        QCOMPARE(tabs.Text(1), QStringLiteral("_Album_"));
        QVERIFY(tabs.IsHidden(1));
        QVERIFY(!view.ShowPage(VeMainView::kAlbumPage)); // hidden tab
        QCOMPARE(view.TopStrip().geometry(), QRect(0, 0, 900, 43));
        QCOMPARE(view.Pages().geometry(), QRect(0, 43, 900, 557));
        QVERIFY(view.TopStrip().SearchBox()->isHidden());
    }

    void openAndClose()
    {
        QTemporaryDir dir;
        const QString path = SaveTestAlbum(dir.filePath(QStringLiteral("Trip")), QStringLiteral("Trip"));
        QVERIFY(!path.isEmpty());
        VeMainView view;
        view.resize(900, 600);
        view.show();
        QSignalSpy pages(&view, &VeMainView::PageChanged);

        QVERIFY(view.OpenAlbum(path));
        QVERIFY(view.HasAlbum());
        QCOMPARE(view.GetAlbum()->Name(), QStringLiteral("Trip"));
        QCOMPARE(view.AlbumView().GetAlbum(), view.GetAlbum());
        VeTabCtrl& tabs = view.TopStrip().Tabs();
        QCOMPARE(tabs.Text(1), QStringLiteral("Trip"));
        QVERIFY(!tabs.IsHidden(1));
        // Opening does not change the page; a second album is refused.
        QCOMPARE(view.CurrentPage(), VeMainView::kHomePage);
        QVERIFY(!view.OpenAlbum(path));

        QVERIFY(view.ShowPage(VeMainView::kAlbumPage));
        QCOMPARE(pages.count(), 1);
        QVERIFY(view.TopStrip().SearchBox()->isVisible());
        QVERIFY(view.AlbumView().isVisible());

        view.CloseAlbum();
        QVERIFY(!view.HasAlbum());
        QCOMPARE(view.AlbumView().GetAlbum(), nullptr);
        QVERIFY(tabs.IsHidden(1));
        QCOMPARE(view.CurrentPage(), VeMainView::kHomePage);
        QVERIFY(view.TopStrip().SearchBox()->isHidden());
        // The hidden album tab gives its room back.
        QCOMPARE(tabs.GetTotalWidth(), tabs.GetTabRect(0).right() + 1);
    }

    void openFailuresLeaveHome()
    {
        QTemporaryDir dir;
        VeMainView view;
        QVERIFY(!view.OpenAlbum(dir.filePath(QStringLiteral("missing.tsy"))));
        QVERIFY(!view.OpenAlbum(dir.path())); // a folder
        const QString corrupt = dir.filePath(QStringLiteral("Broken.tsy"));
        QFile f(corrupt);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<TSRAAlbum><Properties");
        f.close();
        QVERIFY(!view.OpenAlbum(corrupt));
        QVERIFY(!view.HasAlbum());
        QVERIFY(view.TopStrip().Tabs().IsHidden(1));
        QCOMPARE(view.CurrentPage(), VeMainView::kHomePage);
    }

    void createShowsTheAlbumPage()
    {
        QTemporaryDir dir;
        VeMainView view;
        view.show();
        const QString folder = dir.filePath(QStringLiteral("deep/New One"));
        QVERIFY(!view.CreateAlbum(folder, QStringLiteral("  "), 5));
        QVERIFY(!view.CreateAlbum(QString(), QStringLiteral("New One"), 5));
        QVERIFY(view.CreateAlbum(folder, QStringLiteral("New One"), 5));
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(view.GetAlbum()->AlbumId(), 5);
        QCOMPARE(view.CurrentPage(), VeMainView::kAlbumPage);
        QCOMPARE(view.TopStrip().Tabs().Text(1), QStringLiteral("New One"));
        // Nothing is written until a save.
        QVERIFY(!QFileInfo::exists(view.GetAlbum()->FilePath()));
        QVERIFY(!view.CreateAlbum(folder, QStringLiteral("Other"), 6));
    }
};

QTEST_MAIN(MainViewTest)
#include "MainViewTest.moc"
