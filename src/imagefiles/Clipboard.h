#pragma once
// The clipboard as the program uses it: a list of files in (paste of photos), text out (album
// paths). No pixel data goes through the clipboard.
//
// Threads: the UI thread only, with a QGuiApplication running.

#include <QString>
#include <QStringList>

namespace tessary {

// The clipboard holds at least one local file.
bool ClipboardHasFiles();
// The local files the clipboard names, in its order (other URLs are left out); empty when it
// holds none.
QStringList ClipboardFiles();
// Replaces the clipboard's content with the text. False without a clipboard.
bool SetClipboardText(const QString& text);

} // namespace tessary
