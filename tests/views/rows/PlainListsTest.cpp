// The two plain lists: VeListBox's border, VeFlatList's painting, items, stepping with
// wrap-around, and what it tells its listeners.

#include <QSignalSpy>
#include <QTest>

#include "TestRows.h"
#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"
#include "views/rows/VeFlatList.h"
#include "views/rows/VeListBox.h"

using namespace tessary;
using namespace tessary::test;

namespace {

struct Heard {
    int flags;
    int row;
};

class RecordingListener : public FlatListListener {
public:
    void OnFlatListEvent(VeFlatList& list, int flags, int row) override
    {
        heard.push_back({flags, row});
        texts << list.ItemText(row);
        if (removeSelf)
            list.RemoveListener(this);
    }
    std::vector<Heard> heard;
    QStringList texts;
    bool removeSelf = false;
};

int CountCode(const QSignalSpy& spy, int code)
{
    int n = 0;
    for (const QList<QVariant>& args : spy)
        n += args.at(0).toInt() == code ? 1 : 0;
    return n;
}

bool IsTextPixel(const QColor& c)
{
    // Well darker than both fills.
    return c.red() < 180 && c.green() < 180;
}

// Columns [x0, x1) and rows [y0, y1) of `image` that hold text pixels: the bounding box.
QRect TextBox(const QImage& image, const QRect& within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (IsTextPixel(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class PlainListsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void listBoxHasAOnePixelBorder()
    {
        VeListBox box;
        box.resize(180, 120);
        auto row = std::make_unique<ProbeRow>(0);
        ProbeRow* p = row.get();
        box.AddRow(std::move(row));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QImage image = box.grab().toImage();
        for (const QPoint pt : {QPoint(0, 0), QPoint(90, 0), QPoint(0, 60), QPoint(179, 60),
                                QPoint(90, 119), QPoint(179, 119)})
            QCOMPARE(image.pixelColor(pt), VeListBox::kBorderColor);
        // Inside the border: the row, then the white space below it.
        QCOMPARE(image.pixelColor(1, 1), kPlainColor);
        QCOMPARE(image.pixelColor(1, 40), QColor(Qt::white));
        QCOMPARE(box.viewport()->geometry(), QRect(1, 1, 178, 118));
        QCOMPARE(box.RowRect(p), QRect(0, 0, 178, 30));
    }

    void flatListPaintsItsRows()
    {
        VeFlatList list;
        list.resize(160, 100);
        const QString longText = QStringLiteral("A suggestion far too long to fit in the list");
        list.SetItems({QStringLiteral("beach"), QStringLiteral("mountains"), longText});
        QCOMPARE(list.RowHeight(), VeFlatList::kRowHeight);
        QCOMPARE(list.ItemCount(), 3);
        QCOMPARE(list.Items().at(1), QStringLiteral("mountains"));
        QVERIFY(list.SetSelectedIndex(1));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QImage image = list.viewport()->grab().toImage();
        const int w = image.width();

        // Fills: white, the selected light blue, white again, whole rows.
        QCOMPARE(image.pixelColor(1, 1), VeFlatList::kFill);
        QCOMPARE(image.pixelColor(1, 21), VeFlatList::kSelectedFill);
        QCOMPARE(image.pixelColor(w - 1, 38), VeFlatList::kSelectedFill);
        QCOMPARE(image.pixelColor(2, 50), VeFlatList::kFill);
        QCOMPARE(image.pixelColor(2, 80), QColor(Qt::white)); // below the rows

        for (int i = 0; i < 3; ++i) {
            const QRect rowRect(0, i * 20, w, 20);
            const QRect text = TextBox(image, rowRect);
            QVERIFY2(!text.isEmpty(), qPrintable(QString::number(i)));
            // 5 pixels clear on both sides.
            QVERIFY(text.left() >= VeFlatList::kTextInset);
            QVERIFY(text.right() < w - VeFlatList::kTextInset);
            // Close to the left inset, and vertically centred within a pixel or two.
            QVERIFY(text.left() <= VeFlatList::kTextInset + 2);
            QVERIFY(qAbs(text.center().y() - rowRect.center().y()) <= 2);
        }
        // The long text ends in an ellipsis near the right inset: its last columns hold
        // only dots, a few pixels high, where a cut glyph would stand tall.
        const QRect longBox = TextBox(image, QRect(0, 40, w, 20));
        QVERIFY(longBox.right() >= w - VeFlatList::kTextInset - 16);
        const QRect tail = TextBox(image, QRect(longBox.right() - 9, 40, 10, 20));
        QVERIFY2(tail.height() <= 3, qPrintable(QString::number(tail.height())));
        QVERIFY(tail.width() >= 7);

        // Somewhere the text colour itself is painted (a fully covered glyph pixel).
        bool exact = false;
        for (int y = 0; y < 60 && !exact; ++y)
            for (int x = 0; x < w && !exact; ++x)
                exact = image.pixelColor(x, y) == VeFlatList::kTextColor;
        QVERIFY(exact);

        QCOMPARE(list.grab().toImage().save(QStringLiteral("/tmp/rows_flatlist.png")), true);
    }

    void emptyItemsLeaveAnEmptyList()
    {
        VeFlatList list;
        list.resize(160, 100);
        list.SetItems({QStringLiteral("one"), QStringLiteral("two")});
        QVERIFY(list.SelectNext());
        list.SetItems({});
        QCOMPARE(list.ItemCount(), 0);
        QCOMPARE(list.SelectedIndex(), -1);
        QCOMPARE(list.ScrollRange(), 1);
        QVERIFY(!list.SelectNext());
        QVERIFY(!list.SelectPrevious());
        QVERIFY(list.ItemText(0).isEmpty());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QImage image = list.viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(3, 3), QColor(Qt::white));
        QCOMPARE(image.pixelColor(image.width() / 2, 12), QColor(Qt::white));
    }

    void steppingWrapsAround()
    {
        VeFlatList list;
        list.resize(160, 45); // about two rows in view
        list.SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                       QStringLiteral("d"), QStringLiteral("e")});
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy spy(&list, &RowListBase::Notify);

        QVERIFY(list.SelectNext()); // none selected: the first
        QCOMPARE(list.SelectedIndex(), 0);
        QVERIFY(list.SelectNext());
        QVERIFY(list.SelectNext());
        QVERIFY(list.SelectNext());
        QVERIFY(list.SelectNext());
        QCOMPARE(list.SelectedIndex(), 4);
        // The stepped-to row is scrolled into view.
        QVERIFY(list.viewport()->rect().contains(list.RowRectAt(4)));
        QVERIFY(list.SelectNext()); // past the end: the first again
        QCOMPARE(list.SelectedIndex(), 0);
        QCOMPARE(list.ScrollPosition(), 0);
        QVERIFY(list.SelectPrevious()); // before the start: the last
        QCOMPARE(list.SelectedIndex(), 4);
        QCOMPARE(CountCode(spy, kNotifyCurrentRowChanged), 7);
        QCOMPARE(CountCode(spy, kNotifySelectionChanged), 0);

        list.ClearSelection();
        QCOMPARE(list.SelectedIndex(), -1);
        QVERIFY(list.SelectPrevious()); // none selected: the last
        QCOMPARE(list.SelectedIndex(), 4);

        // Only one row is ever selected by stepping, even after a multiple selection.
        list.SetSelectedIndex(1);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list.RowRectAt(3).center());
        QVERIFY(list.SelectNext());
        QCOMPARE(list.SelectedIndex(), 2);
        QVERIFY(!list.RowAtIndex(3)->IsSelected());

