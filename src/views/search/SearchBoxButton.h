#pragma once
// One of the search box's two small buttons: its glyph centred on the box's fill, a lighter
// fill while the pointer is over it, and `Clicked` when a left press is released over it.
// It never takes the keyboard focus, so pressing it leaves the edit focused. UI thread only.

#include <QImage>
#include <QWidget>

namespace tessary {

class SearchBoxButton : public QWidget {
    Q_OBJECT
public:
    // `glyphId`: the artwork drawn in the middle.
    SearchBoxButton(int glyphId, QWidget* parent);

    // The fill behind the glyph (the box's text-area fill of the moment).
    void SetFill(const QColor& fill);
    bool IsHot() const { return m_hot; }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int m_glyphId;
    QColor m_fill{Qt::white};
    bool m_hot = false;
    bool m_pressed = false;
};

} // namespace tessary
