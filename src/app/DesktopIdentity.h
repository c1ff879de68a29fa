#pragma once
// How the desktop knows the program: the id of its desktop entry (also the name of its icon
// in the icon theme and of its AppStream component) and the window icon. UI thread, after
// the application object is made.

#include <QIcon>

class QGuiApplication;

namespace tessary {

inline constexpr char kDesktopId[] = "com.orvanne.Tessary";

// The icon theme's icon of that name when the theme has one (an installed program), otherwise
// the embedded drawings at every size (a build tree, or a desktop without the theme).
QIcon ApplicationIcon();

// Sets the desktop file name, so that the window manager matches windows to the entry, and
// the application's window icon.
void SetUpDesktopIdentity(QGuiApplication& app);

} // namespace tessary
