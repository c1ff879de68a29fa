#pragma once
// The album page's command bar: one button per item of a menu resource, a left group
// before the first separator and a right group after it, pushed to the right edge. With
// three or more items the last two are icon-only, their menu text the tooltip. A click
// posts the button's command to the bar itself, which passes it on to the window that
// carries it out (or opens the button's drop-down menu). UI thread only.

#include <array>
#include <vector>

#include <QImage>
#include <QPointer>
#include <QString>

#include "VeViewBase.h"

class QFontMetrics;

namespace tessary {

class VeCmdBarCtrlBase : public VeViewBase {
    Q_OBJECT
public:
    static constexpr int kBarHeight = 31;
    static constexpr int kButtonTop = 1;
    static constexpr int kButtonHeight = 27;
    static constexpr int kSideMargin = 10;
    static constexpr int kButtonGap = 2;
    static constexpr int kHotCap = 14;
    static constexpr int kPressedCap = 11;

    struct Button {
        int commandId = 0;
        QString caption;     // empty for icon-only buttons
        QString tooltip;     // the menu text of icon-only buttons
        bool leftGroup = true;
        int dropDownMenu = 0; // menu resource shown under the button, 0 for none
        bool visible = true;
        QRect rect;
        std::array<QImage, 3> images; // normal, hot, pressed
    };

    // Builds the buttons from the menu resource.
    explicit VeCmdBarCtrlBase(int menuResource, QWidget* parent = nullptr);

    // Where the commands go. The frame defaults to the bar's top-level window.
    void SetFrameTarget(QObject* frame) { m_frame = frame; }
    void SetItemListTarget(QObject* itemList) { m_itemList = itemList; }
    void SetAlbumViewTarget(QObject* albumView) { m_albumView = albumView; }

    // Shows the "Hide Search Results" button only while search results are shown.
    void SetSearchState(bool resultsShown);
    bool SetButtonVisible(int commandId, bool visible);
    // A drop-down menu opens under the button instead of sending its command.
    bool SetDropDownMenu(int commandId, int menuResource);

    const std::vector<Button>& Buttons() const { return m_buttons; }
    const Button* FindButton(int commandId) const;
    int ButtonAt(const QPoint& point) const;
    int HotButton() const { return m_hot; }
    int PressedButton() const { return m_pressed; }
    // The tooltip shown at a point (empty outside icon-only buttons).
    QString ToolTipAt(const QPoint& point) const;

    // Width of a button: 40, less 20 without a glyph and 10 without a caption, plus the
    // caption; with n present elements (glyph, caption) or a drop-down, plus 6n + 9, less
    // 15 without a drop-down.
    static int ButtonWidth(bool hasGlyph, const QString& caption, bool dropDown, const QFontMetrics& metrics);

    bool HandleCommand(int commandId) override;
    QSize sizeHint() const override { return QSize(400, kBarHeight); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void LayOut();
    void ComposeImages(Button& button) const;
    void SetHot(int index);
    void RepaintButton(int index);
    void OpenDropDown(int index);
    QObject* FrameTarget() const;
    const QImage& Face();

    std::vector<Button> m_buttons;
    int m_hot = -1;
    int m_pressed = -1;
    int m_captured = -1;
    QImage m_face;
    QPointer<QObject> m_frame;
    QPointer<QObject> m_itemList;
    QPointer<QObject> m_albumView;
};

} // namespace tessary
