#include "VeHomeView.h"

#include <algorithm>

#include "HomePanel.h"
#include "VeHomeNaviCtrl.h"

namespace tessary {

VeHomeView::VeHomeView(QWidget* parent)
    : VeViewBase(parent), m_navi(new VeHomeNaviCtrl(this)), m_panel(new HomePanel(this))
{
}

void VeHomeView::resizeEvent(QResizeEvent*)
{
    m_navi->setGeometry(0, 0, kNaviWidth, height());
    m_panel->setGeometry(kNaviWidth, 0, std::max(0, width() - kNaviWidth), height());
}

} // namespace tessary
