#include "HomePanel.h"

#include <algorithm>

#include <QLabel>
#include <QPainter>

#include "HomeButton.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/menus/CommandIds.h"

namespace tessary {

namespace {

struct ButtonRecipe {
    int controlId;
    int commandId;
    int strip;
    const char* caption;
    const char* detail;
};

constexpr ButtonRecipe kButtons[HomePanel::kButtonCount] = {
    {HomePanel::kIdNewAlbum, cmd::kFileNew, kIdbHomeButtonNewAlbum, "Create a New Album",
     "Start an album in a folder of your choice"},
    {HomePanel::kIdOpenAlbum, cmd::kFileOpen, kIdbHomeButtonOpenAlbum, "Open an Existing Album",
     "Go back to one of your albums"},
    {HomePanel::kIdTutorials, cmd::kViewOnlineTutorials, kIdbHomeButtonTutorials, "View Online Tutorials",
     "Learn the basics step by step"},
    {HomePanel::kIdDonate, cmd::kDonate, kIdbHomeButtonDonate, "Make a Donation",
     "Support the work on Tessary"},
};

constexpr char kHeading[] = "Welcome to Tessary";
constexpr int kHeadingPixels = 22;
constexpr QColor kHeadingColor(0x24, 0x33, 0x4D);
constexpr QColor kSeparatorColor(0xD5, 0xDD, 0xE8);
constexpr QColor kFooterColor(0x7A, 0x86, 0x99);
constexpr char16_t kFooterText[] = u"Orvanne Tessary photo album manager  \u2013  \u00A9 Orvanne";

} // namespace

HomePanel::HomePanel(QWidget* parent) : QWidget(parent), m_separator(new QWidget(this)), m_footer(new QLabel(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonRecipe& recipe = kButtons[i];
        m_buttons[size_t(i)] = new HomeButton(recipe.controlId, recipe.commandId, ResourceImageFor(recipe.strip, devicePixelRatioF()),
                                              QString::fromLatin1(recipe.caption),
                                              QString::fromLatin1(recipe.detail), this);
    }
    m_separator->setAutoFillBackground(true);
    QPalette line = m_separator->palette();
    line.setColor(QPalette::Window, kSeparatorColor);
    m_separator->setPalette(line);

    m_footer->setText(QString::fromUtf16(kFooterText));
    m_footer->setFont(SharedFonts::Normal());
    QPalette text = m_footer->palette();
    text.setColor(QPalette::WindowText, kFooterColor);
    m_footer->setPalette(text);
    m_footer->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LayOut();
}

HomeButton* HomePanel::ButtonById(int controlId) const
{
    for (HomeButton* button : m_buttons)
        if (button->ControlId() == controlId)
            return button;
    return nullptr;
}

int HomePanel::SeparatorTopFor(int clientHeight)
{
    return std::max(clientHeight - kSeparatorBottomGap, kSeparatorTop + kSeparatorMinDrop);
}

void HomePanel::LayOut()
{
    const int w = width();
    const bool grid = w >= kGridMinWidth;
    const int columns = grid ? 2 : 1;
    const int block = columns * kHomeButtonWidth + (columns - 1) * kButtonGapX;
    const int left = std::max(kSideMargin, (w - block) / 2);
    for (int i = 0; i < kButtonCount; ++i) {
        const int column = i % columns;
        const int row = i / columns;
        m_buttons[size_t(i)]->move(left + column * (kHomeButtonWidth + kButtonGapX), kButtonsTop + row * kButtonPitchY);
    }
    const int lineTop = SeparatorTopFor(height());
    const int lineWidth = std::max(0, w - 2 * kSideMargin);
    m_separator->setGeometry(kSideMargin, lineTop, lineWidth, 1);
    m_footer->setGeometry(kSideMargin, lineTop + (kFooterTop - kSeparatorTop), lineWidth, kFooterHeight);
}

void HomePanel::resizeEvent(QResizeEvent*)
{
    LayOut();
}

void HomePanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QImage& banner = ResourceImage(kIdbHomeBanner);
    if (!banner.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(0, 0, width(), kBannerHeight), ResourceImageFor(kIdbHomeBanner, p));
    }
    // Over the calm upper part of the banner, lined up with the buttons.
    static const QFont headingFont = SharedFonts::Make(kHeadingPixels, true);
    const int left = m_buttons[0]->x();
    p.setFont(headingFont);
    p.setPen(kHeadingColor);
    p.drawText(QRect(left, 0, std::max(0, width() - left - kSideMargin), kHeadingBandHeight),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromLatin1(kHeading));
}

} // namespace tessary
