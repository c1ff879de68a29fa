#pragma once
// The search box's place in the top strip, drawn as an inactive search box with its cue
// text, until the box itself is put there. UI thread only.

#include <QWidget>

namespace tessary {

class SearchBoxPlaceholder : public QWidget {
    Q_OBJECT
public:
    explicit SearchBoxPlaceholder(QWidget* parent = nullptr);

    void SetCue(const QString& cue);
    const QString& Cue() const { return m_cue; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_cue;
};

} // namespace tessary
