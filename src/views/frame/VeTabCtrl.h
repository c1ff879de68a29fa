#pragma once
// The strip of page tabs at the top of the main window. Tabs run left to right from x = 15;
// each is as wide as its caption in the bold caption font plus 67 pixels (hidden tabs take
// no room). The owner knows which tab is selected and performs the switch; the strip only
// asks it. UI thread only.
//
// Notify(kNotifySelChange) follows every switch the owner agreed to.

#include <deque>

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

namespace tessary {

class DibImage;

// Performs tab switches for a VeTabCtrl.
class TabOwner {
public:
    virtual ~TabOwner() = default;
    // The index of the selected tab, or -1.
    virtual int SelectedTab() const = 0;
    // Switches to the tab's page; false refuses (the strip then changes nothing).
    virtual bool SwitchToTab(int index) = 0;
};

class VeTabCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstTabX = 15;
    static constexpr int kExtraTabWidth = 67;
    static constexpr int kImageX = 12;
    static constexpr int kImageSize = 32;
    static constexpr int kCaptionXWithImage = 52;
    static constexpr int kCaptionXWithoutImage = 8;

    explicit VeTabCtrl(QWidget* parent = nullptr);

    void SetOwner(TabOwner* owner) { m_owner = owner; }

    // Appends a tab; `image` is the resource id of its 32 x 32 icon, or 0.
    int AddTab(const QString& text, int id, int image, bool hidden);
    // Repaints when the state changes; false for an index out of range.
    bool SetHidden(int index, bool hidden);
    bool SetText(int index, const QString& text);
    bool IsHidden(int index) const;
    QString Text(int index) const;
    int TabId(int index) const;
    int TabCount() const { return int(m_tabs.size()); }

    // The first visible tab containing the point, or -1.
    int HitTest(const QPoint& point) const;
    // The tab's rectangle over the full client height (empty width when hidden); an
    // invalid rectangle for an index out of range.
    QRect GetTabRect(int index) const;
    // 15 plus the widths of all tabs.
    int GetTotalWidth() const;
    int HotTab() const { return m_hot; }

    // Asks the owner to switch to the tab. False for an index out of range, a hidden tab or
    // a refusal; true without notice when the tab is already selected.
    bool Select(int index);

    // The tab's picture as painted (background, shading and icon; no caption), for tests
    // of the shading. The painting draws the icon itself, at the screen's density.
    QImage RenderTabBuffer(int index, bool selected, bool hot, bool withIcon = true) const;

    QSize sizeHint() const override;

signals:
    void Notify(int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static QRect IconRect(const QSize& tab); // where a tab's icon goes within it
    struct Tab {
        QString text;
        int id = 0;
        int image = 0;
        bool hidden = false;
        QFont captionFont;
        QFont hotFont;
    };

    int TabWidth(const Tab& tab) const;
    void SetHot(int index);
    void RepaintTab(int index);
    const QImage& ParentBackground();

    std::deque<Tab> m_tabs;
    int m_hot = -1;
    TabOwner* m_owner = nullptr;
    QImage m_parentBackground;
};

// The tab shadings applied to a 24-bit buffer: selection (toward white in the inner columns,
// toward grey in the first and last column, weights growing with the square of the row) and
// hover (toward white). Rows are counted from the top.
void ApplyTabSelectionShading(DibImage& buffer);
void ApplyTabHoverShading(DibImage& buffer);

} // namespace tessary
