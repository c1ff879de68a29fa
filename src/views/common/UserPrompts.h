#pragma once
// Every question, message and chooser the photo commands put before the user, behind one
// interface so that tests (and scripted use) can answer without a window blocking. The
// default implementation shows the real dialogs. UI thread only.

#include <optional>

#include <QMessageBox>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace tessary {

struct MessageBoxSpec {
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
};

// The caption of information and error messages.
inline constexpr char kProductCaption[] = "Orvanne Tessary";

// The open-file filter of album files.
inline constexpr char kAlbumFileFilter[] = "Orvanne Photo Album (*.tsy)";

// An information message with the product caption and an OK button.
MessageBoxSpec InformationMessage(const QString& text);
// Where a message box of `box` size goes: centred over the owner's window, or over the work
// area when there is no owner or it is hidden or minimised, and kept inside the work area.
QRect CenteredMessageRect(const QSize& box, const QWidget* owner, const QRect& workArea);

// An error message with an OK button.
MessageBoxSpec ErrorMessage(const QString& text, const QString& caption);
// A Yes/No question with a question icon and No as the default.
MessageBoxSpec YesNoQuestion(const QString& text, const QString& caption);

// The name filters of the Add Photos dialog, the last one ("All Supported Formats") chosen.
QStringList AddPhotosNameFilters();

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A modal message box centred on its owner; the button pressed (Escape gives No on a
    // Yes/No box).
    virtual QMessageBox::StandardButton ShowMessage(QWidget* owner, const MessageBoxSpec& recipe);
    // The files chosen in the Add Photos dialog, in the dialog's order; empty on Cancel.
    virtual QStringList ChooseFiles(QWidget* owner);
    // A folder chosen in the folder browser, starting at `start` when it is not empty;
    // empty on Cancel.
    virtual QString ChooseFolder(QWidget* owner, const QString& title, const QString& start);
    // An existing album file chosen in the open-file dialog (filter kAlbumFileFilter); empty
    // on Cancel.
    virtual QString ChooseAlbumFile(QWidget* owner);
    // The pasted or dropped paths filtered behind the "Filtering Files..." dialog: the
    // accepted files, or nothing when the user cancelled.
    virtual std::optional<QStringList> FilterPaths(QWidget* owner, const QStringList& paths);
};

} // namespace tessary
