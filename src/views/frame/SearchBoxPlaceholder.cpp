#include "SearchBoxPlaceholder.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/common/SkinPainting.h"

namespace tessary {

namespace {

const QColor kInactiveFill(240, 244, 252);
const QColor kCueColour(160, 166, 178);
const QColor kFallbackFrame(0xA7, 0xB2, 0xC4);
constexpr int kEdge = 2;
constexpr int kTextLeft = 4;
constexpr int kTextRightWithOptions = 27;

} // namespace

SearchBoxPlaceholder::SearchBoxPlaceholder(QWidget* parent)
    : QWidget(parent), m_cue(QStringLiteral("Search"))
{
}

void SearchBoxPlaceholder::SetCue(const QString& cue)
{
    m_cue = cue;
    update();
}

void SearchBoxPlaceholder::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QImage& frame = ResourceImage(kIdbSearchBoxFrame);
    const QRect inner = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
    if (frame.width() > 2 * kEdge) {
        DrawThreeSlice(p, rect(), frame, kEdge, kInactiveFill);
    } else {
        p.setPen(kFallbackFrame);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    p.fillRect(inner, kInactiveFill);
    const QRect text = inner.adjusted(kTextLeft, 0, -kTextRightWithOptions, 0);
    const QFont font = SharedFonts::Make(13, false, true);
    p.setFont(font);
    p.setPen(kCueColour);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QFontMetrics(font).elidedText(m_cue, Qt::ElideRight, text.width()));
}

} // namespace tessary
