#pragma once
// Page 0 of the main page stack, shown at start and whenever no album is open: the
// navigation column on the left, 200 pixels wide and full height, and the home panel
// filling the rest. UI thread only; the view owns both.

#include "views/frame/VeViewBase.h"

namespace tessary {

class HomePanel;
class VeHomeNaviCtrl;

class VeHomeView : public VeViewBase {
    Q_OBJECT
public:
    static constexpr int kNaviWidth = 200;

    explicit VeHomeView(QWidget* parent = nullptr);

    VeHomeNaviCtrl* Navi() const { return m_navi; }
    HomePanel* Panel() const { return m_panel; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    VeHomeNaviCtrl* m_navi;
    HomePanel* m_panel;
};

} // namespace tessary
