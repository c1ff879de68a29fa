// The row-list operations without the mouse: rows, geometry, selection operations and their
// notifications, scrolling, painting of the update band, drag images.

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "TestRows.h"
#include "imaging/DibImage.h"
#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"

using namespace tessary;
using namespace tessary::test;

class RowListBaseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void rowsAndGeometry()
    {
        ProbeList list;
        list.resize(200, 150);
        QCOMPARE(list.RowHeight(), RowListBase::kDefaultRowHeight);
        QCOMPARE(list.ScrollRange(), 1); // never 0, even empty
        QCOMPARE(list.RowAt(QPoint(5, 5)), nullptr);

        auto rows = list.AddProbes(3);
        QCOMPARE(list.RowCount(), 3);
        QCOMPARE(list.ScrollRange(), 90);
        QCOMPARE(list.IndexOf(rows[2]), 2);
        QCOMPARE(list.RowAtIndex(3), nullptr);
        QCOMPARE(list.RowAtIndex(-1), nullptr);

        const int w = list.viewport()->width();
        QCOMPARE(list.RowRect(rows[1]), QRect(0, 30, w, 30));
        QCOMPARE(list.RowAt(QPoint(3, 0)), rows[0]);
        QCOMPARE(list.RowAt(QPoint(3, 29)), rows[0]);
        QCOMPARE(list.RowAt(QPoint(3, 30)), rows[1]);
        QCOMPARE(list.RowAt(QPoint(3, 89)), rows[2]);
        QCOMPARE(list.RowAt(QPoint(3, 90)), nullptr);  // below the last row
        QCOMPARE(list.RowAt(QPoint(3, -1)), nullptr);  // outside the client area
        QCOMPARE(list.RowAt(QPoint(w, 10)), nullptr);

        // Insertion clamps its index; moving keeps the row object and its flag.
        auto first = std::make_unique<ProbeRow>(100);
        ProbeRow* p100 = first.get();
        list.InsertRow(-5, std::move(first));
        auto last = std::make_unique<ProbeRow>(101);
        ProbeRow* p101 = last.get();
        list.InsertRow(99, std::move(last));
        QCOMPARE(list.IndexOf(p100), 0);
        QCOMPARE(list.IndexOf(p101), 4);
        QVERIFY(list.Select(p100, true, false));
        QVERIFY(list.MoveRow(0, 3));
        QCOMPARE(list.IndexOf(p100), 3);
        QCOMPARE(list.IndexOf(rows[0]), 0);
        QVERIFY(p100->IsSelected());
        QVERIFY(list.MoveRow(4, 0));
        QCOMPARE(list.IndexOf(p101), 0);
        QVERIFY(!list.MoveRow(0, 5));
        QVERIFY(!list.MoveRow(-1, 0));

        ProbeRow stranger(7);
        QCOMPARE(list.IndexOf(&stranger), -1);
        QVERIFY(list.RowRect(&stranger).isEmpty());
        QVERIFY(!list.RemoveRow(&stranger, true));
        QVERIFY(!list.IsSelected(&stranger));

        list.SetRowHeight(20);
        QCOMPARE(list.ScrollRange(), 5 * 20);
        QCOMPARE(list.verticalScrollBar()->singleStep(), 20);
    }

    void selectObeysBehaviour()
    {
        ProbeList list;
        list.resize(200, 300);
        auto rows = list.AddProbes(5);
        QSignalSpy spy(&list, &RowListBase::Notify);
        QCOMPARE(list.Behaviour(), SelectionBehaviour::Single);

        QVERIFY(!list.Select(nullptr, true, true));
        QVERIFY(list.Select(rows[1], true, true));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), kNotifySelectionChanged);
        // Already in that state: success, nothing announced.
        QVERIFY(list.Select(rows[1], true, true));
        QCOMPARE(spy.count(), 1);
        // Single: the other row goes.
        QVERIFY(list.Select(rows[3], true, true));
        QCOMPARE(SelectedIds(list), std::vector<int>{3});
        QCOMPARE(spy.count(), 2);
        QCOMPARE(list.FirstSelected(), rows[3]);
        QVERIFY(list.IsSelected(rows[3]));
        QVERIFY(!list.IsSelected(rows[1]));
        // Without notify nothing is sent.
        QVERIFY(list.Select(rows[3], false, false));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(list.FirstSelected(), nullptr);

        list.SetSelectionBehaviour(SelectionBehaviour::Multiple);
        QVERIFY(list.Select(rows[0], true, false));
        QVERIFY(list.Select(rows[4], true, false));
        QCOMPARE(SelectedIds(list), (std::vector<int>{0, 4}));
        QCOMPARE(list.FirstSelected(), rows[0]);

        list.SetSelectionBehaviour(SelectionBehaviour::None);
        QVERIFY(!list.Select(rows[2], true, true));
        QVERIFY(!list.SelectRange(2, 2, true));
        QVERIFY(!list.SelectAll(true));
        QVERIFY(!list.InvertSelection(true));
        QCOMPARE(spy.count(), 2);
    }

    void unselectableRowsStayUnselected()
    {
        ProbeList list;
        list.resize(200, 300);
        auto rows = list.AddProbes(2);
        auto placeholder = std::make_unique<ProbeRow>(9, false);
        ProbeRow* p = placeholder.get();
        list.AddRow(std::move(placeholder));
        QVERIFY(!list.Select(p, true, true));
        list.SetSelectionBehaviour(SelectionBehaviour::Multiple);
        QVERIFY(list.SelectAll(false));
        QCOMPARE(SelectedIds(list), (std::vector<int>{0, 1}));
        QVERIFY(list.SelectRange(0, 2, false));
        QVERIFY(!p->IsSelected());
        QVERIFY(list.InvertSelection(false));
        QVERIFY(!p->IsSelected());
        QVERIFY(!rows[0]->IsSelected());
    }

    void selectOnlyAndRange()
    {
        ProbeList list;
        list.resize(200, 300);
        auto rows = list.AddProbes(6);
        QSignalSpy spy(&list, &RowListBase::Notify);

        // Single behaviour: a range of two different rows fails and changes nothing.
        QVERIFY(list.Select(rows[2], true, false));
        QVERIFY(!list.SelectRange(1, 3, true));
        QCOMPARE(SelectedIds(list), std::vector<int>{2});
        QCOMPARE(spy.count(), 0);
        // One row is a range even in single mode.
        QVERIFY(list.SelectRange(4, 4, true));
        QCOMPARE(SelectedIds(list), std::vector<int>{4});
        QCOMPARE(spy.count(), 1);
        QVERIFY(!list.SelectRange(0, 6, true));
        QVERIFY(!list.SelectRange(-1, 0, true));

        list.SetSelectionBehaviour(SelectionBehaviour::Multiple);
        QVERIFY(list.SelectRange(4, 1, true)); // either order
        QCOMPARE(SelectedIds(list), (std::vector<int>{1, 2, 3, 4}));
        QCOMPARE(spy.count(), 2);
        QVERIFY(list.SelectRange(1, 4, true)); // unchanged: no notification
        QCOMPARE(spy.count(), 2);
        QVERIFY(list.SelectRange(3, 5, true)); // rows outside are deselected
        QCOMPARE(SelectedIds(list), (std::vector<int>{3, 4, 5}));
        QCOMPARE(spy.count(), 3);

        // SelectOnly leaves the given row as it was.
        QVERIFY(list.SelectOnly(rows[4], true));
        QCOMPARE(SelectedIds(list), std::vector<int>{4});
        QCOMPARE(spy.count(), 4);
        QVERIFY(!list.SelectOnly(rows[4], true));
        QCOMPARE(spy.count(), 4);
        QVERIFY(list.SelectOnly(rows[0], true)); // row 0 stays unselected, row 4 goes
        QCOMPARE(SelectedIds(list), std::vector<int>{});
    }

    void selectAllAndInvert()
    {
        ProbeList list;
        list.resize(200, 300);
        QSignalSpy spy(&list, &RowListBase::Notify);
        QVERIFY(!list.SelectAll(true));
        QVERIFY(!list.InvertSelection(true));
        QCOMPARE(spy.count(), 0);

        auto rows = list.AddProbes(4);
        QVERIFY(list.Select(rows[1], true, false));
        QVERIFY(list.InvertSelection(true));
        QCOMPARE(SelectedIds(list), (std::vector<int>{0, 2, 3}));
        QCOMPARE(spy.count(), 1);
        QVERIFY(list.SelectAll(true));
        QCOMPARE(SelectedIds(list), (std::vector<int>{0, 1, 2, 3}));
        QCOMPARE(spy.count(), 2);
        QVERIFY(!list.SelectAll(true)); // nothing changed
        QCOMPARE(spy.count(), 2);
        QVERIFY(list.InvertSelection(true));
        QCOMPARE(SelectedIds(list), std::vector<int>{});
        QCOMPARE(spy.count(), 3);
    }

    void removeAndClear()
    {
        ProbeList list;
        list.resize(200, 300);
        auto rows = list.AddProbes(4);
        QSignalSpy spy(&list, &RowListBase::Notify);
        QVERIFY(list.Select(rows[1], true, false));

        QVERIFY(list.RemoveRow(rows[0], true)); // unselected: silent
        QCOMPARE(spy.count(), 0);
        QCOMPARE(list.ScrollRange(), 90);
        QVERIFY(list.RemoveRow(rows[1], true)); // selected: announced
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), kNotifySelectionChanged);
        QCOMPARE(list.FirstSelected(), nullptr);
        QVERIFY(list.Select(rows[2], true, false));
        QVERIFY(list.RemoveRow(rows[2], false)); // selected, but asked not to tell
        QCOMPARE(spy.count(), 1);
        QCOMPARE(list.RowCount(), 1);
        QVERIFY(list.RemoveRow(rows[3], true));
        QCOMPARE(list.ScrollRange(), 1);

        auto more = list.AddProbes(3);
        list.SetHotRow(more[1]);
        QCOMPARE(list.HotRow(), more[1]);
        list.Clear();
        QCOMPARE(list.RowCount(), 0);
        QCOMPARE(list.HotRow(), nullptr);
        QCOMPARE(list.AnchorRow(), nullptr);
        QCOMPARE(list.ScrollRange(), 1);
    }

    void scrollingByRows()
    {
        ProbeList list;
        list.resize(200, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        auto rows = list.AddProbes(100);
        QScrollBar* bar = list.verticalScrollBar();
        const int view = list.viewport()->height();
        QCOMPARE(bar->maximum(), 100 * 30 - view);
        QCOMPARE(bar->singleStep(), 30);
        QCOMPARE(bar->pageStep(), view);

        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(list.ScrollPosition(), 30);
        QCOMPARE(list.RowAt(QPoint(4, 0)), rows[1]);

        bar->setValue(3 * 30 + 5);
        QCOMPARE(list.RowAt(QPoint(4, 0)), rows[3]);
        QCOMPARE(list.RowAt(QPoint(4, 24)), rows[3]);
        QCOMPARE(list.RowAt(QPoint(4, 25)), rows[4]);
        QCOMPARE(list.RowRect(rows[3]).top(), -5);
        QCOMPARE(list.RowRect(rows[0]).top(), -95);
        QCOMPARE(list.RowRect(rows[10]).top(), 7 * 30 - 5);

        list.EnsureVisible(rows[50]); // below: its bottom meets the view's bottom
        QCOMPARE(list.RowRect(rows[50]).bottom(), view - 1);
        list.EnsureVisible(rows[2]); // above: its top meets the view's top
        QCOMPARE(list.RowRect(rows[2]).top(), 0);
        list.EnsureVisible(rows[3]); // already in view: no scroll
        QCOMPARE(list.ScrollPosition(), 60);

        // The range shrinks with the rows and the position follows.
        bar->setValue(bar->maximum());
        while (list.RowCount() > 5)
            list.RemoveRow(list.RowAtIndex(list.RowCount() - 1), false);
        QCOMPARE(bar->maximum(), std::max(0, 5 * 30 - view));
        QCOMPARE(list.RowRect(list.RowAtIndex(0)).top(), -bar->value());
    }

    void paintsOnlyRowsInTheUpdateRegion()
    {
        ProbeList list;
        list.resize(200, 300);
        std::vector<int> log;
        auto rows = list.AddProbes(1000, &log);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QApplication::processEvents();

        // A full paint draws the visible band only.
        log.clear();
        list.viewport()->repaint();
        const int visible = (list.viewport()->height() + 29) / 30;
        QCOMPARE(int(log.size()), visible);
        QCOMPARE(log.front(), 0);
        QCOMPARE(log.back(), visible - 1);

        // One row's rectangle: that row alone, once.
        log.clear();
        list.viewport()->repaint(list.RowRect(rows[5]));
        QCOMPARE(log, std::vector<int>{5});
        QCOMPARE(rows[5]->lastRect, list.RowRect(rows[5]));

        // A region of two separate rows: the rows between them are skipped.
        log.clear();
        QRegion region(list.RowRect(rows[2]).adjusted(10, 10, -10, -10));
        region += list.RowRect(rows[8]).adjusted(10, 10, -10, -10);
        list.viewport()->repaint(region);
        QCOMPARE(log, (std::vector<int>{2, 8}));

        // Scrolled to the far end, the band follows the position.
        list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum());
        log.clear();
        list.viewport()->repaint();
        QCOMPARE(log.back(), 999);
        QVERIFY(int(log.size()) <= visible + 1);
        QCOMPARE(list.belowPaints, 0); // the rows cover the view to its bottom
    }

    void spaceBelowTheRowsIsWhite()
    {
        ProbeList list;
        list.resize(200, 300);
        list.AddProbes(3);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.belowPaints = 0;
        const QImage image = list.viewport()->grab().toImage();
        QVERIFY(list.belowPaints > 0);
        QCOMPARE(image.pixelColor(10, 45), kPlainColor);
        QCOMPARE(image.pixelColor(10, 89), kPlainColor);
        QCOMPARE(image.pixelColor(10, 90), QColor(Qt::white));
        QCOMPARE(image.pixelColor(10, image.height() - 1), QColor(Qt::white));
    }

    void rowsDrawWithTheirState()
    {
        ProbeList list;
        list.resize(200, 300);
        auto rows = list.AddProbes(3);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(list.Select(rows[0], true, false));
        list.SetHotRow(rows[1]);
        list.clearFocus();
        const QImage image = list.viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(10, 15), kSelectedColor);
        QCOMPARE(image.pixelColor(10, 45), kHotColor);
        QCOMPARE(image.pixelColor(10, 75), kPlainColor);
        QVERIFY(!rows[2]->lastState.focused);
    }

    void dragImageIsTheRowInItsState()
    {
        ProbeList list;
        list.resize(160, 300);
        auto rows = list.AddProbes(3);
        QVERIFY(list.Select(rows[1], true, false));
        list.SetHotRow(rows[2]);

        DibImage image;
        QVERIFY(list.MakeDragImage(rows[1], image));
        QCOMPARE(image.Bpp(), 24);
        QCOMPARE(image.Width(), list.viewport()->width());
        QCOMPARE(image.Height(), 30);
        DibColor c;
        for (const QPoint p : {QPoint(0, 0), QPoint(image.Width() - 1, 29), QPoint(50, 15)}) {
            QVERIFY(image.GetColor(c, p.x(), p.y()));
            QCOMPARE(QColor(c.red, c.green, c.blue), kSelectedColor);
        }
        QVERIFY(rows[1]->lastState.selected);

        QVERIFY(list.MakeDragImage(rows[2], image));
        QVERIFY(image.GetColor(c, 3, 3));
        QCOMPARE(QColor(c.red, c.green, c.blue), kHotColor);

        ProbeRow stranger(5);
        DibImage untouched;
        QVERIFY(!list.MakeDragImage(&stranger, untouched));
        QVERIFY(untouched.IsEmpty());
        QCOMPARE(stranger.draws, 0);
    }
};

QTEST_MAIN(RowListBaseTest)
#include "RowListBaseTest.moc"
