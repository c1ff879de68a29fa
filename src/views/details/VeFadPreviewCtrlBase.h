#pragma once
// The preview at the top of the details pane: the shown item's preview thumbnail, fitted and
// centred, drawn through PreviewThumbnails, which posts kThumbReadyEvent here when it has made
// it. UI thread only; the key and path are copies.

#include <QString>
#include <QWidget>

namespace tessary {

class VeFadPreviewCtrlBase : public QWidget {
    Q_OBJECT
public:
    explicit VeFadPreviewCtrlBase(QWidget* parent = nullptr);
    // The photo to show (key 0: none).
    void SetPhoto(int32_t key, const QString& path);
    int32_t Key() const { return m_key; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t m_key = 0;
    QString m_path;
};

} // namespace tessary
