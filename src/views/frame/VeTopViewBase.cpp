#include "VeTopViewBase.h"

#include <QPaintEvent>
#include <QPainter>

#include "StripBackground.h"
#include "WTL_PageStack.h"
#include "views/common/NotifyCodes.h"
#include "views/search/VeSearchBoxCtrlBase.h"

namespace tessary {

VeTopViewBase::VeTopViewBase(QWidget* parent)
    : QWidget(parent), m_tabs(new VeTabCtrl(this)), m_searchBox(new VeSearchBoxCtrlBase(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_tabs->SetOwner(this);
    connect(m_tabs, &VeTabCtrl::Notify, this, &VeTopViewBase::OnTabsNotify);
    LayOut();
}

QRect VeTopViewBase::SearchBoxRect(QSize size, int tabsWidth)
{
    int left = tabsWidth + kSearchBoxGap;
    int right = size.width() - kSearchBoxRightMargin;
    if (right - left > kSearchBoxMaxWidth)
        left = right - kSearchBoxFixedWidth;
    if (right - left < kSearchBoxMinWidth)
        right = left + kSearchBoxMinWidth;
    const int top = (size.height() - kSearchBoxHeight) / 2;
    return QRect(left, top, right - left, kSearchBoxHeight);
}

int VeTopViewBase::SelectedTab() const
{
    return m_stack ? m_stack->ActiveIndex() : -1;
}

bool VeTopViewBase::SwitchToTab(int index)
{
    return m_stack && m_stack->SelectPage(index);
}

void VeTopViewBase::OnTabsNotify(int code)
{
    if (code != kNotifySelChange)
        return;
    LayOut();
    update();
    emit PageChanged(SelectedTab());
}

void VeTopViewBase::LayOut()
{
    const int tabsWidth = m_tabs->GetTotalWidth();
    m_tabs->setGeometry(0, 0, tabsWidth, height());
    const bool show = SelectedTab() > 0;
    if (show)
        m_searchBox->setGeometry(SearchBoxRect(size(), tabsWidth));
    m_searchBox->setVisible(show);
}

void VeTopViewBase::resizeEvent(QResizeEvent*)
{
    if (m_background.size() != size())
        m_background = StripBackgroundImage(size());
    LayOut();
}

void VeTopViewBase::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_background);
}

} // namespace tessary
