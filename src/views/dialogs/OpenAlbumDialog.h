#pragma once
// The Open Album dialog: the banner (1027), the recent albums as a RecentAlbumList (1029),
// "Browse..." (1026), OK and Cancel. Resizable down to its initial size; it reopens where and
// as large as it was when last closed during the run, centred over its owner the first time.
//
// OK (enabled only while a row is selected) and a double-click on a row end the dialog as
// Accepted with that row's path; Browse... asks `prompts` for an album file and ends it as
// Accepted with the chosen file. The context menu of a non-empty list (menu 250) opens or
// copies the path of the selected row, or, after a confirmation, clears the list: that
// empties `recentAlbums` itself (the caller's list) as well as the rows.
//
// Display names: the rows first show their file titles; an AlbumNameReader started by the
// constructor reads the stored names on its thread and posts them here, and each arriving
// non-empty name replaces its row's title. Closing the dialog asks the reader to stop; the
// destructor joins it (waiting at most for the file being read), so no event is posted
// after the dialog is gone.
//
// Ownership: `recentAlbums` and `prompts` must outlive the dialog. UI thread only.

#include <memory>

#include <QDialog>
#include <QRect>
#include <QStringList>

class QLabel;
class QMenu;
class QPushButton;

namespace tessary {

class AlbumNameReader;
class RecentAlbumList;
class RecentAlbumRow;
class UserPrompts;

class OpenAlbumDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kBannerId = 1027;
    static constexpr int kListId = 1029;
    static constexpr int kBrowseButtonId = 1026;
    static inline const QString kClearQuestion =
        QStringLiteral("Are you sure you want to clear the recent photo album list?");
    static inline const QString kClearCaption = QStringLiteral("Confirm Clear");

    OpenAlbumDialog(QStringList& recentAlbums, UserPrompts& prompts, QWidget* parent);
    ~OpenAlbumDialog() override;

    // The album to open after exec() returned Accepted; empty otherwise.
    QString ChosenPath() const { return chosenPath_; }

    // The context menu for a press with `rowUnderCursor` (null: none), its items enabled by
    // the rules of the list; the caller owns it.
    std::unique_ptr<QMenu> BuildContextMenu(const RecentAlbumRow* rowUnderCursor);
    // Runs a command of the context menu (0 and unknown ids: nothing).
    void RunCommand(int commandId);

    // The geometry the next dialog opens with; invalid until one has been closed. The reset
    // is for tests.
    static QRect RememberedGeometry();
    static void ForgetGeometry();

    RecentAlbumList* List() const { return list_; }
    QLabel* Banner() const { return banner_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* BrowseButton() const { return browse_; }
    QPushButton* CancelButton() const { return cancel_; }

    void accept() override;
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void UpdateOk();
    void Browse();
    void OpenRow(const RecentAlbumRow* row);
    void ShowContextMenu(const QPoint& globalPos, RecentAlbumRow* row);
    void CopySelectedPath();
    void ClearList();
    void PlaceOnFirstShow();

    QStringList& recentAlbums_;
    UserPrompts& prompts_;
    QLabel* banner_ = nullptr;
    RecentAlbumList* list_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::unique_ptr<AlbumNameReader> reader_;
    QString chosenPath_;
    bool placed_ = false;
};

} // namespace tessary
