#pragma once
// Base of the program's views: a widget that takes commands (posted CommandEvents or
// SendCommand) through HandleCommand. UI thread only.

#include <QWidget>

#include "views/common/CommandEvent.h"

namespace tessary {

class VeViewBase : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    explicit VeViewBase(QWidget* parent = nullptr) : QWidget(parent) {}

    // Takes nothing; views override it for their commands.
    bool HandleCommand(int) override { return false; }

protected:
    bool event(QEvent* event) override
    {
        return DispatchCommandEvent(*this, event) || QWidget::event(event);
    }
};

} // namespace tessary
