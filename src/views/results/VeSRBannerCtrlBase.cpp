#include "VeSRBannerCtrlBase.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include "album/Collections.h"
#include "views/common/SharedFonts.h"

namespace tessary {

namespace {

const QColor kTitleColour(52, 126, 70);
const QColor kSubtitleColour(130, 138, 153);
const QColor kRuleColour(211, 221, 241);

} // namespace

VeSRBannerCtrlBase::VeSRBannerCtrlBase(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VeSRBannerCtrlBase::SetScope(const Collection* scope)
{
    m_scope = scope;
    update();
}

QString VeSRBannerCtrlBase::TitleFor(const Collection* scope)
{
    if (!scope)
        return QStringLiteral("Unknown Collection");
    const QString name = scope->Name();
    if (scope->Id() == 0)
        return name;
    static const QString suffix = QStringLiteral(" Collection");
    if (name.endsWith(suffix, Qt::CaseInsensitive))
        return name;
    return name + suffix;
}

void VeSRBannerCtrlBase::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);

    const QFont& titleFont = SharedFonts::LargeBold();
    const QFontMetrics titleMetrics(titleFont);
    const QRect titleArea(kInset, kTitleTop, std::max(0, width() - 2 * kInset), titleMetrics.height());
    p.setFont(titleFont);
    p.setPen(kTitleColour);
    const QString title = titleMetrics.elidedText(TitleFor(m_scope), Qt::ElideRight, titleArea.width());
    p.drawText(titleArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);

    const QFont& subFont = SharedFonts::Normal();
    p.setFont(subFont);
    p.setPen(kSubtitleColour);
    const QRect subArea(titleArea.left() + 2, titleArea.bottom() + 1 + 2, std::max(0, titleArea.width() - 2),
                        QFontMetrics(subFont).height());
    p.drawText(subArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QStringLiteral("Search Results"));

    const int left = kInset;
    const int right = width() - kInset; // exclusive
    const int length = right - left;
    if (length <= 0)
        return;
    if (length > 2 * kFadeLength - 1) {
        QLinearGradient fade(left, 0, right, 0);
        const qreal edge = qreal(kFadeLength) / length;
        fade.setColorAt(0, Qt::white);
        fade.setColorAt(edge, kRuleColour);
        fade.setColorAt(1 - edge, kRuleColour);
        fade.setColorAt(1, Qt::white);
        p.fillRect(QRect(left, kRuleTop, length, 1), fade);
    } else {
        p.fillRect(QRect(left, kRuleTop, length, 1), kRuleColour);
    }
}

} // namespace tessary
