#pragma once
// The main window. Its client is the main view (page tabs over the home and album pages),
// which holds the one open album; the frame decides when albums are created, opened, saved
// and closed, keeps the recent-albums list and the title, carries the application commands
// (menu 128 and its accelerators, as QActions with the command ids) and restores and stores
// the window placement. Every close of an album is preceded by a successful save; a failed
// save keeps the album (and the window) open. While photos are viewed the full-window
// viewer takes the main view's place; a close request then only leaves the viewer. UI
// thread only.

#include <map>
#include <memory>

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include "FrameDialogs.h"
#include "views/common/CommandEvent.h"
#include "views/common/UserPrompts.h"

class QAction;
class QStackedWidget;

namespace tessary {

class VeFadViewerBase;
class VeMainView;

class MainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    // Reads the settings file into Settings::Instance() and copies the recent albums. The
    // window stays hidden until Start. `prompts` and `dialogs` (both optional) replace the
    // real message boxes and dialogs; the frame keeps them.
    explicit MainFrame(QWidget* parent = nullptr, std::unique_ptr<UserPrompts> prompts = nullptr,
                       std::unique_ptr<FrameDialogs> dialogs = nullptr);
    // Stores the recent albums and writes the settings file: the window's final destruction.
    ~MainFrame() override;

    // Schedules the first idle moment: reopening the last album when the settings ask for it,
    // showing the window and restoring its placement.
    void Start();
    // Runs the first idle moment now (once).
    void FirstIdle();

    // The album lifecycle. Open: refused while an album is open; the path is normalised and
    // made absolute; a failure shows the "Error opening" message unless quiet, and the path
    // leaves the recent list either way.
    bool OpenAlbum(const QString& path, bool quiet, bool showAlbumPage);
    // Success without an album; a failure shows the "Error saving file" message.
    bool SaveAlbum();
    // With `ask`, the close question first (No stops); then the album is saved. True when
    // the caller may go on and close the album.
    bool CloseWithQuestion(bool ask);
    // Shows the home page and destroys the album; nothing is saved here.
    void CloseAlbum();
    // Opening from the command line or a hand-over: nothing for the album already open, the
    // close question when another one is open.
    void OpenFromArgument(const QString& path);
    // Handles one hand-over message; returns 1 when it was accepted, 0 when a modal dialog
    // was up or the window was busy (the dialog is brought to the front, nothing opened).
    char HandleHandOver(const QByteArray& message);

    // Recent albums, most recent first, no two naming the same file.
    const QStringList& RecentAlbums() const { return m_recent; }
    void AddRecent(const QString& path);
    void RemoveRecent(const QString& path);

    // "Orvanne Tessary", followed by " - [name]" while an album is open.
    void UpdateTitle();

    bool HandleCommand(int commandId) override;
    // The action of a command of the menu or the accelerators, or null.
    QAction* Action(int commandId) const;

    // The full-window viewer in place of the main view: the main view is hidden, the viewer
    // shown and focused, showing photoPaths[startIndex] (clamped). An empty list does nothing.
    void OpenViewer(const QStringList& photoPaths, int startIndex);
    // Shows the main view again and gives the focus back to the widget that had it when the
    // viewer opened, if that one is still visible; the viewer lets its photos go.
    void CloseViewer();
    bool IsViewerShown() const;
    VeFadViewerBase& Viewer() { return *m_viewer; }

    VeMainView& MainView() { return *m_mainView; }
    UserPrompts& Prompts() { return *m_prompts; }
    // The paths the frame was asked to open, from the command line or from later starts.
    const QStringList& ReceivedPaths() const { return m_received; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenusAndAccelerators();
    void OnNew();
    void OnOpen();
    void OnFind();
    void OnPaste();
    void OnRefresh();
    void OnNewInstance();
    void RestorePlacement();
    void StorePlacement();
    void Activate();

    VeMainView* m_mainView;
    // The client area: the main view or the viewer.
    QStackedWidget* m_client;
    VeFadViewerBase* m_viewer;
    QPointer<QWidget> m_focusBeforeViewer;
    std::unique_ptr<UserPrompts> m_prompts;
    std::unique_ptr<FrameDialogs> m_dialogs;
    std::map<int, QAction*> m_actions;
    QStringList m_recent;
    QStringList m_received;
    bool m_firstShow = true;
    bool m_placementRestored = false;
};

} // namespace tessary
