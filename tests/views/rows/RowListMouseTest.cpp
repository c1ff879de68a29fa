// The row list driven like a person does: presses with and without Ctrl and Shift, the right
// button, double-clicks, pointer moves and leaving, Ctrl+A, pointer polling.

#include <QCursor>
#include <QSignalSpy>
#include <QTest>

#include "TestRows.h"
#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"

using namespace tessary;
using namespace tessary::test;

namespace {

int CountCode(const QSignalSpy& spy, int code)
{
    int n = 0;
    for (const QList<QVariant>& args : spy)
        n += args.at(0).toInt() == code ? 1 : 0;
    return n;
}

// A shown list of eight probe rows (30 pixels each) in a view that has room for ten.
struct Fixture {
    Fixture()
    {
        list.resize(220, 300);
        rows = list.AddProbes(8);
        list.show();
        list.activateWindow();
    }
    void Press(int index, Qt::KeyboardModifiers mods = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(list.viewport(), button, mods, list.CentreOf(index));
    }
    void PressBelowRows(Qt::KeyboardModifiers mods = Qt::NoModifier,
                        Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(list.viewport(), button, mods, QPoint(20, 8 * 30 + 10));
    }

    ProbeList list;
    std::vector<ProbeRow*> rows;
};

} // namespace

class RowListMouseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void plainClickSelectsOnlyThatRow()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        QSignalSpy spy(&f.list, &RowListBase::Notify);

        f.Press(2);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{2});
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), kNotifySelectionChanged);
        QCOMPARE(f.list.AnchorRow(), f.rows[2]);
        QCOMPARE(f.list.Behaviour(), SelectionBehaviour::Single);

        // The sole selected row pressed again: nothing changes, nothing is announced.
        f.Press(2);
        QCOMPARE(spy.count(), 1);

        f.Press(5);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{5});
        QCOMPARE(spy.count(), 2);

        // The hook runs after the rules, with the row already selected.
        QCOMPARE(f.list.leftPresses.size(), size_t(3));
        QCOMPARE(f.list.leftPresses.back().row, f.rows[5]);
        QVERIFY(f.list.leftPresses.back().rowSelected);
    }

    void plainClickOnOneOfSeveralKeepsOnlyIt()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        f.list.SetSelectionBehaviour(SelectionBehaviour::Multiple);
        QVERIFY(f.list.SelectRange(1, 4, false));
        QSignalSpy spy(&f.list, &RowListBase::Notify);
        f.Press(3); // already selected: the others go, one notification
        QCOMPARE(SelectedIds(f.list), std::vector<int>{3});
        QCOMPARE(spy.count(), 1);
    }

    void ctrlClickAddsAndToggles()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        QSignalSpy spy(&f.list, &RowListBase::Notify);
        f.Press(1);
        f.Press(4, Qt::ControlModifier);
        QCOMPARE(f.list.Behaviour(), SelectionBehaviour::Multiple);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{1, 4}));
        f.Press(6, Qt::ControlModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{1, 4, 6}));
        QCOMPARE(spy.count(), 3);

        // Ctrl on a selected row takes it off, and only it.
        f.Press(4, Qt::ControlModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{1, 6}));
        QCOMPARE(spy.count(), 4);
        QVERIFY(!f.list.leftPresses.back().rowSelected);

        // Ctrl below the rows keeps the selection.
        f.PressBelowRows(Qt::ControlModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{1, 6}));
        QCOMPARE(spy.count(), 4);

        // A plain click afterwards is single selection again.
        f.Press(0);
        QCOMPARE(f.list.Behaviour(), SelectionBehaviour::Single);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{0});
        QCOMPARE(spy.count(), 5);
    }

    void shiftClickSelectsFromTheAnchor()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        QSignalSpy spy(&f.list, &RowListBase::Notify);
        f.Press(2);
        f.Press(5, Qt::ShiftModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{2, 3, 4, 5}));
        QCOMPARE(spy.count(), 2); // the range; the pressed row was already in it
        QCOMPARE(f.list.AnchorRow(), f.rows[2]);

        // The anchor stays: a second Shift press re-spans from it, upwards too.
        f.Press(0, Qt::ShiftModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{0, 1, 2}));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(f.list.AnchorRow(), f.rows[2]);

        // Ctrl+click moves the anchor; Ctrl+Shift adds without a range.
        f.Press(6, Qt::ControlModifier);
        QCOMPARE(f.list.AnchorRow(), f.rows[6]);
        f.Press(7, Qt::ShiftModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{6, 7}));
        f.Press(3, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{3, 6, 7}));
        QCOMPARE(f.list.AnchorRow(), f.rows[6]);
    }

    void shiftClickWithoutAnchorStartsAtTheLastPress()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        // A right press is remembered as the last press but is no anchor.
        f.Press(1, Qt::NoModifier, Qt::RightButton);
        QCOMPARE(f.list.AnchorRow(), nullptr);
        f.Press(3, Qt::ShiftModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{1, 2, 3}));

        // With no press at all, Shift selects just the row.
        Fixture g;
        QVERIFY(QTest::qWaitForWindowExposed(&g.list));
        g.Press(4, Qt::ShiftModifier);
        QCOMPARE(SelectedIds(g.list), std::vector<int>{4});
    }

    void clickBelowTheRowsClearsOnce()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        QSignalSpy spy(&f.list, &RowListBase::Notify);
        f.PressBelowRows(); // nothing selected: silent
        QCOMPARE(spy.count(), 0);
        QCOMPARE(f.list.leftPresses.size(), size_t(1));
        QCOMPARE(f.list.leftPresses.back().row, nullptr);

        f.Press(1);
        f.Press(3, Qt::ControlModifier);
        spy.clear();
        f.PressBelowRows();
        QCOMPARE(SelectedIds(f.list), std::vector<int>{});
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), kNotifySelectionChanged);
        f.PressBelowRows(Qt::ShiftModifier); // keys held: no clearing either way
        QCOMPARE(spy.count(), 1);
    }

    void pressTakesTheFocusUnlessItEndedEarly()
    {
        Fixture f;
        QWidget other;
        other.setFocusPolicy(Qt::StrongFocus);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        f.list.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.list));
        f.list.clearFocus();
        QVERIFY(!f.list.hasFocus());

        f.PressBelowRows();
        QVERIFY(!f.list.hasFocus());
        f.Press(2);
        QVERIFY(f.list.hasFocus());
        f.list.viewport()->grab();
        QVERIFY(f.rows[2]->lastState.focused);
    }

    void clickOnAnUnselectableRowSelectsNothing()
    {
        ProbeList list;
        list.resize(220, 300);
        auto rows = list.AddProbes(2);
        list.InsertRow(1, std::make_unique<ProbeRow>(50, false));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.CentreOf(0));
        QSignalSpy spy(&list, &RowListBase::Notify);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.CentreOf(1));
        QCOMPARE(SelectedIds(list), std::vector<int>{0});
        QCOMPARE(spy.count(), 0);
        QCOMPARE(list.leftPresses.back().row, list.RowAtIndex(1)); // the pane still hears it
    }

    void rightButtonSelectsThenCallsTheHook()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        QSignalSpy spy(&f.list, &RowListBase::Notify);
        f.Press(2, Qt::NoModifier, Qt::RightButton);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{2});
        QCOMPARE(spy.count(), 1);
        QCOMPARE(f.list.rightPresses.size(), size_t(1));
        QCOMPARE(f.list.rightPresses[0].row, f.rows[2]);
        QVERIFY(f.list.rightPresses[0].rowSelected);
        QVERIFY(f.list.leftPresses.empty());

        // Over one of several selected rows, the selection stays for the menu.
        f.Press(4, Qt::ShiftModifier);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{2, 3, 4}));
        spy.clear();
        f.Press(3, Qt::NoModifier, Qt::RightButton);
        QCOMPARE(SelectedIds(f.list), (std::vector<int>{2, 3, 4}));
        QCOMPARE(spy.count(), 0);

        // Over an unselected row: that row alone.
        f.Press(6, Qt::NoModifier, Qt::RightButton);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{6});
        QCOMPARE(spy.count(), 1);

        // With Ctrl the row is not selected.
        f.Press(0, Qt::ControlModifier, Qt::RightButton);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{6});
        QVERIFY(!f.list.rightPresses.back().rowSelected);

        // Below the rows: cleared, announced, and the hook still runs (for a list menu).
        f.PressBelowRows(Qt::NoModifier, Qt::RightButton);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{});
        QCOMPARE(spy.count(), 2);
        QCOMPARE(f.list.rightPresses.back().row, nullptr);
    }

    void doubleClickRunsThePressThenTheHook()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        QTest::mouseDClick(f.list.viewport(), Qt::LeftButton, {}, f.list.CentreOf(3));
        QCOMPARE(f.list.doubleClicks.size(), size_t(1));
        QCOMPARE(f.list.doubleClicks[0].row, f.rows[3]);
        QVERIFY(f.list.doubleClicks[0].rowSelected);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{3});
    }

    void hotRowFollowsThePointer()
    {
        ProbeList list;
        list.resize(220, 300);
        auto rows = list.AddProbes(3);
        list.AddRow(std::make_unique<ProbeRow>(3, false));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy spy(&list, &RowListBase::Notify);

        MovePointer(list.viewport(), list.CentreOf(0));
        QCOMPARE(list.HotRow(), rows[0]);
        QCOMPARE(CountCode(spy, kNotifyHotRowChanged), 1);
        MovePointer(list.viewport(), list.CentreOf(0) + QPoint(5, 3)); // same row
        QCOMPARE(CountCode(spy, kNotifyHotRowChanged), 1);
        MovePointer(list.viewport(), list.CentreOf(2));
        QCOMPARE(list.HotRow(), rows[2]);
        QCOMPARE(CountCode(spy, kNotifyHotRowChanged), 2);

        // The old and the new hot row are repainted with their new state.
        list.viewport()->grab();
        QVERIFY(rows[2]->lastState.hot);
        QVERIFY(!rows[0]->lastState.hot);

        // Never an unselectable row, never a place below the rows.
        MovePointer(list.viewport(), list.CentreOf(3));
        QCOMPARE(list.HotRow(), nullptr);
        MovePointer(list.viewport(), list.CentreOf(1));
        list.SetHotRow(list.RowAtIndex(3));
        QCOMPARE(list.HotRow(), nullptr);
        MovePointer(list.viewport(), list.CentreOf(1));
        MovePointer(list.viewport(), QPoint(10, 4 * 30 + 40));
        QCOMPARE(list.HotRow(), nullptr);
        QCOMPARE(CountCode(spy, kNotifyHotRowChanged), 4); // losing it is not announced
        QCOMPARE(CountCode(spy, kNotifySelectionChanged), 0);

        // Leaving clears the hot row and repaints it.
        MovePointer(list.viewport(), list.CentreOf(1));
        QCOMPARE(list.HotRow(), rows[1]);
        LeaveViewport(list.viewport());
        QCOMPARE(list.HotRow(), nullptr);
        list.viewport()->grab();
        QVERIFY(!rows[1]->lastState.hot);
    }

    void suspendedHotTrackingKeepsTheHotRow()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        MovePointer(f.list.viewport(), f.list.CentreOf(1));
        f.list.SetHotTrackingSuspended(true);
        MovePointer(f.list.viewport(), f.list.CentreOf(5));
        QCOMPARE(f.list.HotRow(), f.rows[1]);
        f.list.SetHotTrackingSuspended(false);
        MovePointer(f.list.viewport(), f.list.CentreOf(5));
        QCOMPARE(f.list.HotRow(), f.rows[5]);
    }

    void removingTheHotRowForgetsIt()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        MovePointer(f.list.viewport(), f.list.CentreOf(4));
        f.Press(4);
        QVERIFY(f.list.RemoveRow(f.rows[4], false));
        QCOMPARE(f.list.HotRow(), nullptr);
        QCOMPARE(f.list.AnchorRow(), nullptr);
        // The last press is forgotten too: Shift then starts nowhere.
        f.Press(5, Qt::ShiftModifier); // row 6 is now at index 5
        QCOMPARE(SelectedIds(f.list), std::vector<int>{6});
    }

    void ctrlASelectsAllOncePerPress()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        QSignalSpy spy(&f.list, &RowListBase::Notify);
        CtrlA(&f.list, false);
        QCOMPARE(int(SelectedIds(f.list).size()), 8);
        QCOMPARE(spy.count(), 1);

        // Held down: the repeats select nothing again.
        f.Press(0);
        spy.clear();
        CtrlA(&f.list, true);
        CtrlA(&f.list, true);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{0});
        QCOMPARE(spy.count(), 0);

        // Through the real key path as well; a plain A does nothing.
        QTest::keyClick(&f.list, Qt::Key_A);
        QCOMPARE(SelectedIds(f.list), std::vector<int>{0});
        QTest::keyClick(&f.list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(int(SelectedIds(f.list).size()), 8);
        QCOMPARE(spy.count(), 1);

        ProbeList empty;
        QSignalSpy emptySpy(&empty, &RowListBase::Notify);
        CtrlA(&empty, false);
        QCOMPARE(emptySpy.count(), 0);
    }

    void otherKeysPassAndDoNotScroll()
    {
        ProbeList list;
        list.resize(220, 120);
        list.AddProbes(40);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&list, &down);
        QVERIFY(!down.isAccepted());
        QCOMPARE(list.ScrollPosition(), 0);
    }

    void pointerPollingCallsBackOutside()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        f.list.StartPointerPolling(1);
        QCOMPARE(f.list.PointerPollingInterval(), RowListBase::kMinPollIntervalMs);
        QVERIFY(f.list.IsPointerPolling());

        const QPoint inside = f.list.viewport()->mapToGlobal(f.list.CentreOf(2));
        QCursor::setPos(inside);
        if (QCursor::pos() != inside)
            QSKIP("this platform cannot place the pointer");
        MovePointer(f.list.viewport(), f.list.CentreOf(2));
        QTest::qWait(60);
        QCOMPARE(f.list.outsideCalls, 0);
        QCOMPARE(f.list.HotRow(), f.rows[2]);

        QCursor::setPos(f.list.viewport()->mapToGlobal(QPoint(-50, -50)));
        QTRY_VERIFY(f.list.outsideCalls > 0);
        QCOMPARE(f.list.HotRow(), nullptr);

        f.list.StopPointerPolling();
        QVERIFY(!f.list.IsPointerPolling());
        const int calls = f.list.outsideCalls;
        QTest::qWait(50);
        QCOMPARE(f.list.outsideCalls, calls);
    }
};

QTEST_MAIN(RowListMouseTest)
#include "RowListMouseTest.moc"
