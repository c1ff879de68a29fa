#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

#include "imaging/DibImage.h"
#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"
#include "views/frame/VeTabCtrl.h"

using namespace tessary;

namespace {

// An owner that records what it is asked and refuses on request.
class TestOwner : public TabOwner {
public:
    int selected = -1;
    bool refuse = false;
    int asked = 0;
    int SelectedTab() const override { return selected; }
    bool SwitchToTab(int index) override
    {
        ++asked;
        if (refuse)
            return false;
        selected = index;
        return true;
    }
};

DibImage Uniform(int w, int h, uint8_t value)
{
    DibImage image;
    image.Create(w, h, 24);
    image.Clear(DibColor::Rgb(value, value, value));
    return image;
}

int Channel(const DibImage& image, int x, int y)
{
    return image.Row(y)[3 * x];
}

int CaptionWidth(const QString& text)
{
    return QFontMetrics(SharedFonts::LargeBold()).horizontalAdvance(text);
}

} // namespace

class TabCtrlTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void layoutFollowsCaptionWidths()
    {
        VeTabCtrl tabs;
        tabs.resize(600, 43);
        tabs.AddTab(QStringLiteral("Home"), 0, 0, false);
        tabs.AddTab(QStringLiteral("A longer caption"), 1, 0, false);
        tabs.AddTab(QStringLiteral("Gone"), 2, 0, true);
        const int w0 = CaptionWidth(QStringLiteral("Home")) + 67;
        const int w1 = CaptionWidth(QStringLiteral("A longer caption")) + 67;
        QCOMPARE(tabs.GetTabRect(0), QRect(15, 0, w0, 43));
        QCOMPARE(tabs.GetTabRect(1), QRect(15 + w0, 0, w1, 43));
        QCOMPARE(tabs.GetTabRect(2).width(), 0);
        QCOMPARE(tabs.GetTotalWidth(), 15 + w0 + w1);
        QVERIFY(!tabs.GetTabRect(3).isValid());

        QCOMPARE(tabs.HitTest(QPoint(14, 10)), -1);
        QCOMPARE(tabs.HitTest(QPoint(15, 10)), 0);
        QCOMPARE(tabs.HitTest(QPoint(15 + w0 - 1, 42)), 0);
        QCOMPARE(tabs.HitTest(QPoint(15 + w0, 0)), 1);
        QCOMPARE(tabs.HitTest(QPoint(15 + w0 + w1, 10)), -1);

        // Showing the hidden tab gives it room after the others.
        QVERIFY(tabs.SetHidden(2, false));
        QCOMPARE(tabs.GetTabRect(2).left(), 15 + w0 + w1);
        QCOMPARE(tabs.HitTest(QPoint(15 + w0 + w1, 10)), 2);
        QVERIFY(!tabs.SetHidden(7, false));
    }

    void allHiddenStripIsEmpty()
    {
        VeTabCtrl tabs;
        tabs.resize(300, 43);
        tabs.AddTab(QStringLiteral("Home"), 0, 0, true);
        tabs.AddTab(QStringLiteral("Album"), 1, 0, true);
        QCOMPARE(tabs.GetTotalWidth(), 15);
        for (int x = 0; x < 300; x += 5)
            QCOMPARE(tabs.HitTest(QPoint(x, 20)), -1);
    }

    void selectAsksTheOwner()
    {
        VeTabCtrl tabs;
        TestOwner owner;
        owner.selected = 0;
        tabs.SetOwner(&owner);
        tabs.resize(500, 43);
        tabs.AddTab(QStringLiteral("Home"), 0, 0, false);
        tabs.AddTab(QStringLiteral("Album"), 1, 0, false);
        tabs.AddTab(QStringLiteral("Hidden"), 2, 0, true);
        tabs.show();
        QSignalSpy notify(&tabs, &VeTabCtrl::Notify);

        // Clicking the selected tab does nothing, not even ask.
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.GetTabRect(0).center());
        QCOMPARE(owner.asked, 0);
        QCOMPARE(notify.count(), 0);

        // A refusal changes nothing.
        owner.refuse = true;
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.GetTabRect(1).center());
        QCOMPARE(owner.asked, 1);
        QCOMPARE(owner.selected, 0);
        QCOMPARE(notify.count(), 0);

        owner.refuse = false;
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.GetTabRect(1).center());
        QCOMPARE(owner.selected, 1);
        QCOMPARE(notify.count(), 1);
        QCOMPARE(notify.at(0).at(0).toInt(), kNotifySelChange);

        // Right button, hidden and unknown tabs select nothing.
        QTest::mouseClick(&tabs, Qt::RightButton, {}, tabs.GetTabRect(0).center());
        QVERIFY(!tabs.Select(2));
        QVERIFY(!tabs.Select(5));
        QCOMPARE(owner.selected, 1);
        // Selecting the selected tab by program succeeds quietly.
        QVERIFY(tabs.Select(1));
        QCOMPARE(notify.count(), 1);
    }

    void hotTabFollowsTheMouse()
    {
        VeTabCtrl tabs;
        tabs.resize(500, 43);
        tabs.AddTab(QStringLiteral("Home"), 0, 0, false);
        tabs.AddTab(QStringLiteral("Album"), 1, 0, false);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QTest::mouseMove(&tabs, tabs.GetTabRect(1).center());
        QTRY_COMPARE(tabs.HotTab(), 1);
        QCOMPARE(tabs.cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(&tabs, QPoint(tabs.GetTotalWidth() + 20, 10));
        QTRY_COMPARE(tabs.HotTab(), -1);
        QCOMPARE(tabs.cursor().shape(), Qt::ArrowCursor);
        QTest::mouseMove(&tabs, tabs.GetTabRect(0).center());
        QTRY_COMPARE(tabs.HotTab(), 0);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&tabs, &leave);
        QCOMPARE(tabs.HotTab(), -1);
    }

    // Expected values worked out by hand from the weights for a 43-row buffer.
    void selectionShadingWeights()
    {
        DibImage image = Uniform(10, 43, 100);
        ApplyTabSelectionShading(image);
        QCOMPARE(Channel(image, 4, 0), 100);  // row 0 untouched
        QCOMPARE(Channel(image, 4, 20), 129); // w = 400 * 230 / 1849 = 49
        QCOMPARE(Channel(image, 0, 20), 105); // w = 400 * 220 / 1849 = 47, toward 128
        QCOMPARE(Channel(image, 9, 20), 105);
        QCOMPARE(Channel(image, 4, 42), 180); // last row: w = 1764 * 140 / 1849 = 133
        QCOMPARE(Channel(image, 0, 42), 115); // last row edge: w = 1764 * 150 / 1849 = 143

        // Toward grey from a lighter colour moves down, truncating toward the old value.
        DibImage light = Uniform(10, 43, 200);
        ApplyTabSelectionShading(light);
        QCOMPARE(Channel(light, 0, 42), 160); // 200 + 143 * -72 / 256 = 200 - 40
        QCOMPARE(Channel(light, 9, 42), 160);
        QCOMPARE(Channel(light, 5, 42), 228); // 200 + 133 * 55 / 256 = 200 + 28
    }

    void hoverShadingWeights()
    {
        DibImage image = Uniform(6, 43, 100);
        ApplyTabHoverShading(image);
        QCOMPARE(Channel(image, 0, 0), 100);
        QCOMPARE(Channel(image, 0, 20), 116); // w = 400 * 128 / 1849 = 27, every column
        QCOMPARE(Channel(image, 5, 20), 116);
        QCOMPARE(Channel(image, 3, 41), 170); // w = 1681 * 128 / 1849 = 116
        QCOMPARE(Channel(image, 3, 42), 100); // the last row stays
    }

    void paintedTabsShowTheirState()
    {
        VeTabCtrl tabs;
        TestOwner owner;
        owner.selected = 1;
        tabs.SetOwner(&owner);
        tabs.resize(500, 43);
        tabs.AddTab(QStringLiteral("Home"), 0, 0, false);
        tabs.AddTab(QStringLiteral("Album"), 1, 0, false);
        const QImage shot = tabs.grab().toImage();
        // The painted buffers are the rendered ones: compare a column left of the captions.
        const QImage selected = tabs.RenderTabBuffer(1, true, false);
        const QImage plain = tabs.RenderTabBuffer(0, false, false);
        const QRect r1 = tabs.GetTabRect(1);
        const QRect r0 = tabs.GetTabRect(0);
        for (int y = 0; y < 43; y += 6) {
            QCOMPARE(shot.pixelColor(r1.left() + 3, y), selected.pixelColor(3, y));
            QCOMPARE(shot.pixelColor(r0.left() + 3, y), plain.pixelColor(3, y));
        }
        // Selected tabs grow lighter toward the bottom; plain ones keep the background.
        QVERIFY(selected.pixelColor(3, 41).lightness() > plain.pixelColor(3, 41).lightness());
        // A caption pixel of the selected tab in its colour family (darker than the shading).
        bool darkText = false;
        for (int x = r1.left() + 8; x < r1.right() && !darkText; ++x)
            for (int y = 10; y < 33 && !darkText; ++y)
                darkText = shot.pixelColor(x, y).lightness() < 130;
        QVERIFY(darkText);
    }
};

QTEST_MAIN(TabCtrlTest)
#include "TabCtrlTest.moc"
