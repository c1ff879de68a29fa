#include "VeListBox.h"

#include <QPalette>

namespace tessary {

VeListBox::VeListBox(QWidget* parent) : RowListBase(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    // A plain box frame is drawn in the foreground colour.
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, kBorderColor);
    setPalette(palette);
}

} // namespace tessary
