#pragma once
// Page 0 of the main page stack, shown at start and whenever no album is open. UI thread
// only.

#include "views/frame/VeViewBase.h"

namespace tessary {

class VeHomeView : public VeViewBase {
    Q_OBJECT
public:
    explicit VeHomeView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessary
