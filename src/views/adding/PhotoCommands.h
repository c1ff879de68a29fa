#pragma once
// The item list's commands that act on the album's files: Add Photos, Paste, Drop, Delete and
// Send to Folder, with their questions and messages. The album work itself is in
// album/PhotoOperations.h; the item list selects the new rows, removes deleted rows and keeps
// the keyboard focus itself.
//
// Target collection: null (or the add-placeholder) means none is selected and nothing
// happens; "All Collections" is refused with a message. UI thread only.

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

class QMimeData;
class QWidget;

namespace tessary {

class Collection;
class Item;
class UserPrompts;

class PhotoCommands {
public:
    // From this many files on, adding asks first.
    static constexpr int kConfirmAddCount = 20;

    // `prompts` must outlive the commands.
    explicit PhotoCommands(UserPrompts& prompts) : m_prompts(&prompts) {}

    // The file dialog; the chosen files are added without filtering. The new items.
    std::vector<Item*> AddPhotos(QWidget* owner, Collection* target);
    // The clipboard's file list, filtered behind the progress dialog, then added. When the
    // filter completed and nothing was added, says that the paste failed.
    std::vector<Item*> Paste(QWidget* owner, Collection* target, const QMimeData* clipboard);
    // As Paste, silent when nothing was added.
    std::vector<Item*> Drop(QWidget* owner, Collection* target, const QMimeData* data);
    // Asks before adding 20 files or more; nothing when the user declines. Files that cannot
    // be added are skipped silently. The new items in order.
    std::optional<std::vector<Item*>> AddPathList(QWidget* owner, Collection& target, const QStringList& paths);

    // The delete question for the items (one named, or their count); true on Yes, false
    // also when nothing is selected. The caller takes its rows out, then removes the items
    // (album/PhotoOperations.h).
    bool ConfirmDelete(QWidget* owner, const std::vector<Item*>& selected);
    // Asks for a folder (starting at the one chosen last in this run) and copies the items'
    // photos into it, never overwriting. The number copied.
    int SendToFolder(QWidget* owner, const std::vector<const Item*>& selected);

    // The folder chosen last for Send to Folder in this run; empty at start, never saved.
    static QString& LastSendFolder();

    // The local files of a clipboard or drag file list; empty when it offers none.
    static QStringList LocalFiles(const QMimeData* data);

private:
    bool AcceptsPhotos(QWidget* owner, const Collection* target);
    std::optional<std::vector<Item*>> FilterAndAdd(QWidget* owner, Collection& target, const QStringList& paths);

    UserPrompts* m_prompts;
};

} // namespace tessary
