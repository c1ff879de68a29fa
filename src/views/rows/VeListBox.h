#pragma once
// VeListBox: the plain row list, a RowListBase inside a one-pixel border. Rows are added by
// its owner (any Row kind); row height, selection and notifications are the base's.
// UI thread only; the list owns its rows, its parent owns the list.

#include <QColor>

#include "views/rows/RowListBase.h"

namespace tessary {

class VeListBox : public RowListBase {
    Q_OBJECT

public:
    static inline const QColor kBorderColor{0xA7, 0xB2, 0xC4};

    explicit VeListBox(QWidget* parent = nullptr);
};

} // namespace tessary
