#pragma once
// The product's and the maker's web pages, opened in the default browser. Tests replace
// the opener to record the address instead. UI thread only.

#include <functional>

#include <QUrl>

namespace tessary {

enum class WebPage { MakerHome, ProductHome, OnlineHelp, Tutorials, Contact, TellAFriend, Donate };

QUrl WebPageUrl(WebPage page);

// Opens the address with the desktop's handler (or the installed opener); false when it
// could not be handed on.
bool OpenWebPage(WebPage page);

// Replaces the opener for the rest of the run (an empty function restores the default).
void SetWebPageOpener(std::function<bool(const QUrl&)> opener);

} // namespace tessary
