#pragma once
// The New Album dialog: the album name (edit 1035, at most 50 characters) and the folder the
// album folder is made in (edit 1037, with the "..." folder browser 1009).
//
// Settings: the dialog keeps the album numbering and the album folder of `settings` itself.
// Constructing it takes n = next album number, raises the stored number by one and proposes
// "My Album" (n <= 1) or "My Album n"; Cancel (button, Escape, close box) sets the stored number
// to max(stored - 1, 1); a valid OK whose name is "My Album N" with N >= the stored number
// raises it to N + 1. A folder picked with "..." becomes the stored album folder at once, even
// when the dialog is cancelled afterwards.
//
// OK trims both fields and checks, in order, the name, the folder (made with its parents; it
// must then be a folder) and that folder/name does not exist yet. A failed check shows its
// message (product caption, information icon) through `prompts` and keeps the dialog open with
// the offending field focused and its text selected; the folder made by the check stays.
// OK is enabled only while both fields hold text.
//
// One opening per dialog object: the numbering is taken at construction and settled by the
// first OK or Cancel.
// Ownership: `settings` and `prompts` must outlive the dialog. UI thread only.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace tessary {

struct Settings;
class UserPrompts;

class NewAlbumDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kNameEditId = 1035;
    static constexpr int kLocationEditId = 1037;
    static constexpr int kBrowseButtonId = 1009;
    static constexpr int kMaxNameLength = 50;
    // A name must be shorter than this.
    static constexpr int kNameLimit = 260;
    static inline const QString kDefaultNameBase = QStringLiteral("My Album");
    static inline const QString kBrowseTitle = QStringLiteral("Please select a folder:");

    NewAlbumDialog(Settings& settings, UserPrompts& prompts, QWidget* parent);

    // After exec() returned Accepted: the trimmed folder and album name (empty before).
    QString Location() const { return location_; }
    QString Name() const { return name_; }

    // The default name for album number n.
    static QString DefaultName(int n);
    // Whether `name` may name an album folder: shorter than kNameLimit, printable, and free
    // of \ / : * ? " < > | tab, carriage return and line feed.
    static bool IsValidName(const QString& name);
    // The number N of a name "My Album N", or -1 when the name is not of that form or N does
    // not fit an int.
    static int DefaultNameNumber(const QString& name);

    QLineEdit* NameEdit() const { return nameEdit_; }
    QLineEdit* LocationEdit() const { return locationEdit_; }
    QPushButton* BrowseButton() const { return browse_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void accept() override;
    void reject() override;

private:
    void UpdateOk();
    void Browse();
    // Shows `text`, then focuses `field` with its text selected.
    void Refuse(QLineEdit* field, const QString& text);

    Settings& settings_;
    UserPrompts& prompts_;
    QLineEdit* nameEdit_ = nullptr;
    QLineEdit* locationEdit_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QString location_;
    QString name_;
    bool closed_ = false;
};

} // namespace tessary
