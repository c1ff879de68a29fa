#include <QEnterEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <QToolTip>

#include "views/common/CommandEvent.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/common/WebPages.h"
#include "views/frame/FrameTestSupport.h"
#include "views/home/HomeButton.h"
#include "views/home/HomePanel.h"
#include "views/home/VeHomeNaviCtrl.h"
#include "views/home/VeHomeView.h"
#include "views/home/VeHyperLinkCtrl.h"
#include "views/menus/CommandIds.h"

using namespace tessary;
using test::DeliverPosted;

namespace {

// A top-level window that records the commands posted to it, as the main frame would run them.
class RecordingWindow : public QWidget {
public:
    std::vector<int> ids;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == kCommandEventType) {
            ids.push_back(static_cast<CommandEvent*>(e)->CommandId());
            return true;
        }
        return QWidget::event(e);
    }
};

struct Shown {
    RecordingWindow window;
    VeHomeView* view;

    explicit Shown(QSize size = QSize(920, 597)) : view(new VeHomeView(&window))
    {
        window.resize(size);
        view->setGeometry(QRect(QPoint(), size));
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("window not exposed");
    }
    VeHyperLinkCtrl* Link(int i) const { return view->Navi()->Link(i); }
    HomePanel* Panel() const { return view->Panel(); }
};

void Enter(QWidget* w)
{
    const QPointF inside(w->width() / 2.0, w->height() / 2.0);
    QEnterEvent enter(inside, w->mapToGlobal(inside), w->mapToGlobal(inside));
    QCoreApplication::sendEvent(w, &enter);
}

void Leave(QWidget* w)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(w, &leave);
}

int CountColour(const QImage& image, QColor colour)
{
    const QRgb wanted = colour.rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == wanted;
    return n;
}

// A shown window around a widget, so that resizing the widget lays it out at once.
template <typename W>
struct Hosted {
    QWidget host;
    W* widget;
    Hosted() : widget(new W(&host))
    {
        host.resize(200, 200);
        host.show();
        if (!QTest::qWaitForWindowExposed(&host))
            qFatal("window not exposed");
    }
};

