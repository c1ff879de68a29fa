#include "VeTabCtrl.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "StripBackground.h"
#include "imaging/DibImage.h"
#include "imaging/QImageView.h"
#include "views/common/ImageResources.h"
#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"

namespace tessary {

namespace {

const QColor kHotCaption(50, 120, 220);
const QColor kSelectedCaption(61, 75, 102);
const QColor kCaption(108, 117, 135);

} // namespace

VeTabCtrl::VeTabCtrl(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int VeTabCtrl::AddTab(const QString& text, int id, int image, bool hidden)
{
    Tab tab;
    tab.text = text;
    tab.id = id;
    tab.image = image;
    tab.hidden = hidden;
    tab.captionFont = SharedFonts::LargeBold();
    tab.hotFont = SharedFonts::Make(14, true, false, true);
    m_tabs.push_back(std::move(tab));
    update();
    return int(m_tabs.size()) - 1;
}

bool VeTabCtrl::SetHidden(int index, bool hidden)
{
    if (index < 0 || index >= TabCount())
        return false;
    Tab& tab = m_tabs[size_t(index)];
    if (tab.hidden != hidden) {
        tab.hidden = hidden;
        if (hidden && m_hot == index)
            m_hot = -1;
        updateGeometry();
        update();
    }
    return true;
}

bool VeTabCtrl::SetText(int index, const QString& text)
{
    if (index < 0 || index >= TabCount())
        return false;
    m_tabs[size_t(index)].text = text;
    updateGeometry();
    update();
    return true;
}

bool VeTabCtrl::IsHidden(int index) const
{
    return index >= 0 && index < TabCount() && m_tabs[size_t(index)].hidden;
}

QString VeTabCtrl::Text(int index) const
{
    return index >= 0 && index < TabCount() ? m_tabs[size_t(index)].text : QString();
}

int VeTabCtrl::TabId(int index) const
{
    return index >= 0 && index < TabCount() ? m_tabs[size_t(index)].id : 0;
}

int VeTabCtrl::TabWidth(const Tab& tab) const
{
    if (tab.hidden)
        return 0;
    return QFontMetrics(tab.captionFont).horizontalAdvance(tab.text) + kExtraTabWidth;
}

QRect VeTabCtrl::GetTabRect(int index) const
{
    if (index < 0 || index >= TabCount())
        return QRect();
    int left = kFirstTabX;
    for (int i = 0; i < index; ++i)
        left += TabWidth(m_tabs[size_t(i)]);
    return QRect(left, 0, TabWidth(m_tabs[size_t(index)]), height());
}

int VeTabCtrl::GetTotalWidth() const
{
    int total = kFirstTabX;
    for (const Tab& tab : m_tabs)
        total += TabWidth(tab);
    return total;
}

int VeTabCtrl::HitTest(const QPoint& point) const
{
    for (int i = 0; i < TabCount(); ++i)
        if (!m_tabs[size_t(i)].hidden && GetTabRect(i).contains(point))
            return i;
    return -1;
}

bool VeTabCtrl::Select(int index)
{
    if (index < 0 || index >= TabCount() || m_tabs[size_t(index)].hidden || !m_owner)
        return false;
    const int old = m_owner->SelectedTab();
    if (old == index)
        return true;
    if (!m_owner->SwitchToTab(index))
        return false;
    RepaintTab(index);
    RepaintTab(old);
    emit Notify(kNotifySelChange);
    return true;
}

QSize VeTabCtrl::sizeHint() const
{
    return QSize(GetTotalWidth(), 43);
}

QRect VeTabCtrl::IconRect(const QSize& tab)
{
    return QRect(kImageX, (tab.height() - kImageSize) / 2, kImageSize, kImageSize);
}

QImage VeTabCtrl::RenderTabBuffer(int index, bool selected, bool hot, bool withIcon) const
{
    const QRect r = GetTabRect(index);
    DibImage buffer;
    if (r.isEmpty() || !StretchStripBackground(buffer, r.size()))
        return QImage();
    if (selected)
        ApplyTabSelectionShading(buffer);
    else if (hot)
        ApplyTabHoverShading(buffer);
    QImage image = ToQImage(buffer);
    const int icon = m_tabs[size_t(index)].image;
    if (withIcon && icon != 0 && !ResourceImage(icon).isNull()) {
        QPainter p(&image);
        p.drawImage(IconRect(r.size()), ResourceImage(icon));
    }
    return image;
}

const QImage& VeTabCtrl::ParentBackground()
{
    const QSize size = parentWidget() ? parentWidget()->size() : this->size();
    if (m_parentBackground.size() != size) {
        m_parentBackground = StripBackgroundImage(size);
    }
    return m_parentBackground;
}

void VeTabCtrl::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QImage& background = ParentBackground();
    p.drawImage(QPoint(0, 0), background, QRect(pos(), size()));

    const int selected = m_owner ? m_owner->SelectedTab() : -1;
    for (int i = 0; i < TabCount(); ++i) {
        const Tab& tab = m_tabs[size_t(i)];
        const QRect r = GetTabRect(i);
        if (tab.hidden || r.isEmpty() || !event->region().intersects(r))
            continue;
        const bool isSelected = i == selected;
        const bool isHot = i == m_hot;
        p.drawImage(r.topLeft(), RenderTabBuffer(i, isSelected, isHot, false));
        const bool hasImage = tab.image != 0 && !ResourceImage(tab.image).isNull();
        if (hasImage)
            p.drawImage(IconRect(r.size()).translated(r.topLeft()), ResourceImageFor(tab.image, p));
        const QRect text(r.left() + (hasImage ? kCaptionXWithImage : kCaptionXWithoutImage), r.top(),
                         r.width(), r.height());
        p.setFont(isHot ? tab.hotFont : tab.captionFont);
        p.setPen(isHot ? kHotCaption : isSelected ? kSelectedCaption : kCaption);
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, tab.text);
    }
}

void VeTabCtrl::SetHot(int index)
{
    if (index == m_hot)
        return;
    const int old = m_hot;
    m_hot = index;
    RepaintTab(old);
    RepaintTab(index);
}

void VeTabCtrl::RepaintTab(int index)
{
    const QRect r = GetTabRect(index);
    if (r.isValid() && !r.isEmpty())
        update(r);
}

void VeTabCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const int hit = HitTest(event->position().toPoint());
    SetHot(hit);
    setCursor(hit >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void VeTabCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int hit = HitTest(event->position().toPoint());
    if (hit >= 0 && (!m_owner || hit != m_owner->SelectedTab()))
        Select(hit);
}

void VeTabCtrl::leaveEvent(QEvent*)
{
    SetHot(-1);
}

void VeTabCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace tessary
