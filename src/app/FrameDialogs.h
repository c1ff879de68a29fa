#pragma once
// The main window's own dialogs (New Album, Open Album, About) behind one interface, so that
// tests answer them without a window blocking. The default runs the real dialogs. UI thread
// only.

#include <optional>

#include <QString>
#include <QStringList>

class QWidget;

namespace tessary {

struct Settings;
class UserPrompts;

class FrameDialogs {
public:
    struct NewAlbumChoice {
        QString location;
        QString name;
    };

    virtual ~FrameDialogs() = default;

    // The New Album dialog, which keeps the album number and folder in `settings`; nothing
    // on Cancel.
    virtual std::optional<NewAlbumChoice> NewAlbum(QWidget* owner, Settings& settings, UserPrompts& prompts);
    // The Open Album dialog over the recent albums (which Clear List may empty); the chosen
    // album file, or nothing on Cancel.
    virtual std::optional<QString> OpenAlbum(QWidget* owner, QStringList& recentAlbums, UserPrompts& prompts);
    virtual void About(QWidget* owner);
};

} // namespace tessary
