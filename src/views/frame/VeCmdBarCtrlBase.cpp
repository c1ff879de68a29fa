#include "VeCmdBarCtrlBase.h"

#include <QFontMetrics>
#include <QtMath>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/common/SkinPainting.h"
#include "views/menus/CommandGlyphs.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/menus/MenuResources.h"

namespace tessary {

namespace {

const QColor kCaptionColour(61, 75, 102);
const QColor kFallbackFace(0xEE, 0xF2, 0xF8);
const QColor kFallbackHot(0xDD, 0xE6, 0xF5);
const QColor kFallbackPressed(0xC9, 0xD5, 0xEA);
constexpr int kGlyphCaptionGap = 5;
constexpr int kDropArrowWidth = 7;

} // namespace

VeCmdBarCtrlBase::VeCmdBarCtrlBase(int menuResource, QWidget* parent) : VeViewBase(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const MenuDef& menu = MenuResource(menuResource);
    int commands = 0;
    for (const MenuItemDef& item : menu.items)
        commands += item.IsSeparator() ? 0 : 1;
    bool left = true;
    int index = 0;
    for (const MenuItemDef& item : menu.items) {
        if (item.IsSeparator()) {
            left = false;
            continue;
        }
        Button button;
        button.commandId = item.id;
        button.leftGroup = left;
        const QString text = item.text.section(QLatin1Char('\t'), 0, 0);
        if (commands >= 3 && index >= commands - 2)
            button.tooltip = text;
        else
            button.caption = text;
        m_buttons.push_back(std::move(button));
        ++index;
    }
    for (Button& button : m_buttons)
        ComposeImages(button);
    SetSearchState(false);
}

int VeCmdBarCtrlBase::ButtonWidth(bool hasGlyph, const QString& caption, bool dropDown, const QFontMetrics& metrics)
{
    int width = 40;
    if (!hasGlyph)
        width -= 20;
    if (caption.isEmpty())
        width -= 10;
    else
        width += metrics.horizontalAdvance(caption);
    const int n = (hasGlyph ? 1 : 0) + (caption.isEmpty() ? 0 : 1);
    if (n > 0 || dropDown) {
        width += 6 * n + 9;
        if (!dropDown)
            width -= 15;
    }
    return width;
}

namespace {
// The face art stretched to `width` x the bar height at the device pixel ratio `ratio`.
QImage StretchedFace(int width, qreal ratio)
{
    const QSize pixels(qCeil(width * ratio), qCeil(VeCmdBarCtrlBase::kBarHeight * ratio));
    const QImage& art = ResourceImage(kIdbCmdBarFace);
    QImage face;
    if (art.isNull()) {
        face = QImage(pixels, QImage::Format_RGB32);
        face.fill(kFallbackFace);
    } else {
        face = art.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    }
    face.setDevicePixelRatio(ratio);
    return face;
}
} // namespace

const QImage& VeCmdBarCtrlBase::Face()
{
    const int w = std::max(1, width());
    const qreal ratio = devicePixelRatioF();
    if (m_face.deviceIndependentSize().toSize().width() != w || m_face.devicePixelRatio() != ratio)
        m_face = StretchedFace(w, ratio);
    return m_face;
}

void VeCmdBarCtrlBase::ComposeImages(Button& button) const
{
    // Made at the device pixel ratio, so that captions and glyphs stay sharp on dense screens.
    const qreal ratio = devicePixelRatioF();
    const QImage glyph = CommandGlyph(button.commandId, ratio);
    const QSize glyphSize = glyph.deviceIndependentSize().toSize();
    const QFont& font = SharedFonts::Normal();
    const QFontMetrics metrics(font);
    const bool dropDown = button.dropDownMenu != 0;
    const int w = ButtonWidth(!glyph.isNull(), button.caption, dropDown, metrics);
    button.rect.setSize(QSize(w, kButtonHeight));

    // The face as it lies behind the button, so that the normal image is seamless.
    const QImage face = StretchedFace(w, ratio).copy(0, qRound(kButtonTop * ratio), qCeil(w * ratio),
                                                     qCeil(kButtonHeight * ratio));

    int content = glyph.isNull() ? 0 : glyphSize.width();
    const int captionWidth = metrics.horizontalAdvance(button.caption);
    if (!button.caption.isEmpty())
        content += (content ? kGlyphCaptionGap : 0) + captionWidth;
    if (dropDown)
        content += kDropArrowWidth + 4;

    for (int state = 0; state < 3; ++state) {
        QImage image = face;
        QPainter p(&image);
        const QRect all(0, 0, w, kButtonHeight);
        if (state == 1)
            DrawThreeSlice(p, all, ResourceImage(kIdbCmdBarHotSkin), kHotCap, kFallbackHot);
        else if (state == 2)
            DrawThreeSlice(p, all, ResourceImage(kIdbCmdBarPressedSkin), kPressedCap, kFallbackPressed);
        const int shift = state == 2 ? 1 : 0;
        int x = (w - content) / 2 + shift;
        if (!glyph.isNull()) {
            p.drawImage(x, (kButtonHeight - glyphSize.height()) / 2 + shift, glyph);
            x += glyphSize.width() + kGlyphCaptionGap;
        }
        if (!button.caption.isEmpty()) {
            p.setFont(font);
            p.setPen(kCaptionColour);
            p.drawText(QRect(x, shift, captionWidth + 1, kButtonHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       button.caption);
            x += captionWidth + 4;
        }
        if (dropDown) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(kCaptionColour);
            const int cy = kButtonHeight / 2 + shift;
            const QPointF arrow[3] = {{double(x), cy - 2.0}, {double(x + kDropArrowWidth), cy - 2.0},
                                      {x + kDropArrowWidth / 2.0, cy + 2.0}};
            p.drawPolygon(arrow, 3);
        }
        button.images[size_t(state)] = image;
    }
}

void VeCmdBarCtrlBase::LayOut()
{
    int x = kSideMargin;
    int lastRight = -1;
    for (Button& button : m_buttons) {
        if (!button.visible)
            continue;
        button.rect.moveTo(x, kButtonTop);
        x += button.rect.width() + kButtonGap;
        lastRight = button.rect.left() + button.rect.width();
    }
    const int shift = (width() - kSideMargin) - lastRight;
    if (lastRight >= 0 && shift > 0)
        for (Button& button : m_buttons)
            if (!button.leftGroup)
                button.rect.translate(shift, 0);
    update();
}

void VeCmdBarCtrlBase::SetSearchState(bool resultsShown)
{
    SetButtonVisible(cmd::kHideSearchResults, resultsShown);
}

bool VeCmdBarCtrlBase::SetButtonVisible(int commandId, bool visible)
{
    for (Button& button : m_buttons) {
        if (button.commandId != commandId)
            continue;
        if (button.visible != visible) {
            button.visible = visible;
            m_hot = m_pressed = m_captured = -1;
            LayOut();
        }
        return true;
    }
    return false;
}

bool VeCmdBarCtrlBase::SetDropDownMenu(int commandId, int menuResource)
{
    for (Button& button : m_buttons) {
        if (button.commandId != commandId)
            continue;
        button.dropDownMenu = menuResource;
        ComposeImages(button);
        LayOut();
        return true;
    }
    return false;
}

const VeCmdBarCtrlBase::Button* VeCmdBarCtrlBase::FindButton(int commandId) const
{
    for (const Button& button : m_buttons)
        if (button.commandId == commandId)
            return &button;
    return nullptr;
}

int VeCmdBarCtrlBase::ButtonAt(const QPoint& point) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].visible && m_buttons[i].rect.contains(point))
            return int(i);
    return -1;
}

