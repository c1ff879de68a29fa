#pragma once
// The strip across the top of the main window: the page tabs at the left and, while a page
// other than Home is shown, the search box at the right. It paints the strip background
// (cached at its client size) and binds the tabs to the main page stack. UI thread only.

#include <QImage>
#include <QWidget>

#include "VeTabCtrl.h"
#include "views/search/VeSearchBoxCtrlBase.h"

namespace tessary {

class WTL_PageStack;

class VeTopViewBase : public QWidget, private TabOwner {
    Q_OBJECT
public:
    static constexpr int kHeight = 43;
    static constexpr int kSearchBoxGap = 20;
    static constexpr int kSearchBoxRightMargin = 4;
    static constexpr int kSearchBoxMaxWidth = 315;
    static constexpr int kSearchBoxFixedWidth = 316;
    static constexpr int kSearchBoxMinWidth = 100;
    static constexpr int kSearchBoxHeight = 22;

    explicit VeTopViewBase(QWidget* parent = nullptr);

    VeTabCtrl& Tabs() { return *m_tabs; }
    // Selecting tab i selects page i of the stack.
    void BindPageStack(WTL_PageStack* stack) { m_stack = stack; }

    // The search box; the strip owns it.
    VeSearchBoxCtrlBase* SearchBox() const { return m_searchBox; }

    // The search box rectangle for a strip of `size` whose tabs need `tabsWidth`: from
    // tabsWidth + 20 to the right edge - 4, cut to 316 from the right when wider than 315,
    // widened to 100 when narrower; 22 high, centred vertically.
    static QRect SearchBoxRect(QSize size, int tabsWidth);

    // Places the tabs (as wide as they need) and shows or hides the search box; called
    // again when a tab caption changes.
    void LayOut();

signals:
    // After the tabs switched pages.
    void PageChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int SelectedTab() const override;
    bool SwitchToTab(int index) override;
    void OnTabsNotify(int code);

    VeTabCtrl* m_tabs;
    VeSearchBoxCtrlBase* m_searchBox;
    WTL_PageStack* m_stack = nullptr;
    QImage m_background;
};

} // namespace tessary
