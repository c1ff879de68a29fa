#include "VeHomeNaviCtrl.h"

#include <QPainter>

#include "VeHyperLinkCtrl.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/menus/CommandIds.h"

namespace tessary {

namespace {

struct LinkRecipe {
    const char* caption;
    int glyph;
    const char* tooltip;
};

// In LinkIndex order.
constexpr LinkRecipe kLinks[VeHomeNaviCtrl::kLinkCount] = {
    {"Orvanne Website", kIdbNaviWebsite, "Visit Orvanne website"},
    {"Online Help", kIdbNaviHelp, "Display online help information for Tessary"},
    {"Contact Us", kIdbNaviContact, "Ask questions or send your comments and suggestions"},
    {"About", kIdbNaviAbout, "Display program information, version number and copyright"},
};

} // namespace

VeHomeNaviCtrl::VeHomeNaviCtrl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int i = 0; i < kLinkCount; ++i) {
        auto* link = new VeHyperLinkCtrl(this);
        link->SetGlyph(kLinks[i].glyph);
        link->SetCaption(QString::fromLatin1(kLinks[i].caption));
        link->setToolTip(QString::fromLatin1(kLinks[i].tooltip));
        link->move(kLinkLeft, kFirstLinkTop + i * kLinkPitch);
        m_links[size_t(i)] = link;
    }
    m_links[kWebsiteLink]->SetTarget(WebPage::MakerHome);
    m_links[kHelpLink]->SetTarget(WebPage::OnlineHelp);
    m_links[kContactLink]->SetTarget(WebPage::Contact);
    m_links[kAboutLink]->SetCommand(cmd::kAppAbout);
}

QImage VeHomeNaviCtrl::ComposeBackground(const QImage& picture, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (picture.isNull() || size.isEmpty())
        return image;
    QPainter p(&image);
    p.drawImage(0, 0, picture);
    const int below = size.height() - picture.height();
    if (below > 0) {
        // One source row scaled to many: every pixel of a column takes that row's colour.
        p.drawImage(QRect(0, picture.height(), picture.width(), below), picture,
                    QRect(0, picture.height() - 1, picture.width(), 1));
    }
    return image;
}

void VeHomeNaviCtrl::resizeEvent(QResizeEvent*)
{
    m_background = ComposeBackground(ResourceImage(kIdbNaviBackground), size());
    for (VeHyperLinkCtrl* link : m_links)
        link->SetBackground(m_background.copy(link->geometry()));
}

void VeHomeNaviCtrl::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, m_background);
}

} // namespace tessary
