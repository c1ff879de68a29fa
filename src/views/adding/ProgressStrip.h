#pragma once
// The progress area of the "Filtering Files..." dialog: a picture strip that scrolls to the
// right by a few pixels per step and wraps at the area's width, for work whose length is not
// known. UI thread only.

#include <QWidget>

namespace tessary {

class ProgressStrip : public QWidget {
    Q_OBJECT
public:
    explicit ProgressStrip(QWidget* parent = nullptr);

    int Offset() const { return m_offset; }
    // Moves the picture by `pixels`, wrapping at the width, and repaints.
    void Advance(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_offset = 0;
};

} // namespace tessary
