#include <QTest>

#include "album/Album.h"
#include "app/Settings.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/album/VeCollectionsPane.h"
#include "views/details/VeFadInfoCtrlBase.h"
#include "views/common/SharedFonts.h"
#include "views/frame/VeCmdBarCtrlBase.h"
#include "views/frame/WTL_PageStack.h"
#include "views/menus/CommandIds.h"

using namespace tessary;

namespace {

// Settings of a later run: stored widths, no first-run layout.
void StoredWidths(int left, int middle)
{
    Settings::Instance() = Settings();
    Settings::Instance().debut = false;
    Settings::Instance().leftPaneWidth = left;
    Settings::Instance().midPaneWidth = middle;
}

QRect Geometry(QWidget& w)
{
    return w.isVisibleTo(w.parentWidget()) ? w.geometry() : QRect();
}

} // namespace

class AlbumViewLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void storedWidthsAndTheirMinimums()
    {
        StoredWidths(40, 150);
        {
            VeAlbumViewBase view;
            QCOMPARE(view.LeftWidth(), 220); // 40 is below 60
            QCOMPARE(view.MiddleWidth(), 150);
        }
        // Destruction writes the widths back.
        QCOMPARE(Settings::Instance().leftPaneWidth, 220);
        StoredWidths(60, 139);
        VeAlbumViewBase view;
        QCOMPARE(view.LeftWidth(), 60);
        QCOMPARE(view.MiddleWidth(), 375);
    }

    void fiveLayoutCases_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QRect>("left");
        QTest::addColumn<QRect>("middle");
        QTest::addColumn<QRect>("right");
        // A = 220, M = 375; the panes run from y = 31 to 600 - 50.
        const int top = 31;
        const int h = 600 - 50 - 31;
        QTest::newRow("only middle") << 202 << QRect() << QRect(0, top, 202, h) << QRect();
        QTest::newRow("squeezed left") << 363 << QRect(0, top, 220, h) << QRect(223, top, 140, h) << QRect();
        QTest::newRow("narrow left") << 300 << QRect(0, top, 157, h) << QRect(160, top, 140, h) << QRect();
        QTest::newRow("two panes") << 425 << QRect(0, top, 220, h) << QRect(223, top, 202, h) << QRect();
        QTest::newRow("three, fixed middle") << 900 << QRect(0, top, 220, h) << QRect(223, top, 375, h)
                                             << QRect(601, top, 299, h);
        QTest::newRow("three, squeezed") << 661 << QRect(0, top, 220, h) << QRect(223, top, 375, h)
                                         << QRect(601, top, 60, h);
        QTest::newRow("three, right kept") << 650 << QRect(0, top, 220, h) << QRect(223, top, 364, h)
                                           << QRect(590, top, 60, h);
        QTest::newRow("edge 426") << 426 << QRect(0, top, 220, h) << QRect(223, top, 140, h) << QRect(366, top, 60, h);
    }

    void fiveLayoutCases()
    {
        QFETCH(int, width);
        QFETCH(QRect, left);
        QFETCH(QRect, middle);
        QFETCH(QRect, right);
        StoredWidths(220, 375);
        VeAlbumViewBase view;
        view.resize(width, 600);
        view.show();
        QCOMPARE(Geometry(view.CollectionsPane()), left);
        QCOMPARE(Geometry(view.MiddleStack()), middle);
        QCOMPARE(Geometry(view.RightStack()), right);
        QCOMPARE(view.CommandBar().geometry(), QRect(0, 0, width, 31));
        QCOMPARE(Geometry(view.InfoStrip()), QRect(0, 550, width, 50));
    }

    void shrinkingAndGrowingKeepsTheWidths()
    {
        StoredWidths(250, 300);
        VeAlbumViewBase view;
        view.resize(180, 500);
        view.show();
        QVERIFY(!view.CollectionsPane().isVisible());
        QVERIFY(!view.RightStack().isVisible());
        view.resize(1000, 500);
        QCOMPARE(view.CollectionsPane().width(), 250);
        QCOMPARE(view.MiddleStack().width(), 300);
        QVERIFY(view.RightStack().isVisible());
    }

    void infoStripAndMinimumPaneHeight()
    {
        StoredWidths(220, 375);
        VeAlbumViewBase view;
        view.resize(900, 210); // 179 left below the bar: no strip
        view.show();
        QVERIFY(!view.InfoStrip().isVisible());
        QCOMPARE(view.MiddleStack().geometry().height(), 179);
        view.resize(900, 211);
        QVERIFY(view.InfoStrip().isVisible());
        QCOMPARE(view.MiddleStack().height(), 130); // 211 - 31 - 50 = 130
        view.resize(900, 100);
        QCOMPARE(view.MiddleStack().height(), 130); // pushed below the view
    }

    void firstRunLayout()
    {
        Settings::Instance() = Settings(); // debut
        Settings::Instance().midPaneWidth = 200;
        {
            VeAlbumViewBase view;
            view.resize(1200, 700);
            view.show();
            QCOMPARE(view.CollectionsPane().width(), 220);
            QCOMPARE(view.MiddleStack().width(), 1200 - 546);
            QCOMPARE(view.RightStack().width(), 320);
        }
        Settings::Instance() = Settings();
        Settings::Instance().midPaneWidth = 200;
        VeAlbumViewBase narrow;
        narrow.resize(800, 700);
        narrow.show();
        QCOMPARE(narrow.MiddleStack().width(), 200); // the stored width
        QCOMPARE(narrow.RightStack().width(), 800 - 220 - 200 - 6);
    }

    void splitterDragging()
    {
        StoredWidths(220, 375);
        VeAlbumViewBase view;
        view.resize(900, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QPoint s1 = view.SplitterRect(1).center();
        QCOMPARE(view.SplitterAt(s1), 1);
        QCOMPARE(view.SplitterAt(view.SplitterRect(2).center()), 2);
        QCOMPARE(view.SplitterAt(QPoint(100, 300)), 0);
        QTest::mouseMove(&view, s1);
        QTRY_COMPARE(view.cursor().shape(), Qt::SizeHorCursor);

        // Splitter 1: the middle stack keeps its right edge and at least 140.
        const int middleRight = view.MiddleStack().geometry().right();
        QTest::mousePress(&view, Qt::LeftButton, {}, s1);
        QTest::mouseMove(&view, QPoint(301, 300));
        QCOMPARE(view.CollectionsPane().width(), 300);
        QCOMPARE(view.MiddleStack().x(), 303);
        QCOMPARE(view.MiddleStack().geometry().right(), middleRight);
        QTest::mouseMove(&view, QPoint(10, 300));
        QCOMPARE(view.CollectionsPane().width(), 60);
        QTest::mouseMove(&view, QPoint(880, 300));
        QCOMPARE(view.MiddleStack().width(), 140);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(880, 300));
        QCOMPARE(view.LeftWidth(), view.CollectionsPane().width());

        // Splitter 2: the right stack keeps at least 60.
        const QPoint s2 = view.SplitterRect(2).center();
        QTest::mousePress(&view, Qt::LeftButton, {}, s2);
        QTest::mouseMove(&view, QPoint(899, 300));
        QCOMPARE(view.RightStack().width(), 60);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(899, 300));
        QCOMPARE(view.MiddleWidth(), view.MiddleStack().width());
    }

    void splittersArePainted()
    {
        StoredWidths(220, 375);
        VeAlbumViewBase view;
        view.resize(900, 600);
        const QImage shot = view.grab().toImage();
        const QRect s = view.SplitterRect(1);
        QCOMPARE(shot.pixelColor(s.left(), 300), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(s.left() + 1, 300), QColor(0xD3, 0xDE, 0xF1));
        QCOMPARE(shot.pixelColor(s.left() + 2, 300), QColor(Qt::white));
    }

    void collectionsPaneShowsTheAlbum()
    {
        StoredWidths(220, 375);
        Album album(QStringLiteral("/nowhere/A"), QStringLiteral("A"));
        album.GetCollections().Add(QStringLiteral("One"));
        album.GetCollections().Add(QStringLiteral("Two"));
        VeAlbumViewBase view;
        view.resize(900, 600);
        view.show();
        view.SetAlbum(&album);
        VeCollectionsPane& pane = view.CollectionsPane();
        QCOMPARE(pane.RowCount(), 4);
        // A click on a collection returns the right stack to the hint and is remembered.
        view.OnItemSelectionChanged(1);
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsPage);
        const QRect two = pane.RowRect(pane.RowAtIndex(2));
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, two.center());
        QCOMPARE(pane.SelectedCollection()->Name(), QStringLiteral("Two"));
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsHintPage);
        QCOMPARE(album.GetCollections().HotId(), pane.SelectedCollection()->Id());
        view.Clear();
        QCOMPARE(pane.RowCount(), 0);
        QCOMPARE(view.GetAlbum(), nullptr);
    }

    void pagesFollowThePanes()
    {
        StoredWidths(220, 375);
        VeAlbumViewBase view;
        view.OnItemSelectionChanged(1);
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsPage);
        view.OnItemSelectionChanged(2);
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsHintPage);
        view.OnItemSelectionChanged(1);
        view.OnSearchTextChanged(false);
        QCOMPARE(view.MiddleStack().ActiveIndex(), VeAlbumViewBase::kSearchResultsPage);
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsHintPage);
        QVERIFY(view.CommandBar().FindButton(cmd::kHideSearchResults)->visible);
        view.OnResultsSelectionChanged(1);
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsPage);
        // Hide Search Results: back to the item list, whose selection the right stack follows.
        QVERIFY(view.HandleCommand(cmd::kHideSearchResults));
        QCOMPARE(view.MiddleStack().ActiveIndex(), VeAlbumViewBase::kItemListPage);
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsPage);
        QVERIFY(!view.CommandBar().FindButton(cmd::kHideSearchResults)->visible);
        view.OnCollectionSelectionChanged();
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsHintPage);
    }
};

QTEST_MAIN(AlbumViewLayoutTest)
#include "AlbumViewLayoutTest.moc"
