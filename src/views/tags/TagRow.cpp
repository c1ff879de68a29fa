#include "TagRow.h"

#include <QFontMetrics>
#include <QPainter>

#include "VeTagListCtrlBase.h"
#include "album/Tags.h"
#include "search/MarkupRenderer.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"

namespace tessary {

namespace {

// The hint sits one pixel lower and two further left than a value.
constexpr int kHintShiftX = -2;
constexpr int kHintShiftY = 1;

void DrawElided(QPainter& painter, const QRect& band, const QString& text, Qt::Alignment align)
{
    if (band.width() <= 0)
        return;
    const QString shown = QFontMetrics(painter.font()).elidedText(text, Qt::ElideRight, band.width());
    painter.drawText(band, align | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

// The selection image: its name column as it is, its last columns stretched over the rest.
void DrawSelection(QPainter& painter, const QRect& rect, bool odd)
{
    const QImage& skin = ResourceImage(odd ? kIdbTagSelectedOdd : kIdbTagSelectedEven);
    if (skin.isNull() || skin.width() <= TagRow::kSelectionCap) {
        painter.fillRect(rect, QColor(0xC9, 0xD5, 0xEA));
        return;
    }
    const int cap = TagRow::kSelectionCap;
    painter.drawImage(QRect(rect.left(), rect.top(), cap, rect.height()), skin, QRect(0, 0, cap, skin.height()));
    painter.drawImage(QRect(rect.left() + cap, rect.top(), rect.width() - cap, rect.height()), skin,
                      QRect(cap, 0, skin.width() - cap, skin.height()));
}

} // namespace

const QString& TagRow::PlaceholderText()
{
    static const QString text = QStringLiteral("Double-click to add a tag");
    return text;
}

const QString& TagRow::ClickToEditText()
{
    static const QString text = QStringLiteral("Click to edit");
    return text;
}

const QFont& TagRow::TextFont()
{
    static const QFont font = SharedFonts::Make(14);
    return font;
}

const QFont& TagRow::HintFont()
{
    static const QFont font = SharedFonts::Make(13, false, true);
    return font;
}

TagRow::TagRow(const Tag& tag, const VeTagListCtrlBase& pane) : Row(tag.Id() != 0), tag_(&tag), pane_(&pane) {}

bool TagRow::IsReal() const
{
    return tag_->Id() != 0;
}

void TagRow::Draw(QPainter& painter, const QRect& rect, const RowState& state)
{
    const bool odd = pane_->IndexOf(this) % 2 == 1;
    if (state.selected) {
        DrawSelection(painter, rect, odd);
    } else {
        painter.fillRect(QRect(rect.left(), rect.top(), kNameWidth, rect.height()), odd ? kNameOdd : kNameEven);
        painter.fillRect(QRect(rect.left() + kNameWidth, rect.top(), rect.width() - kNameWidth, rect.height()),
                         odd ? kValueOdd : kValueEven);
    }

    const QRect nameBand(rect.left() + kNameLeft, rect.top(), kNameRight - kNameLeft, rect.height());
    if (!IsReal()) {
        painter.setFont(HintFont());
        painter.setPen(kHintColor);
        DrawElided(painter, nameBand, PlaceholderText() + QLatin1Char(' '), Qt::AlignRight);
        return;
    }
    painter.setFont(TextFont());
    painter.setPen(kTextColor);
    DrawElided(painter, nameBand, tag_->Name(), Qt::AlignRight);

    QRect valueBand(rect.left() + kValueLeft, rect.top(), rect.width() - kValueLeft - kValueRightGap, rect.height());
    const QString value = pane_->ValueOf(*tag_);
    if (value.isEmpty()) {
        painter.setFont(HintFont());
        painter.setPen(state.selected ? kSelectedHintColor : kHintColor);
        DrawElided(painter, valueBand.translated(kHintShiftX, kHintShiftY), ClickToEditText(), Qt::AlignLeft);
        return;
    }
    const QString markup = pane_->Highlighted() ? pane_->HighlightedValueOf(*tag_) : QString();
    if (markup.isEmpty()) {
        DrawElided(painter, valueBand, value, Qt::AlignLeft);
        return;
    }
    if (valueBand.width() <= 0)
        return;
    MarkupRenderer renderer(&painter, TextFont(), qRgb(0, 0, 0), qRgb(255, 255, 255));
    renderer.DrawMarkup(markup, valueBand, DtEndEllipsis | DtNoPrefix | DtSingleLine | DtVCenter);
}

} // namespace tessary