QString VeCmdBarCtrlBase::ToolTipAt(const QPoint& point) const
{
    const int index = ButtonAt(point);
    return index >= 0 && m_buttons[size_t(index)].caption.isEmpty() ? m_buttons[size_t(index)].tooltip : QString();
}

QObject* VeCmdBarCtrlBase::FrameTarget() const
{
    return m_frame ? m_frame.data() : static_cast<QObject*>(window());
}

bool VeCmdBarCtrlBase::HandleCommand(int commandId)
{
    switch (commandId) {
    case cmd::kCloseAlbum: PostCommand(FrameTarget(), cmd::kFileClose); return true;
    case cmd::kAddPhotos: PostCommand(m_itemList, cmd::kAddPhotos); return true;
    case cmd::kDeleteSelectedPhotos: PostCommand(m_itemList, cmd::kDelete); return true;
    case cmd::kHideSearchResults: PostCommand(m_albumView, cmd::kHideSearchResults); return true;
    case cmd::kTellAFriend:
    case cmd::kVisitWebsite:
    case cmd::kShowOnlineHelp: PostCommand(FrameTarget(), commandId); return true;
    default: return false;
    }
}

void VeCmdBarCtrlBase::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another density: the button images are made again for it.
    if (!m_buttons.empty() && m_buttons.front().images[0].devicePixelRatio() != devicePixelRatioF())
        for (Button& button : m_buttons)
            ComposeImages(button);
    QPainter p(this);
    p.drawImage(0, 0, Face());
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const Button& button = m_buttons[i];
        if (!button.visible || !event->region().intersects(button.rect))
            continue;
        const int state = int(i) == m_pressed ? 2 : int(i) == m_hot ? 1 : 0;
        p.drawImage(button.rect.topLeft(), button.images[size_t(state)]);
    }
}

