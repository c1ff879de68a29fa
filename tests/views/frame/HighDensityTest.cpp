// At 200 % (QT_SCALE_FACTOR=2) the parts drawn from artwork keep their logical sizes and are
// painted in device pixels: their glyphs come from the twice-size artwork and their captions
// are drawn at the device's resolution, not blown up from a 1x picture.
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QTest>

#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/frame/VeCmdBarCtrlBase.h"
#include "views/frame/VeTabCtrl.h"
#include "views/home/HomeButton.h"
#include "views/home/HomePanel.h"
#include "views/home/VeHomeNaviCtrl.h"
#include "views/home/VeHyperLinkCtrl.h"
#include "views/menus/CommandGlyphs.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/menus/MenuResources.h"

using namespace tessary;

namespace {

// The share of the 2 x 2 device-pixel blocks of `logical` (in the grab's logical
// coordinates) whose pixels are not all equal. A 1x picture blown up to 2x has none.
double FineBlocks(const QPixmap& grab, const QRect& logical)
{
    const QImage image = grab.toImage().convertToFormat(QImage::Format_RGB32);
    const int scale = int(grab.devicePixelRatio());
    int blocks = 0;
    int fine = 0;
    for (int y = logical.top(); y <= logical.bottom(); ++y) {
        for (int x = logical.left(); x <= logical.right(); ++x) {
            const int px = x * scale;
            const int py = y * scale;
            if (px + 1 >= image.width() || py + 1 >= image.height())
                continue;
            const QRgb c = image.pixel(px, py);
            ++blocks;
            fine += image.pixel(px + 1, py) != c || image.pixel(px, py + 1) != c || image.pixel(px + 1, py + 1) != c;
        }
    }
    return blocks ? double(fine) / blocks : 0.0;
}

} // namespace

class HighDensityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        RegisterInterfaceFonts();
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    }

    void theArtworkHasTwiceSizeVariantsAndOneXStaysTheDefault()
    {
        const QImage& once = ResourceImage(kIdbCommandGlyphs);
        const QImage& twice = ResourceImageFor(kIdbCommandGlyphs, 2.0);
        QCOMPARE(twice.devicePixelRatio(), 2.0);
        QCOMPARE(twice.size(), once.size() * 2);
        QCOMPARE(twice.deviceIndependentSize().toSize(), once.size());
        QCOMPARE(&ResourceImageFor(kIdbCommandGlyphs, 1.0), &once);
        // Artwork without a variant falls back to the 1x image.
        QCOMPARE(&ResourceImageFor(kIdbCmdBarFace, 2.0), &ResourceImage(kIdbCmdBarFace));

        const QImage glyph = CommandGlyph(cmd::kAdd, 2.0);
        QCOMPARE(glyph.size(), QSize(32, 32));
        QCOMPARE(glyph.devicePixelRatio(), 2.0);
        QCOMPARE(CommandGlyph(cmd::kAdd).size(), QSize(16, 16));
    }

    void theCommandBarPaintsCaptionsAndGlyphsInDevicePixels()
    {
        VeCmdBarCtrlBase bar(kMenuCmdBar);
        bar.resize(900, VeCmdBarCtrlBase::kBarHeight);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const VeCmdBarCtrlBase::Button* close = bar.FindButton(cmd::kCloseAlbum);
        QVERIFY(close);
        QCOMPARE(close->rect.height(), VeCmdBarCtrlBase::kButtonHeight);
        QCOMPARE(close->images[0].devicePixelRatio(), 2.0);
        QCOMPARE(close->images[0].deviceIndependentSize().toSize(), close->rect.size());
        const QPixmap grab = bar.grab();
        QCOMPARE(grab.devicePixelRatio(), 2.0);
        QVERIFY2(FineBlocks(grab, close->rect) > 0.05, qPrintable(QString::number(FineBlocks(grab, close->rect))));
    }

    void tabIconsHomeButtonsAndLinksUseTheFineArtwork()
    {
        VeTabCtrl tabs;
        tabs.resize(400, 43);
        tabs.AddTab(QStringLiteral("Home"), 0, kIdbTabHome, false);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        const QRect tab = tabs.GetTabRect(0);
        const QRect icon(tab.left() + VeTabCtrl::kImageX, tab.top() + (tab.height() - VeTabCtrl::kImageSize) / 2,
                         VeTabCtrl::kImageSize, VeTabCtrl::kImageSize);
        QVERIFY(FineBlocks(tabs.grab(), icon) > 0.1);

        HomePanel panel;
        panel.resize(800, 600);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        HomeButton* button = panel.Button(0);
        // The picture left of the caption.
        const QRect picture(button->x() + 4, button->y() + 4, 48, button->height() - 8);
        QVERIFY(FineBlocks(panel.grab(), picture) > 0.1);

        VeHomeNaviCtrl navi;
        navi.resize(200, 300);
        navi.show();
        QVERIFY(QTest::qWaitForWindowExposed(&navi));
        const VeHyperLinkCtrl* link = navi.Link(0);
        QCOMPARE(link->size(), link->sizeHint());
        QCOMPARE(link->height(), std::max(ResourceImage(kIdbNaviWebsite).height(), QFontMetrics(SharedFonts::Normal()).height()));
        const QRect glyph(link->pos(), ResourceImage(kIdbNaviWebsite).size());
        QVERIFY(FineBlocks(navi.grab(), glyph) > 0.1);
    }

    void menuIconsCarryTheTwiceSizeGlyph()
    {
        QMenu menu;
        FillMenu(menu, MenuResource(kMenuCollectionsContext).items);
        const QAction* add = nullptr;
        for (const QAction* action : menu.actions())
            if (!action->icon().isNull() && !add)
                add = action;
        QVERIFY(add);
        const QPixmap pixmap = add->icon().pixmap(QSize(16, 16), 2.0);
        QCOMPARE(pixmap.size(), QSize(32, 32));
        const QImage twice = CommandGlyph(add->data().toInt(), 2.0);
        QVERIFY(!twice.isNull());
        QCOMPARE(pixmap.toImage().convertToFormat(QImage::Format_ARGB32), twice.convertToFormat(QImage::Format_ARGB32));
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighDensityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HighDensityTest.moc"
