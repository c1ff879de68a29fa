#pragma once
// How the desktop knows the program: the name of its desktop entry and its window icon. UI
// thread, after the application object is made.

#include <QIcon>

#include "AppFolders.h"

class QGuiApplication;

namespace tessary {

// The icon theme's icon named by kDesktopId when the theme has one (an installed program),
// otherwise the embedded drawings at every size (a build tree, or a desktop without the theme).
QIcon ApplicationIcon();

// Sets the desktop file name, so that the window manager matches windows to the entry, and
// the application's window icon.
void SetUpDesktopIdentity(QGuiApplication& app);

} // namespace tessary
