#pragma once
// The main window's client: the top strip with the page tabs over the main page stack,
// which holds the home view (page 0) and the album view (page 1). It owns the one open
// album from open or create until close; the album view only refers to it. UI thread only.

#include <memory>

#include <QString>

#include "VeViewBase.h"

namespace tessary {

class Album;
class VeAlbumViewBase;
class VeHomeView;
class VeTopViewBase;
class WTL_PageStack;

class VeMainView : public VeViewBase {
    Q_OBJECT
public:
    static constexpr int kHomePage = 0;
    static constexpr int kAlbumPage = 1;

    explicit VeMainView(QWidget* parent = nullptr);
    ~VeMainView() override;

    // Loads the album file. Refused while an album is open or when the file does not exist;
    // a failed load leaves no album open. On success the album tab shows the album's name
    // and the album view shows the album; the page shown does not change. The file is read
    // on a worker while the window keeps painting (see BusyWork.h).
    bool OpenAlbum(const QString& path);
    // A new album in `folder` (made with its parents) named `name`, with `albumId`, shown
    // on the album page. Refused while an album is open, for an empty folder or name, or
    // when the folder cannot be made. Nothing is written until the album is saved.
    bool CreateAlbum(const QString& folder, const QString& name, int albumId);
    // Hides the album tab and returns to the home page, empties the album view and destroys
    // the album. Nothing is saved.
    void CloseAlbum();

    Album* GetAlbum() const { return m_album.get(); }
    bool HasAlbum() const { return bool(m_album); }

    // Through the tabs (a hidden tab cannot be shown).
    bool ShowPage(int index);
    int CurrentPage() const;

    VeTopViewBase& TopStrip() { return *m_top; }
    WTL_PageStack& Pages() { return *m_pages; }
    VeHomeView& HomeView() { return *m_home; }
    VeAlbumViewBase& AlbumView() { return *m_albumView; }

    // Commands go to the active page.
    bool HandleCommand(int commandId) override;

signals:
    void PageChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowAlbumTab(const QString& caption);

    VeTopViewBase* m_top;
    WTL_PageStack* m_pages;
    VeHomeView* m_home;
    VeAlbumViewBase* m_albumView;
    std::unique_ptr<Album> m_album;
};

} // namespace tessary
