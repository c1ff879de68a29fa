#pragma once
// One of the home panel's large buttons: a 350 x 52 face from a three-state strip (normal,
// hot, pressed side by side) with the caption and a short second line drawn over the free
// area right of the icon. A click (release over the button that took the press) posts the
// button's command to the top-level window. UI thread only.

#include <array>

#include <QImage>
#include <QString>
#include <QWidget>

namespace tessary {

class HomeButton : public QWidget {
    Q_OBJECT
public:
    enum State { kNormal, kHot, kPressed };

    static constexpr int kTextLeft = 64;
    static constexpr int kTextRight = 12;

    // `strip` holds the three faces side by side, at its device pixel ratio; faces missing
    // from it stay blank.
    HomeButton(int controlId, int commandId, const QImage& strip, const QString& caption, const QString& detail,
               QWidget* parent = nullptr);

    int ControlId() const { return m_controlId; }
    int CommandId() const { return m_commandId; }
    const QString& Caption() const { return m_caption; }
    const QString& Detail() const { return m_detail; }
    State CurrentState() const;
    const QImage& Face(State state) const { return m_faces[size_t(state)]; }

    QSize sizeHint() const override;

signals:
    void Clicked(int commandId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetFlags(bool hot, bool captured);

    int m_controlId;
    int m_commandId;
    QString m_caption;
    QString m_detail;
    std::array<QImage, 3> m_faces;
    bool m_hot = false;
    bool m_captured = false; // the press started here and the button is still held
};

} // namespace tessary
