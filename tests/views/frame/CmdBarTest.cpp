#include <QFontMetrics>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "FrameTestSupport.h"
#include "views/common/SharedFonts.h"
#include "views/frame/VeCmdBarCtrlBase.h"
#include "views/menus/CommandGlyphs.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuResources.h"

using namespace tessary;

namespace {

int TextWidth(const QString& text)
{
    return QFontMetrics(SharedFonts::Normal()).horizontalAdvance(text);
}

const VeCmdBarCtrlBase::Button& ButtonOf(const VeCmdBarCtrlBase& bar, int id)
{
    const VeCmdBarCtrlBase::Button* button = bar.FindButton(id);
    if (!button)
        qFatal("no button %d", id);
    return *button;
}

bool SameImage(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class CmdBarTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void widthFormula()
    {
        const QFontMetrics m(SharedFonts::Normal());
        const QString caption = QStringLiteral("Add Photos");
        const int tw = m.horizontalAdvance(caption);
        // glyph + caption: 40 + tw + 12 + 9 - 15
        QCOMPARE(VeCmdBarCtrlBase::ButtonWidth(true, caption, false, m), tw + 46);
        // glyph only: 40 - 10 + 6 + 9 - 15
        QCOMPARE(VeCmdBarCtrlBase::ButtonWidth(true, QString(), false, m), 30);
        // caption only: 40 - 20 + tw + 6 + 9 - 15
        QCOMPARE(VeCmdBarCtrlBase::ButtonWidth(false, caption, false, m), tw + 20);
        // drop-downs keep the 15
        QCOMPARE(VeCmdBarCtrlBase::ButtonWidth(true, caption, true, m), tw + 61);
        QCOMPARE(VeCmdBarCtrlBase::ButtonWidth(false, QString(), true, m), 19);
        // nothing at all: the start value less 30, unchanged
        QCOMPARE(VeCmdBarCtrlBase::ButtonWidth(false, QString(), false, m), 10);
    }

    void buttonsFromTheMenu()
    {
        VeCmdBarCtrlBase bar(kMenuCmdBar);
        const auto& buttons = bar.Buttons();
        QCOMPARE(int(buttons.size()), 7);
        const std::vector<int> order = {cmd::kCloseAlbum,   cmd::kAddPhotos,    cmd::kDeleteSelectedPhotos,
                                        cmd::kHideSearchResults, cmd::kTellAFriend, cmd::kVisitWebsite,
                                        cmd::kShowOnlineHelp};
        for (size_t i = 0; i < order.size(); ++i) {
            QCOMPARE(buttons[i].commandId, order[i]);
            QCOMPARE(buttons[i].leftGroup, i < 4);
        }
        // The last two carry no caption, their menu text is the tooltip.
        QCOMPARE(buttons[5].caption, QString());
        QCOMPARE(buttons[5].tooltip, QStringLiteral("Visit Tessary Website"));
        QCOMPARE(buttons[6].tooltip, QStringLiteral("Show Online Help"));
        QCOMPARE(buttons[4].caption, QStringLiteral("Tell a Friend"));
        QCOMPARE(buttons[4].tooltip, QString());
        for (const auto& b : buttons)
            for (const QImage& image : b.images)
                QCOMPARE(image.size(), QSize(b.rect.width(), 27));
    }

    void placement()
    {
        VeCmdBarCtrlBase bar(kMenuCmdBar);
        bar.resize(900, 31);
        bar.show();
        const auto& close = ButtonOf(bar, cmd::kCloseAlbum);
        const auto& add = ButtonOf(bar, cmd::kAddPhotos);
        const auto& help = ButtonOf(bar, cmd::kShowOnlineHelp);
        const auto& web = ButtonOf(bar, cmd::kVisitWebsite);
        const auto& tell = ButtonOf(bar, cmd::kTellAFriend);
        const bool glyphs = !CommandGlyph(cmd::kCloseAlbum).isNull();
        const int glyphWidth = glyphs ? 46 : 20;
        QCOMPARE(close.rect, QRect(10, 1, TextWidth(QStringLiteral("Close Album")) + glyphWidth, 27));
        QCOMPARE(add.rect.left(), close.rect.right() + 1 + 2);
        QCOMPARE(help.rect.right() + 1, 900 - 10);
        QCOMPARE(web.rect.right() + 1 + 2, help.rect.left());
        QCOMPARE(tell.rect.right() + 1 + 2, web.rect.left());
        if (glyphs)
            QCOMPARE(help.rect.width(), 30);

        // Hidden until search results are shown; the left group closes up around it.
        const auto& hide = ButtonOf(bar, cmd::kHideSearchResults);
        const auto& del = ButtonOf(bar, cmd::kDeleteSelectedPhotos);
        QVERIFY(!hide.visible);
        bar.SetSearchState(true);
        QVERIFY(hide.visible);
        QCOMPARE(hide.rect.left(), del.rect.right() + 1 + 2);
        QCOMPARE(bar.ButtonAt(hide.rect.center()), 3);

        // Too narrow: the right group is never pulled left over the left group.
        bar.resize(200, 31);
        QCOMPARE(tell.rect.left(), hide.rect.right() + 1 + 2);
    }

    void tooltipsOnIconButtonsOnly()
    {
        VeCmdBarCtrlBase bar(kMenuCmdBar);
        bar.resize(900, 31);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QPoint onHelp = ButtonOf(bar, cmd::kShowOnlineHelp).rect.center();
        QCOMPARE(bar.ToolTipAt(onHelp), QStringLiteral("Show Online Help"));
        QCOMPARE(bar.ToolTipAt(ButtonOf(bar, cmd::kVisitWebsite).rect.center()), QStringLiteral("Visit Tessary Website"));
        QCOMPARE(bar.ToolTipAt(ButtonOf(bar, cmd::kTellAFriend).rect.center()), QString());
        QCOMPARE(bar.ToolTipAt(QPoint(5, 5)), QString());

        QHelpEvent help(QEvent::ToolTip, onHelp, bar.mapToGlobal(onHelp));
        QCoreApplication::sendEvent(&bar, &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Show Online Help"));
    }

    void clicksRouteCommands()
    {
        QWidget window;
        auto* bar = new VeCmdBarCtrlBase(kMenuCmdBar, &window);
        test::CommandRecorder frame, itemList, albumView;
        bar->SetFrameTarget(&frame);
        bar->SetItemListTarget(&itemList);
        bar->SetAlbumViewTarget(&albumView);
        bar->SetSearchState(true);
        bar->resize(900, 31);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int id : {cmd::kCloseAlbum, cmd::kAddPhotos, cmd::kDeleteSelectedPhotos, cmd::kHideSearchResults,
                       cmd::kTellAFriend, cmd::kVisitWebsite, cmd::kShowOnlineHelp}) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, ButtonOf(*bar, id).rect.center());
            test::DeliverPosted();
        }
        QCOMPARE(frame.ids, (std::vector<int>{cmd::kFileClose, cmd::kTellAFriend, cmd::kVisitWebsite,
                                              cmd::kShowOnlineHelp}));
        QCOMPARE(itemList.ids, (std::vector<int>{cmd::kAddPhotos, cmd::kDelete}));
        QCOMPARE(albumView.ids, std::vector<int>{cmd::kHideSearchResults});
    }

    void pressAndReleaseMustMeet()
    {
        QWidget window;
        auto* bar = new VeCmdBarCtrlBase(kMenuCmdBar, &window);
        test::CommandRecorder frame;
        bar->SetFrameTarget(&frame);
        bar->resize(900, 31);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect close = ButtonOf(*bar, cmd::kCloseAlbum).rect;
        const QRect add = ButtonOf(*bar, cmd::kAddPhotos).rect;

        QTest::mouseMove(bar, close.center());
        QTRY_COMPARE(bar->HotButton(), 0);
        QTest::mousePress(bar, Qt::LeftButton, {}, close.center());
        QCOMPARE(bar->PressedButton(), 0);
        // Released over another button: nothing is sent.
        QTest::mouseRelease(bar, Qt::LeftButton, {}, add.center());
        test::DeliverPosted();
        QVERIFY(frame.ids.empty());
        QCOMPARE(bar->PressedButton(), -1);
        // Released on empty bar space after a press there: nothing either.
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(600, 15));
        test::DeliverPosted();
        QVERIFY(frame.ids.empty());

        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(bar, &leave);
        QCOMPARE(bar->HotButton(), -1);
    }

    void hotAndPressedImagesArePainted()
    {
        VeCmdBarCtrlBase bar(kMenuCmdBar);
        bar.resize(900, 31);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const auto& close = ButtonOf(bar, cmd::kCloseAlbum);
        QVERIFY(SameImage(bar.grab().toImage().copy(close.rect), close.images[0]));
        // From elsewhere, so that the pointer really moves even when an earlier case left it there.
        QTest::mouseMove(&bar, QPoint(700, 5));
        QTest::mouseMove(&bar, close.rect.center());
        QTRY_COMPARE(bar.HotButton(), 0);
        QVERIFY(SameImage(bar.grab().toImage().copy(close.rect), close.images[1]));
        QVERIFY(close.images[1] != close.images[0]);
        QVERIFY(close.images[2] != close.images[1]);
    }
};

QTEST_MAIN(CmdBarTest)
#include "CmdBarTest.moc"
