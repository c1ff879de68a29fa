#pragma once
// The image view: shows one photo of a list, fitted into its client area (never enlarged
// unless asked), centred, and steps through the list with the keys and the mouse wheel:
//   Backspace, Page Up, Left, Up: previous     Space, Page Down, Right, Down: next
//   Home: first      End: last      Enter, Escape, left button: CloseRequested
// Key repeats are ignored; the wheel turned away from the user shows the previous photo,
// towards the user the next (one step per notch). There is no wrapping at the ends.
//
// Photos are decoded off the UI thread (ViewerReadAhead): until the new photo is ready the
// previous one (or a blank) stays on screen; the neighbours are decoded ahead. A photo that
// cannot be decoded shows kCannotShowText centred instead, and stepping goes on.
//
// The photo is rendered into an off-screen image of its display size (over the checkerboard
// or the background colour, see ViewFrame.h) whenever the photo, the options or the client
// size change; painting only copies that image. UI thread only; the control owns its cache.

#include <QImage>
#include <QStringList>
#include <QWidget>

#include "views/viewer/ViewFrame.h"
#include "views/viewer/ViewerReadAhead.h"

namespace tessary {

class VeImgViewCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr char kCannotShowText[] = "This photo cannot be shown.";
    static constexpr int kWheelNotch = 120;

    // `workers` and `load` go to the decoder (tests give a load function they control).
    explicit VeImgViewCtrl(QWidget* parent = nullptr, int workers = ViewerDecoder::kDefaultWorkers,
                           ViewerDecoder::LoadFunction load = {});
    ~VeImgViewCtrl() override;

    // A new list; shows the photo at `index` (clamped to the list). An empty list shows a
    // blank.
    void SetPhotos(const QStringList& paths, int index);
    // Forgets the list, the images and any decode still queued; shows a blank.
    void Clear();
    // Makes `index` current (nothing for an index outside the list). False when it was not
    // in the list or already current.
    bool ShowPhoto(int index);
    bool Next() { return ShowPhoto(m_index + 1); }
    bool Previous() { return ShowPhoto(m_index - 1); }

    int Count() const { return int(m_readAhead.Paths().size()); }
    int CurrentIndex() const { return m_index; }
    // What is on screen: the index of the photo (or message) drawn, -1 for a blank; whether
    // it is the message; the photo's rectangle in the client (empty without a photo).
    int DisplayedIndex() const { return m_displayed; }
    bool ShowsMessage() const { return m_message; }
    QRect PhotoRect() const;

    const ViewOptions& Options() const { return m_options; }
    void SetEnlargeSmallImages(bool on);
    void SetShowTransparency(bool on);
    void SetBackgroundColor(DibColor colour);
    // Whether Enter, Escape and the left button may ask to close (on by default).
    void SetCloseAllowed(bool on) { m_closeAllowed = on; }
    bool CloseAllowed() const { return m_closeAllowed; }

    ViewerReadAhead& ReadAhead() { return m_readAhead; }

signals:
    void CloseRequested();
    // The current photo changed (not necessarily shown yet).
    void CurrentChanged(int index);
    // The off-screen image or the message now shows photo `index`.
    void Displayed(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    DibSize ClientSize() const;
    void OnReady(int index);
    // Renders the current photo when it is ready, else keeps what is shown.
    void UpdateFrame();
    void RequestClose();

    ViewerReadAhead m_readAhead;
    ViewOptions m_options;
    int m_index = -1;
    int m_displayed = -1;
    bool m_message = false;
    bool m_closeAllowed = true;
    int m_wheel = 0;
    // The rendered photo in a format the painter copies without converting.
    QImage m_frame;
};

} // namespace tessary