QImage Grab(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class HomeViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterInterfaceFonts(); }
    void cleanup() { SetWebPageOpener({}); }

    void columnAndPanelFollowTheViewSize()
    {
        Hosted<VeHomeView> hosted;
        VeHomeView& view = *hosted.widget;
        for (const QSize size : {QSize(920, 597), QSize(1600, 1100), QSize(260, 80), QSize(120, 40)}) {
            view.resize(size);
            QCOMPARE(view.Navi()->geometry(), QRect(0, 0, 200, size.height()));
            QCOMPARE(view.Panel()->geometry(), QRect(200, 0, std::max(0, size.width() - 200), size.height()));
        }
    }

    void linksTakeCaptionsGlyphsAndSizes()
    {
        VeHomeNaviCtrl navi;
        const QStringList captions = {"Orvanne Website", "Online Help", "Contact Us", "About"};
        const std::vector<int> glyphs = {kIdbNaviWebsite, kIdbNaviHelp, kIdbNaviContact, kIdbNaviAbout};
        const QFontMetrics metrics(SharedFonts::Normal());
        int previousBottom = 0;
        for (int i = 0; i < VeHomeNaviCtrl::kLinkCount; ++i) {
            const VeHyperLinkCtrl* link = navi.Link(i);
            QCOMPARE(link->Caption(), captions[i]);
            const QSize glyph = ResourceImage(glyphs[size_t(i)]).size();
            QVERIFY(!glyph.isEmpty());
            const QSize expected(glyph.width() + 8 + metrics.horizontalAdvance(captions[i]),
                                 std::max(glyph.height(), metrics.height()));
            QCOMPARE(link->size(), expected);
            // Stacked top to bottom, clear of each other and inside the column.
            QVERIFY(link->y() >= previousBottom);
            QVERIFY(link->geometry().right() < VeHomeView::kNaviWidth);
            previousBottom = link->geometry().bottom() + 1;
        }
        // The rule itself, with a glyph taller and one shorter than the text.
        QCOMPARE(VeHyperLinkCtrl::SizeFor(QSize(40, 40), "ab", metrics),
                 QSize(48 + metrics.horizontalAdvance("ab"), 40));
        QCOMPARE(VeHyperLinkCtrl::SizeFor(QSize(4, 2), "ab", metrics),
                 QSize(12 + metrics.horizontalAdvance("ab"), metrics.height()));
        VeHyperLinkCtrl bare;
        bare.SetCaption("Some text");
        QCOMPARE(bare.size(), QSize(8 + metrics.horizontalAdvance("Some text"), metrics.height()));
    }

    void hoverSwitchesFontAndColour()
    {
        Shown shown;
        VeHyperLinkCtrl* link = shown.Link(VeHomeNaviCtrl::kHelpLink);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!link->IsHot());
        const QImage normal = Grab(link);
        QCOMPARE(CountColour(normal, VeHyperLinkCtrl::kHotColor), 0);
        QVERIFY(!link->CaptionFont().underline());

        Enter(link);
        QVERIFY(link->IsHot());
        QCOMPARE(link->CaptionColor(), VeHyperLinkCtrl::kHotColor);
        QVERIFY(link->CaptionFont().underline());
        const QImage hot = Grab(link);
        // The underline is a solid run of the hover colour under most of the caption.
        const int captionWidth = QFontMetrics(SharedFonts::Link()).horizontalAdvance(link->Caption());
        QVERIFY2(CountColour(hot, VeHyperLinkCtrl::kHotColor) >= captionWidth * 3 / 4,
                 qPrintable(QString::number(CountColour(hot, VeHyperLinkCtrl::kHotColor))));
        // The glyph does not change.
        QCOMPARE(hot.copy(0, 0, 24, link->height()), normal.copy(0, 0, 24, link->height()));

        Leave(link);
        QVERIFY(!link->IsHot());
        QCOMPARE(Grab(link), normal);

        // Moving within the column onto the link and off it again.
        QTest::mouseMove(link, QPoint(5, link->height() / 2));
        QTRY_VERIFY(link->IsHot());
        QTest::mouseMove(shown.view->Navi(), QPoint(190, 500));
        QTRY_VERIFY(!link->IsHot());
    }

    void linksShowTheirTooltips()
    {
        Shown shown;
        const QStringList tips = {"Visit Orvanne website", "Display online help information for Tessary",
                                  "Ask questions or send your comments and suggestions",
                                  "Display program information, version number and copyright"};
        for (int i = 0; i < VeHomeNaviCtrl::kLinkCount; ++i) {
            VeHyperLinkCtrl* link = shown.Link(i);
            QCOMPARE(link->toolTip(), tips[i]);
            const QPoint at(4, 4);
            QHelpEvent help(QEvent::ToolTip, at, link->mapToGlobal(at));
            QCoreApplication::sendEvent(link, &help);
            QTRY_COMPARE(QToolTip::text(), tips[i]);
            QToolTip::hideText();
        }
    }

    void clickingALinkOpensItsPageOrPostsAbout()
    {
        Shown shown;
        std::vector<QUrl> opened;
        SetWebPageOpener([&](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
        for (int i = 0; i < VeHomeNaviCtrl::kLinkCount; ++i)
            QTest::mouseClick(shown.Link(i), Qt::LeftButton, {}, QPoint(10, 10));
        DeliverPosted();
        const std::vector<QUrl> pages = {WebPageUrl(WebPage::MakerHome), WebPageUrl(WebPage::OnlineHelp),
                                         WebPageUrl(WebPage::Contact)};
        QCOMPARE(opened, pages);
        QCOMPARE(shown.window.ids, std::vector<int>{cmd::kAppAbout});

        // Pressed on a link and let go elsewhere: nothing.
        VeHyperLinkCtrl* about = shown.Link(VeHomeNaviCtrl::kAboutLink);
        QTest::mousePress(about, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(shown.view->Navi(), Qt::LeftButton, {}, QPoint(100, 400));
        QTest::mousePress(shown.Link(0), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(shown.Link(0), Qt::LeftButton, {}, QPoint(-20, 10));
        DeliverPosted();
        QCOMPARE(opened.size(), size_t(3));
        QCOMPARE(shown.window.ids.size(), size_t(1));
    }

    void panelButtonsPostTheirCommands()
    {
        Shown shown;
        HomePanel* panel = shown.Panel();
        const std::vector<std::pair<int, int>> expected = {{HomePanel::kIdNewAlbum, cmd::kFileNew},
                                                           {HomePanel::kIdOpenAlbum, cmd::kFileOpen},
                                                           {HomePanel::kIdTutorials, cmd::kViewOnlineTutorials},
                                                           {HomePanel::kIdDonate, cmd::kDonate}};
        const QStringList captions = {"Create a New Album", "Open an Existing Album", "View Online Tutorials",
                                      "Make a Donation"};
        std::vector<int> wanted;
        for (int i = 0; i < HomePanel::kButtonCount; ++i) {
            HomeButton* button = panel->Button(i);
            QCOMPARE(button->ControlId(), expected[size_t(i)].first);
            QCOMPARE(button->Caption(), captions[i]);
            QCOMPARE(panel->ButtonById(expected[size_t(i)].first), button);
            QCOMPARE(button->size(), QSize(350, 52));
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(175, 26));
            wanted.push_back(expected[size_t(i)].second);
        }
        QVERIFY(shown.window.ids.empty()); // posted, not sent
        DeliverPosted();
        QCOMPARE(shown.window.ids, wanted);
        QCOMPARE(panel->ButtonById(1004), nullptr);
    }

    void buttonFacesFollowTheMouse()
    {
        Shown shown;
        HomeButton* button = shown.Panel()->Button(0);
        // The three faces are the strip's thirds.
        const QImage& strip = ResourceImage(kIdbHomeButtonNewAlbum);
        for (int s = 0; s < 3; ++s)
            QCOMPARE(button->Face(HomeButton::State(s)),
                     strip.copy(s * 350, 0, 350, 52).convertToFormat(QImage::Format_RGB32));
        QVERIFY(button->Face(HomeButton::kNormal) != button->Face(HomeButton::kHot));
        QVERIFY(button->Face(HomeButton::kHot) != button->Face(HomeButton::kPressed));

        // A pixel of the face outside the text: top right, inside the border.
        const QPoint probe(340, 4);
        auto shownFace = [&] { return Grab(button).pixel(probe); };
        auto face = [&](HomeButton::State s) { return button->Face(s).pixel(probe); };
        QCOMPARE(shownFace(), face(HomeButton::kNormal));
        Enter(button);
        QCOMPARE(button->CurrentState(), HomeButton::kHot);
        QCOMPARE(shownFace(), face(HomeButton::kHot));
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(100, 20));
        QCOMPARE(button->CurrentState(), HomeButton::kPressed);
        QCOMPARE(shownFace(), face(HomeButton::kPressed));
        // Dragged off while held: no longer pressed; back on: pressed again.
        QTest::mouseMove(button, QPoint(100, 80));
        QTRY_COMPARE(button->CurrentState(), HomeButton::kNormal);
        QTest::mouseMove(button, QPoint(100, 20));
        QTRY_COMPARE(button->CurrentState(), HomeButton::kPressed);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(100, 20));
        QCOMPARE(button->CurrentState(), HomeButton::kHot);
        Leave(button);
        QCOMPARE(button->CurrentState(), HomeButton::kNormal);
    }

    void pressOnOneButtonReleaseOnAnotherPostsNothing()
    {
        Shown shown;
        HomePanel* panel = shown.Panel();
        HomeButton* first = panel->Button(0);
        HomeButton* second = panel->Button(1);
        // The pressed button keeps the mouse: moves and the release come to it, off its rectangle.
        const QPoint onSecond = second->mapTo(panel, QPoint(175, 26)) - first->pos();
        QTest::mousePress(first, Qt::LeftButton, {}, QPoint(175, 26));
        QCOMPARE(first->CurrentState(), HomeButton::kPressed);
        QTest::mouseMove(first, onSecond);
        QTRY_VERIFY(first->CurrentState() != HomeButton::kPressed);
        QTest::mouseRelease(first, Qt::LeftButton, {}, onSecond);
        // A release that reaches the other button without its press does nothing either.
        QTest::mouseRelease(second, Qt::LeftButton, {}, QPoint(175, 26));
        DeliverPosted();
        QVERIFY(shown.window.ids.empty());
        QCOMPARE(first->CurrentState(), HomeButton::kNormal);
        QVERIFY(second->CurrentState() != HomeButton::kPressed);
        // The next plain click still works.
        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(175, 26));
        DeliverPosted();
        QCOMPARE(shown.window.ids, std::vector<int>{cmd::kFileOpen});
    }

    void hiddenPageForgetsHoverAndPress()
    {
        Shown shown;
        VeHyperLinkCtrl* link = shown.Link(VeHomeNaviCtrl::kContactLink);
        HomeButton* button = shown.Panel()->Button(3);
        Enter(link);
        Enter(button);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(175, 26));
        QCOMPARE(button->CurrentState(), HomeButton::kPressed);
        // The album page takes over, then the home page comes back.
        shown.view->hide();
        shown.view->show();
        QVERIFY(!link->IsHot());
        QCOMPARE(button->CurrentState(), HomeButton::kNormal);
        // The press was dropped with the page: a late release does not click.
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(175, 26));
        DeliverPosted();
        QVERIFY(shown.window.ids.empty());
    }

    void separatorAndFooterFollowTheBottom()
    {
        Hosted<HomePanel> hosted;
        HomePanel& panel = *hosted.widget;
        const int floor = HomePanel::kSeparatorTop + 15;
        for (int h = 0; h <= 1200; h += 7) {
            panel.resize(720, h);
            const int top = std::max(h - 47, floor);
            QCOMPARE(panel.Separator()->y(), top);
            QCOMPARE(panel.Separator()->height(), 1);
            QCOMPARE(panel.Footer()->y() - panel.Separator()->y(), HomePanel::kFooterTop - HomePanel::kSeparatorTop);
        }
        panel.resize(720, 597);
        QCOMPARE(panel.Separator()->geometry(), QRect(24, 550, 672, 1));
        QCOMPARE(panel.Footer()->geometry().bottom(), 550 + 12 + 18 - 1);
        QVERIFY(panel.Footer()->text().contains(QStringLiteral("\u00A9 Orvanne")));
        // A very small panel keeps the line 15 pixels below its template place, under the buttons.
        panel.resize(300, 120);
        QCOMPARE(panel.Separator()->y(), HomePanel::kSeparatorTop + 15);
        QVERIFY(panel.Separator()->y() > panel.Button(3)->geometry().bottom());
    }

    void buttonsSitUnderTheBanner()
    {
        Hosted<HomePanel> hosted;
        HomePanel& panel = *hosted.widget;
        // The page width of a 920-pixel window: one centred column.
        panel.resize(720, 597);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(panel.Button(i)->pos(), QPoint((720 - 350) / 2, 140 + 68 * i));
        // Wide: two by two, centred, in reading order.
        panel.resize(1080, 800);
        const int left = (1080 - 724) / 2;
        QCOMPARE(panel.Button(0)->pos(), QPoint(left, 140));
        QCOMPARE(panel.Button(1)->pos(), QPoint(left + 374, 140));
        QCOMPARE(panel.Button(2)->pos(), QPoint(left, 208));
        QCOMPARE(panel.Button(3)->pos(), QPoint(left + 374, 208));
        // Narrower than a button: pinned to the margin, not pushed off the left edge.
        panel.resize(200, 597);
        QCOMPARE(panel.Button(0)->x(), 24);
        for (const int w : {360, 720, 799, 800, 1400}) {
            panel.resize(w, 700);
            for (int i = 0; i < 4; ++i) {
                const QRect r = panel.Button(i)->geometry();
                QVERIFY(r.top() >= HomePanel::kBannerHeight);
                QVERIFY(r.bottom() < panel.Separator()->y());
                for (int j = 0; j < i; ++j)
                    QVERIFY(!r.intersects(panel.Button(j)->geometry()));
            }
        }
    }

    void columnBackgroundStretchesItsLastRow()
    {
        const QImage& picture = ResourceImage(kIdbNaviBackground);
        QVERIFY(!picture.isNull());
        QVERIFY(picture.height() < 900);
        Shown shown(QSize(920, 900));
        VeHomeNaviCtrl* navi = shown.view->Navi();
        const QImage column = Grab(navi);
        QCOMPARE(column.size(), QSize(200, 900));
        const QImage pic = picture.convertToFormat(QImage::Format_RGB32);
        const int last = pic.height() - 1;
        for (int x = 0; x < pic.width(); ++x) {
            for (const int y : {last + 1, 650, 899})
                QCOMPARE(column.pixel(x, y), pic.pixel(x, last));
            QCOMPARE(column.pixel(x, last - 30), pic.pixel(x, last - 30));
        }
        // The links draw the column's picture behind them, not white: the gap between glyph
        // and caption shows it.
        VeHyperLinkCtrl* link = shown.Link(0);
        const QImage linkImage = Grab(link);
        const QPoint gap(26, 1);
        QCOMPARE(linkImage.pixel(gap), pic.pixel(link->pos() + gap));
        QVERIFY(pic.pixel(link->pos() + gap) != qRgb(255, 255, 255));

        // Shorter than the picture: it is cut, nothing stretched.
        const QImage shortColumn = VeHomeNaviCtrl::ComposeBackground(picture, QSize(200, 100));
        QCOMPARE(shortColumn, pic.copy(0, 0, 200, 100));
        QVERIFY(VeHomeNaviCtrl::ComposeBackground(QImage(), QSize(10, 10)).pixel(5, 5) == qRgb(255, 255, 255));
    }

    void renderedPage()
    {
        Shown shown;
        const QImage page = Grab(shown.view);
        QCOMPARE(page.size(), QSize(920, 597));
        if (const QByteArray out = qgetenv("TESSARY_HOME_PNG"); !out.isEmpty())
            QVERIFY(page.save(QString::fromLocal8Bit(out)));
        // Banner across the panel's whole width.
        const QImage banner = ResourceImage(kIdbHomeBanner).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(page.pixel(200, 5), banner.pixel(0, 5));
        QCOMPARE(page.pixel(919, 5), banner.pixel(banner.width() - 1, 5));
        // Button faces where the layout puts them.
        HomeButton* button = shown.Panel()->Button(2);
        const QPoint corner = button->mapTo(shown.view, QPoint(340, 4));
        QCOMPARE(page.pixel(corner), button->Face(HomeButton::kNormal).pixel(340, 4));
        // The caption is drawn over the face: it differs from the bare face in its text area.
        const QImage drawn = page.copy(QRect(button->mapTo(shown.view, QPoint(0, 0)), button->size()));
        const QRect text(HomeButton::kTextLeft, 8, 200, 36);
        QVERIFY(drawn.copy(text) != button->Face(HomeButton::kNormal).copy(text));
        // The separator line.
        QCOMPARE(page.pixel(200 + 24 + 10, 550), qRgb(0xD5, 0xDD, 0xE8));
        QCOMPARE(page.pixel(200 + 10, 550), qRgb(255, 255, 255));
    }
};

QTEST_MAIN(HomeViewTest)
#include "HomeViewTest.moc"
