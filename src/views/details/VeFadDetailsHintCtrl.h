#pragma once
// Page 0 of the right stack: "Select a photo to view details." with its glyph, placed like the
// item list's empty hint. UI thread only.

#include <QWidget>

namespace tessary {

class VeFadDetailsHintCtrl : public QWidget {
    Q_OBJECT
public:
    static QString Text() { return QStringLiteral("Select a photo to view details."); }
    explicit VeFadDetailsHintCtrl(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessary
