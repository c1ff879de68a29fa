#include "AboutDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "TessaryVersion.h"
#include "views/common/DialogUnits.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/common/WebPages.h"

namespace tessary {

namespace {
constexpr int kMargin = 16;
constexpr int kTextWidth = 260;
const QColor kTitleColor{0x3D, 0x4B, 0x66};
const QColor kTextColor{0x50, 0x55, 0x60};
const QColor kLinkColor{0x1F, 0x5F, 0xC0};

QString SiteText(const QUrl& url)
{
    QString text = url.host() + url.path();
    if (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text;
}

void SetTextColor(QWidget& widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget.palette();
    palette.setColor(role, color);
    widget.setPalette(palette);
}
} // namespace

QString AboutDialog::VersionText()
{
    return QString::asprintf("Version %d.%d.%d  (Build %d)", TESSARY_VERSION_MAJOR, TESSARY_VERSION_MINOR,
                             TESSARY_VERSION_PATCH, TESSARY_VERSION_TWEAK);
}

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About Orvanne Tessary"));
    setModal(true);
    setFont(DialogFont());

    auto* glyph = new QLabel(this);
    glyph->setPixmap(QPixmap::fromImage(ResourceImageFor(kIdbRecentAlbum, devicePixelRatioF())));
    glyph->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    product_ = new QLabel(QStringLiteral("Orvanne " TESSARY_PRODUCT_NAME), this);
    product_->setObjectName(QStringLiteral("ProductLabel"));
    product_->setFont(SharedFonts::Make(18, true));
    SetTextColor(*product_, QPalette::WindowText, kTitleColor);

    auto* tagline = new QLabel(QStringLiteral("Photo album manager"), this);
    tagline->setFont(SharedFonts::Normal());
    SetTextColor(*tagline, QPalette::WindowText, kTextColor);

    version_ = new QLabel(VersionText(), this);
    version_->setObjectName(QStringLiteral("VersionLabel"));
    version_->setFont(SharedFonts::Normal());
    version_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetTextColor(*version_, QPalette::WindowText, kTextColor);

    link_ = new QPushButton(SiteText(WebPageUrl(WebPage::ProductHome)), this);
    link_->setObjectName(QStringLiteral("LinkButton"));
    link_->setFont(SharedFonts::Link());
    link_->setCursor(Qt::PointingHandCursor);
    link_->setAutoDefault(false);
    link_->setFlat(true);
    link_->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0px; text-align: left; color: %1; }")
                             .arg(kLinkColor.name()));
    link_->setToolTip(WebPageUrl(WebPage::ProductHome).toString());
    connect(link_, &QPushButton::clicked, this, [] { OpenWebPage(WebPage::ProductHome); });

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OkButton"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(product_);
    text->addWidget(tagline);
    text->addSpacing(10);
    text->addWidget(version_);
    text->addSpacing(6);
    text->addWidget(link_, 0, Qt::AlignLeft);
    text->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(kMargin);
    top->addWidget(glyph, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin - 4);
    layout->setSpacing(kMargin);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    product_->setMinimumWidth(kTextWidth);
}

} // namespace tessary
