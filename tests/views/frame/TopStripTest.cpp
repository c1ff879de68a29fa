#include <QSignalSpy>
#include <QTest>

#include "views/search/VeSearchBoxCtrlBase.h"
#include "views/common/SharedFonts.h"
#include "views/frame/VeTopViewBase.h"
#include "views/frame/WTL_PageStack.h"

using namespace tessary;

class TopStripTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void searchBoxRectangleRule_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QRect>("expected");
        // Wide: a fixed width from right - 316 to right - 4.
        QTest::newRow("wide") << 1600 << 300 << QRect(1600 - 4 - 316, 10, 316, 22);
        // Exactly 315 wide keeps its left edge.
        QTest::newRow("315") << 639 << 300 << QRect(320, 10, 315, 22);
        QTest::newRow("316") << 640 << 300 << QRect(320, 10, 316, 22);
        QTest::newRow("medium") << 600 << 300 << QRect(320, 10, 276, 22);
        // Narrow: at least 100 wide, overlapping whatever lies right of it.
        QTest::newRow("narrow") << 380 << 300 << QRect(320, 10, 100, 22);
        QTest::newRow("tiny") << 50 << 300 << QRect(320, 10, 100, 22);
    }

    void searchBoxRectangleRule()
    {
        QFETCH(int, width);
        QFETCH(int, tabs);
        QFETCH(QRect, expected);
        QCOMPARE(VeTopViewBase::SearchBoxRect(QSize(width, 43), tabs), expected);
    }

    void searchBoxOnlyAwayFromHome()
    {
        WTL_PageStack stack;
        stack.AddPage(new QWidget);
        stack.AddPage(new QWidget);
        stack.SelectPage(0);
        VeTopViewBase strip;
        strip.BindPageStack(&stack);
        strip.Tabs().AddTab(QStringLiteral("Home"), 0, 0, false);
        strip.Tabs().AddTab(QStringLiteral("Album"), 1, 0, false);
        strip.resize(1000, 43);
        strip.show();
        strip.LayOut();
        QSignalSpy changed(&strip, &VeTopViewBase::PageChanged);

        QWidget* box = strip.SearchBox();
        QVERIFY(box);
        QVERIFY(box->isHidden());
        QCOMPARE(strip.Tabs().geometry(), QRect(0, 0, strip.Tabs().GetTotalWidth(), 43));

        QVERIFY(strip.Tabs().Select(1));
        QCOMPARE(stack.ActiveIndex(), 1);
        QCOMPARE(changed.count(), 1);
        QVERIFY(box->isVisible());
        QCOMPARE(box->geometry(), VeTopViewBase::SearchBoxRect(strip.size(), strip.Tabs().GetTotalWidth()));

        strip.resize(300, 43);
        QCOMPARE(box->width(), 100);
        strip.resize(2000, 43);
        QCOMPARE(box->geometry().right(), 2000 - 4 - 1);
        QCOMPARE(box->width(), 316);

        QTest::mouseClick(&strip.Tabs(), Qt::LeftButton, {}, strip.Tabs().GetTabRect(0).center());
        QCOMPARE(stack.ActiveIndex(), 0);
        QVERIFY(box->isHidden());
        QCOMPARE(changed.count(), 2);
    }

    void stackVetoKeepsTheTab()
    {
        WTL_PageStack stack;
        stack.AddPage(new QWidget);
        stack.AddPage(new QWidget);
        stack.SelectPage(0);
        stack.SetChangeGuard([](int, int) { return true; });
        VeTopViewBase strip;
        strip.BindPageStack(&stack);
        strip.Tabs().AddTab(QStringLiteral("Home"), 0, 0, false);
        strip.Tabs().AddTab(QStringLiteral("Album"), 1, 0, false);
        QSignalSpy changed(&strip, &VeTopViewBase::PageChanged);
        QVERIFY(!strip.Tabs().Select(1));
        QCOMPARE(stack.ActiveIndex(), 0);
        QVERIFY(changed.isEmpty());
    }
};

QTEST_MAIN(TopStripTest)
#include "TopStripTest.moc"
