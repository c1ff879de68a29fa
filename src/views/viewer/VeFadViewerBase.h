#pragma once
// The full-window photo viewer: one VeImgViewCtrl filling the client area. The main frame
// makes it (hidden) and shows it in place of the main view when photos are opened; the
// image view's close request (Enter, Escape, left button) comes out as CloseRequested, on
// which the frame shows the main view again and calls Clear. UI thread only; the viewer
// owns its image view.

#include <QStringList>
#include <QWidget>

namespace tessary {

class VeImgViewCtrl;

class VeFadViewerBase : public QWidget {
    Q_OBJECT
public:
    // Created hidden.
    explicit VeFadViewerBase(QWidget* parent = nullptr);
    ~VeFadViewerBase() override;

    // The image view shows photoPaths[startIndex], the index clamped to the list. False, with
    // nothing changed, for an empty list.
    bool Open(const QStringList& photoPaths, int startIndex);
    // Forgets the photos: the decoded images are freed and queued decodes dropped.
    void Clear();

    VeImgViewCtrl& ImageView() { return *m_view; }

signals:
    void CloseRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    VeImgViewCtrl* m_view;
};

} // namespace tessary
