#include "VeFadInfoCtrlBase.h"

#include <QFileInfo>
#include <QPainter>

#include "album/Items.h"
#include "thumbcache/PreviewThumbnails.h"
#include "thumbcache/ThumbEvents.h"
#include "util/PhotoFormat.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/items/FadItem.h"

namespace tessary {

namespace {

const QColor kNameColor(0x3D, 0x4B, 0x66);
const QColor kSecondaryColor(0x82, 0x8A, 0x99);
constexpr int kShadow = 4;

QString TypeName(const QString& path)
{
    return QString::fromLatin1(PhotoTypeName(PhotoFormatFromPath(path)));
}

// The 12 x 12 nine-part shadow around `r`: corners and edges 4 pixels.
void DrawShadow(QPainter& p, const QRect& r)
{
    const QImage& skin = ResourceImage(kIdbInfoShadow);
    if (skin.isNull())
        return;
    const int s = kShadow;
    const QRect outer = r.adjusted(-s, -s, s, s);
    const int w = outer.width(), h = outer.height();
    const int x = outer.left(), y = outer.top();
    p.drawImage(QRect(x, y, s, s), skin, QRect(0, 0, s, s));
    p.drawImage(QRect(x + w - s, y, s, s), skin, QRect(8, 0, s, s));
    p.drawImage(QRect(x, y + h - s, s, s), skin, QRect(0, 8, s, s));
    p.drawImage(QRect(x + w - s, y + h - s, s, s), skin, QRect(8, 8, s, s));
    p.drawImage(QRect(x + s, y, w - 2 * s, s), skin, QRect(4, 0, s, s));
    p.drawImage(QRect(x + s, y + h - s, w - 2 * s, s), skin, QRect(4, 8, s, s));
    p.drawImage(QRect(x, y + s, s, h - 2 * s), skin, QRect(0, 4, s, s));
    p.drawImage(QRect(x + w - s, y + s, s, h - 2 * s), skin, QRect(8, 4, s, s));
}

} // namespace

VeFadInfoCtrlBase::VeFadInfoCtrlBase(QWidget* parent)
    : QWidget(parent), m_reader(std::make_unique<PhotoFactsReader>(this))
{
    setObjectName(QStringLiteral("infoStrip"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

VeFadInfoCtrlBase::~VeFadInfoCtrlBase()
{
    m_reader.reset();
}

void VeFadInfoCtrlBase::SetCollection(bool shown, bool isAll, int itemCount)
{
    m_shown = shown;
    m_isAll = isAll;
    m_itemCount = itemCount;
    update();
}

void VeFadInfoCtrlBase::SetSelection(Item* single, int selectedCount)
{
    m_item = single;
    m_selected = single ? 1 : selectedCount;
    const int32_t key = single ? FadRowKey(*single) : 0;
    const QString path = single ? single->FirstPhotoPath() : QString();
    if (key != m_key || path != m_path) {
        m_key = key;
        m_path = path;
        if (key != 0 && !path.isEmpty())
            m_reader->Request(key, path);
    }
    update();
}

QRect VeFadInfoCtrlBase::ThumbnailBox() const
{
    return QRect(kBoxLeft, (height() - kBoxHeight) / 2, kBoxWidth, kBoxHeight);
}

QRect VeFadInfoCtrlBase::TextArea() const
{
    const QRect box = ThumbnailBox();
    const int left = box.right() + 1 + 15;
    return QRect(left, box.top(), std::max(0, width() - 15 - left), box.height());
}

QStringList VeFadInfoCtrlBase::Segments() const
{
    QStringList segments{TypeName(m_path) + QStringLiteral(" image")};
    if (!HasFacts())
        return segments;
    segments << QStringLiteral("Date taken: ") + DateTakenText(m_facts.dateTaken);
    if (m_facts.readable)
        segments << QStringLiteral("Dimensions: %1 x %2").arg(m_facts.width).arg(m_facts.height);
    segments << QStringLiteral("Size: ") + InfoSizeText(uint32_t(m_facts.size));
    return segments;
}

QStringList VeFadInfoCtrlBase::FittingSegments(int width) const
{
    const QFontMetrics metrics(SharedFonts::Normal());
    QStringList fitting;
    int x = 0;
    for (const QString& segment : Segments()) {
        const int w = metrics.horizontalAdvance(segment);
        if (x + w > width)
            break;
        fitting << segment;
        x += w + kSegmentGap;
    }
    return fitting;
}

QString VeFadInfoCtrlBase::CountText() const
{
    if (!m_shown)
        return QString();
    if (m_selected > 0)
        return QStringLiteral("%1 items selected").arg(m_selected);
    return QStringLiteral("%1 items").arg(m_itemCount);
}

bool VeFadInfoCtrlBase::event(QEvent* event)
{
    if (event->type() == PhotoFactsEvent::Type()) {
        const PhotoFacts& facts = static_cast<PhotoFactsEvent*>(event)->facts;
        if (facts.key == m_key && facts.path == m_path) {
            m_facts = facts;
            update();
        }
        return true;
    }
    if (event->type() == kThumbReadyEvent) {
        if (static_cast<ThumbEvent*>(event)->ItemId() == m_key)
            update(ThumbnailBox().adjusted(-kShadow, -kShadow, kShadow, kShadow));
        return true;
    }
    return QWidget::event(event);
}

void VeFadInfoCtrlBase::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0xD3, 0xDE, 0xF1));
    p.drawLine(0, 0, width(), 0);
    const QRect box = ThumbnailBox();
    const QRect text = TextArea();
    if (m_item && m_selected == 1 && m_key != 0) {
        QRect drawn;
        PreviewRequest request{this, m_key, m_path};
        if (PreviewThumbnails::Instance().Draw(&p, box, request, &drawn) && !drawn.isEmpty())
            DrawShadow(p, drawn);
        const QRect line1 = QRect(text.left(), text.top() + 1, text.width(), text.height() / 2);
        const QRect line2 = QRect(text.left(), text.top() + text.height() / 2 - 1, text.width(), text.height() / 2);
        p.setFont(SharedFonts::Large());
        p.setPen(kNameColor);
        const QFontMetrics large(SharedFonts::Large());
        const QString name = large.elidedText(m_item->Name(), Qt::ElideRight, line1.width());
        p.drawText(line1, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
        p.setFont(SharedFonts::Normal());
        p.setPen(kSecondaryColor);
        int x = line2.left();
        const QFontMetrics normal(SharedFonts::Normal());
        for (const QString& segment : FittingSegments(line2.width())) {
            p.drawText(QRect(x, line2.top(), line2.right() - x + 1, line2.height()),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, segment);
            x += normal.horizontalAdvance(segment) + kSegmentGap;
        }
        return;
    }
    const QString count = CountText();
    if (count.isEmpty())
        return;
    const int glyphId = m_selected > 0 ? kIdbInfoMultiple : m_isAll ? kIdbInfoAllCollections : kIdbInfoCollection;
    const QImage& glyph = ResourceImage(glyphId);
    if (!glyph.isNull())
        p.drawImage(QPoint(box.left() + (box.width() - glyph.width()) / 2,
                           box.top() + (box.height() - glyph.height()) / 2 + 1),
                    ResourceImageFor(glyphId, p));
    p.setFont(SharedFonts::Large());
    p.setPen(kNameColor);
    p.drawText(text.translated(-10, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, count);
}

} // namespace tessary
