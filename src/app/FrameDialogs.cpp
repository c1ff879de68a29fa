#include "FrameDialogs.h"

#include "views/dialogs/AboutDialog.h"
#include "views/dialogs/NewAlbumDialog.h"
#include "views/dialogs/OpenAlbumDialog.h"

namespace tessary {

std::optional<FrameDialogs::NewAlbumChoice> FrameDialogs::NewAlbum(QWidget* owner, Settings& settings,
                                                                   UserPrompts& prompts)
{
    NewAlbumDialog dialog(settings, prompts, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return NewAlbumChoice{dialog.Location(), dialog.Name()};
}

std::optional<QString> FrameDialogs::OpenAlbum(QWidget* owner, QStringList& recentAlbums, UserPrompts& prompts)
{
    OpenAlbumDialog dialog(recentAlbums, prompts, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.ChosenPath();
}

void FrameDialogs::About(QWidget* owner)
{
    AboutDialog dialog(owner);
    dialog.exec();
}

} // namespace tessary
