#pragma once
// A link of the home page's navigation column: a glyph at the left edge and a caption
// 8 pixels right of it, both centred vertically. The caption is drawn in the link font and
// the hover colour while the mouse is over the link, otherwise in the normal font and
// colour. A click (press and release over the link) opens the web page the link points to,
// or posts its command to the top-level window. UI thread only.

#include <optional>

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include "views/common/WebPages.h"

class QFontMetrics;

namespace tessary {

class VeHyperLinkCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCaptionGap = 8;
    static constexpr QColor kNormalColor = QColor(0x3D, 0x4B, 0x66);
    static constexpr QColor kHotColor = QColor(0x32, 0x78, 0xDC);

    explicit VeHyperLinkCtrl(QWidget* parent = nullptr);

    // Each setter resizes the link to its SizeFor size.
    // `glyphId`: the artwork left of the caption (0: none).
    void SetGlyph(int glyphId);
    void SetCaption(const QString& caption);
    const QString& Caption() const { return m_caption; }

    // What a click does: open the page, or (without a page) post the command to window().
    void SetTarget(WebPage page);
    void SetCommand(int commandId);
    std::optional<WebPage> Target() const { return m_target; }
    int Command() const { return m_command; }

    // Drawn behind glyph and caption from the link's top-left corner; white where it is
    // null or smaller than the link.
    void SetBackground(const QImage& background);

    bool IsHot() const { return m_hot; }
    const QFont& CaptionFont() const;
    QColor CaptionColor() const { return m_hot ? kHotColor : kNormalColor; }

    // Glyph width + 8 + caption width, and the larger of glyph and text height; the
    // caption measured in `metrics` (the normal font's).
    static QSize SizeFor(const QSize& glyph, const QString& caption, const QFontMetrics& metrics);
    QSize sizeHint() const override;

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetHot(bool hot);
    void Activate();
    const QImage& Glyph() const; // the 1x artwork, for layout

    int m_glyphId = 0;
    QString m_caption;
    QImage m_background;
    std::optional<WebPage> m_target;
    int m_command = 0;
    bool m_hot = false;
    bool m_pressed = false;
};

} // namespace tessary
