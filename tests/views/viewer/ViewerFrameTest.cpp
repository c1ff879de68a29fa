// The viewer in the main window: opening in place of the main view, the focus there and
// back, the start index, and the window's close request while the viewer is up.
#include <QCloseEvent>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ViewerTestSupport.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "app/MainFrame.h"
#include "views/ViewsTestSupport.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/album/VeCollectionsPane.h"
#include "views/frame/VeMainView.h"
#include "views/frame/WTL_PageStack.h"
#include "views/menus/CommandIds.h"
#include "views/viewer/VeFadViewerBase.h"
#include "views/viewer/VeImgViewCtrl.h"

using namespace tessary;
using namespace tessary::test;

namespace {

void SendKey(QWidget* widget, int key)
{
    QVERIFY(widget);
    QTest::keyClick(widget, Qt::Key(key));
}

} // namespace

class ViewerFrameTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (int i = 0; i < 3; ++i) {
            m_photos << m_dir.filePath(QStringLiteral("p%1.jpg").arg(i));
            QVERIFY(WriteBytes(m_photos.back(), SolidJpeg(64, 48, QColor(40 * i, 100, 200))));
        }
    }

    void init()
    {
        m_frame = std::make_unique<MainFrame>(nullptr, std::make_unique<ScriptedPrompts>());
        m_frame->resize(700, 500);
        m_frame->show();
        QApplication::setActiveWindow(m_frame.get());
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    }
    void cleanup() { m_frame.reset(); }

    void opensInPlaceOfTheMainViewAndGivesTheFocusBack()
    {
        MainFrame& frame = *m_frame;
        frame.MainView().Pages().setFocus();
        QTRY_VERIFY(QApplication::focusWidget());
        QWidget* had = QApplication::focusWidget();
        QVERIFY(!frame.IsViewerShown());
        QVERIFY(!frame.Viewer().isVisible());

        frame.OpenViewer(m_photos, 1);
        QVERIFY(frame.IsViewerShown());
        QVERIFY(frame.Viewer().isVisible());
        QVERIFY(!frame.MainView().isVisible());
        QCOMPARE(frame.Viewer().geometry(), frame.centralWidget()->rect());
        VeImgViewCtrl& view = frame.Viewer().ImageView();
        QCOMPARE(view.size(), frame.Viewer().size());
        QCOMPARE(QApplication::focusWidget(), &view);
        QCOMPARE(view.CurrentIndex(), 1);
        QTRY_COMPARE(view.DisplayedIndex(), 1);

        // Keys reach the image view; Escape leaves the viewer.
        SendKey(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(view.CurrentIndex(), 2);
        SendKey(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!frame.IsViewerShown());
        QVERIFY(frame.MainView().isVisible());
        QVERIFY(!frame.Viewer().isVisible());
        QCOMPARE(QApplication::focusWidget(), had);
        // The photos are let go.
        QCOMPARE(view.Count(), 0);
        QVERIFY(view.ReadAhead().Cached().empty());

        // Enter and a click close it the same way.
        frame.OpenViewer(m_photos, 0);
        SendKey(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!frame.IsViewerShown());
        frame.OpenViewer(m_photos, 0);
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!frame.IsViewerShown());
        QCOMPARE(QApplication::focusWidget(), had);
    }

    // Enter or a double-click in the item list arrives as the album view's OpenViewer.
    void theAlbumPageOpensItThroughTheFrame()
    {
        MainFrame& frame = *m_frame;
        VeAlbumViewBase& album = frame.MainView().AlbumView();
        emit album.OpenViewer({m_dir.filePath(QStringLiteral("gone.jpg"))}, 0);
        QVERIFY(!frame.IsViewerShown()); // a single photo must exist
        emit album.OpenViewer(m_photos, 2);
        QVERIFY(frame.IsViewerShown());
        QCOMPARE(frame.Viewer().ImageView().CurrentIndex(), 2);
        frame.CloseViewer();
    }

    // A second open while the viewer is up keeps the widget to return to.
    void openingAgainKeepsTheWayBack()
    {
        MainFrame& frame = *m_frame;
        frame.MainView().Pages().setFocus();
        QTRY_VERIFY(QApplication::focusWidget());
        QWidget* had = QApplication::focusWidget();
        frame.OpenViewer(m_photos, 0);
        frame.OpenViewer(m_photos.mid(1), 0);
        QCOMPARE(frame.Viewer().ImageView().Count(), 2);
        frame.CloseViewer();
        QCOMPARE(QApplication::focusWidget(), had);
    }

    // The widget that had the focus was hidden meanwhile: the focus goes elsewhere in the
    // main view, not to it and not into the hidden viewer.
    void focusIsNotGivenToAWidgetHiddenMeanwhile()
    {
        MainFrame& frame = *m_frame;
        const QString albumFile = MakeAlbum();
        QVERIFY(frame.OpenAlbum(albumFile, true, true));
        QWidget* pane = &frame.MainView().AlbumView().CollectionsPane();
        pane->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), pane);
        frame.OpenViewer(m_photos, 0);
        QVERIFY(frame.MainView().ShowPage(VeMainView::kHomePage));
        frame.CloseViewer();
        QVERIFY(!pane->isVisible());
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != pane);
        QVERIFY(focus && focus->isVisible());
        QVERIFY(!frame.Viewer().isAncestorOf(focus));
    }

    // The pages' commands do not reach the hidden main view while the viewer is up.
    void pageCommandsWaitWhileViewing()
    {
        MainFrame& frame = *m_frame;
        QVERIFY(frame.OpenAlbum(MakeAlbum(), true, true));
        QVERIFY(frame.HandleCommand(cmd::kHideSearchResults));
        frame.OpenViewer(m_photos, 0);
        QVERIFY(!frame.HandleCommand(cmd::kHideSearchResults));
        QCOMPARE(QApplication::focusWidget(), &frame.Viewer().ImageView());
        QVERIFY(frame.IsViewerShown());
        frame.CloseViewer();
        QVERIFY(frame.HandleCommand(cmd::kHideSearchResults));
    }

    void emptyListDoesNothingAndTheIndexIsClamped()
    {
        MainFrame& frame = *m_frame;
        frame.OpenViewer({}, 0);
        QVERIFY(!frame.IsViewerShown());
        QVERIFY(frame.MainView().isVisible());
        frame.OpenViewer(m_photos, 7);
        QCOMPARE(frame.Viewer().ImageView().CurrentIndex(), 2);
        frame.OpenViewer(m_photos, -4);
        QCOMPARE(frame.Viewer().ImageView().CurrentIndex(), 0);
        QVERIFY(!frame.Viewer().Open({}, 0));
        QCOMPARE(frame.Viewer().ImageView().Count(), 3);
        frame.CloseViewer();
        frame.CloseViewer();
        QVERIFY(!frame.IsViewerShown());
    }

    // Closing the window while the viewer is up only leaves the viewer: the album stays
    // open and unsaved; the next close request closes the window.
    void closeRequestWithTheViewerUpOnlyLeavesTheViewer()
    {
        MainFrame& frame = *m_frame;
        const QString albumFile = MakeAlbum();
        QVERIFY(frame.OpenAlbum(albumFile, true, true));
        frame.MainView().GetAlbum()->GetCollections().Add(QStringLiteral("Added While Viewing"));
        frame.OpenViewer(m_photos, 0);

        QCloseEvent first;
        QCoreApplication::sendEvent(&frame, &first);
        QVERIFY(!first.isAccepted());
        QVERIFY(!frame.IsViewerShown());
        QVERIFY(frame.MainView().isVisible());
        QVERIFY(frame.MainView().HasAlbum());
        QVERIFY(frame.isVisible());
        Album stored;
        QVERIFY(LoadAlbum(stored, albumFile));
        QVERIFY(!stored.GetCollections().FindByName(QStringLiteral("Added While Viewing")));

        QCloseEvent second;
        QCoreApplication::sendEvent(&frame, &second);
        QVERIFY(second.isAccepted());
        QVERIFY(!frame.MainView().HasAlbum());
        QVERIFY(LoadAlbum(stored, albumFile));
        QVERIFY(stored.GetCollections().FindByName(QStringLiteral("Added While Viewing")));
    }

private:
    QString MakeAlbum()
    {
        const QString name = QStringLiteral("Album%1").arg(++m_albums);
        Album album(m_dir.filePath(name), name);
        album.SetAlbumId(m_albums);
        album.GetCollections().Add(QStringLiteral("First"));
        return SaveAlbum(album) ? album.FilePath() : QString();
    }

    QTemporaryDir m_dir;
    QStringList m_photos;
    std::unique_ptr<MainFrame> m_frame;
    int m_albums = 0;
};

QTEST_MAIN(ViewerFrameTest)
#include "ViewerFrameTest.moc"