void VeCmdBarCtrlBase::resizeEvent(QResizeEvent*)
{
    LayOut();
}

void VeCmdBarCtrlBase::RepaintButton(int index)
{
    if (index >= 0 && index < int(m_buttons.size()))
        update(m_buttons[size_t(index)].rect);
}

void VeCmdBarCtrlBase::SetHot(int index)
{
    if (index == m_hot)
        return;
    const int old = m_hot;
    m_hot = index;
    RepaintButton(old);
    RepaintButton(index);
}

void VeCmdBarCtrlBase::mouseMoveEvent(QMouseEvent* event)
{
    const int index = ButtonAt(event->position().toPoint());
    SetHot(index);
    if (m_captured >= 0) {
        const int pressed = index == m_captured ? m_captured : -1;
        if (pressed != m_pressed) {
            m_pressed = pressed;
            RepaintButton(m_captured);
        }
    }
}

void VeCmdBarCtrlBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_captured = ButtonAt(event->position().toPoint());
    m_pressed = m_captured;
    RepaintButton(m_captured);
}

void VeCmdBarCtrlBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int captured = m_captured;
    m_captured = -1;
    m_pressed = -1;
    RepaintButton(captured);
    if (captured < 0 || ButtonAt(event->position().toPoint()) != captured)
        return;
    if (m_buttons[size_t(captured)].dropDownMenu != 0)
        OpenDropDown(captured);
    else
        PostCommand(this, m_buttons[size_t(captured)].commandId);
}

void VeCmdBarCtrlBase::OpenDropDown(int index)
{
    const Button& button = m_buttons[size_t(index)];
    QMenu menu(this);
    FillMenu(menu, MenuResource(button.dropDownMenu).items);
    if (QAction* chosen = menu.exec(mapToGlobal(button.rect.bottomLeft() + QPoint(0, 1))))
        PostCommand(this, CommandIdOf(chosen));
}

void VeCmdBarCtrlBase::leaveEvent(QEvent*)
{
    SetHot(-1);
}

bool VeCmdBarCtrlBase::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        const int index = ButtonAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, m_buttons[size_t(index)].rect);
        return true;
    }
    return VeViewBase::event(event);
}

} // namespace tessary
