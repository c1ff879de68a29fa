#pragma once
// Page 1 of the main page stack: one open album under the command bar. The view refers to
// the album (the main view owns it) from SetAlbum to Clear. UI thread only.

#include "views/frame/VeViewBase.h"

namespace tessary {

class Album;
class VeCmdBarCtrlBase;

class VeAlbumViewBase : public VeViewBase {
    Q_OBJECT
public:
    explicit VeAlbumViewBase(QWidget* parent = nullptr);

    // Shows the album (clearing the one shown before).
    void SetAlbum(Album* album);
    // Lets go of the album.
    void Clear();
    Album* GetAlbum() const { return m_album; }

    VeCmdBarCtrlBase& CommandBar() { return *m_commandBar; }
    // The item list of the middle pane (paste and refresh go there), or null while there is
    // none.
    QWidget* ItemList() const { return nullptr; }

    bool HandleCommand(int commandId) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    VeCmdBarCtrlBase* m_commandBar;
    Album* m_album = nullptr;
};

} // namespace tessary