        VeFlatList single;
        single.SetItems({QStringLiteral("only")});
        QSignalSpy singleSpy(&single, &RowListBase::Notify);
        QVERIFY(single.SelectNext());
        QVERIFY(single.SelectNext());
        QVERIFY(single.SelectPrevious());
        QCOMPARE(single.SelectedIndex(), 0);
        QCOMPARE(singleSpy.count(), 1); // moved once; then it stays on the same row
    }

    void choosingARowTellsTheListeners()
    {
        VeFlatList list;
        list.resize(160, 100);
        list.SetItems({QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")});
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        RecordingListener a;
        RecordingListener b;
        list.AddListener(&a);
        list.AddListener(&a); // once only
        list.AddListener(&b);
        QSignalSpy spy(&list, &RowListBase::Notify);

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.RowRectAt(1).center());
        QCOMPARE(a.heard.size(), size_t(1));
        QCOMPARE(a.heard[0].flags, VeFlatList::kFlagRowChosen);
        QCOMPARE(a.heard[0].row, 1);
        QCOMPARE(a.texts, QStringList{QStringLiteral("green")});
        QCOMPARE(b.heard.size(), size_t(1));
        QCOMPARE(CountCode(spy, kNotifySelectionChanged), 1);
        QCOMPARE(CountCode(spy, kNotifyCurrentRowChanged), 1);

        // Pressing the chosen row again chooses it again, but the current row stays.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.RowRectAt(1).center());
        QCOMPARE(a.heard.size(), size_t(2));
        QCOMPARE(CountCode(spy, kNotifyCurrentRowChanged), 1);

        // Toggling it off with Ctrl, or pressing below the rows, chooses nothing.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list.RowRectAt(1).center());
        QCOMPARE(list.SelectedIndex(), -1);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, 90));
        QCOMPARE(a.heard.size(), size_t(2));
        QCOMPARE(CountCode(spy, kNotifyCurrentRowChanged), 2);

        // Stepping is not choosing.
        QVERIFY(list.SelectNext());
        QCOMPARE(a.heard.size(), size_t(2));

        // A listener may leave while it is told; a removed one hears nothing.
        a.removeSelf = true;
        list.RemoveListener(&b);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.RowRectAt(2).center());
        QCOMPARE(a.heard.size(), size_t(3));
        QCOMPARE(a.heard.back().row, 2);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.RowRectAt(0).center());
        QCOMPARE(a.heard.size(), size_t(3));
        QCOMPARE(b.heard.size(), size_t(2));
    }

    void silentSelectionChanges()
    {
        VeFlatList list;
        list.SetItems({QStringLiteral("x"), QStringLiteral("y")});
        QSignalSpy spy(&list, &RowListBase::Notify);
        QVERIFY(list.SetSelectedIndex(1));
        QCOMPARE(list.SelectedIndex(), 1);
        QVERIFY(!list.SetSelectedIndex(2));
        QCOMPARE(list.SelectedIndex(), 1);
        list.ClearSelection();
        QCOMPARE(list.SelectedIndex(), -1);
        QCOMPARE(spy.count(), 0);
    }

    void screenshotOfAListBox()
    {
        VeListBox box;
        box.resize(200, 160);
        for (int i = 0; i < 4; ++i)
            box.AddRow(std::make_unique<ProbeRow>(i));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(20, 15));
        QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(20, 75));
        MovePointer(box.viewport(), QPoint(20, 45));
        const QImage image = box.grab().toImage();
        QCOMPARE(image.pixelColor(10, 16), kSelectedColor);
        QCOMPARE(image.pixelColor(10, 46), kHotColor);
        QCOMPARE(image.pixelColor(10, 76), kSelectedColor);
        QCOMPARE(image.pixelColor(10, 106), kPlainColor);
        QVERIFY(image.save(QStringLiteral("/tmp/rows_listbox.png")));
    }
};

QTEST_MAIN(PlainListsTest)
#include "PlainListsTest.moc"
