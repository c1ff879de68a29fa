#include "WebPages.h"

#include <QDesktopServices>

namespace tessary {

namespace {

std::function<bool(const QUrl&)>& Opener()
{
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

} // namespace

QUrl WebPageUrl(WebPage page)
{
    switch (page) {
    case WebPage::MakerHome: return QUrl(QStringLiteral("https://www.orvanne.com/"));
    case WebPage::ProductHome: return QUrl(QStringLiteral("https://www.orvanne.com/tessary/"));
    case WebPage::OnlineHelp: return QUrl(QStringLiteral("https://www.orvanne.com/tessary/help/"));
    case WebPage::Tutorials: return QUrl(QStringLiteral("https://www.orvanne.com/tessary/tutorials/"));
    case WebPage::Contact: return QUrl(QStringLiteral("https://www.orvanne.com/contact/"));
    case WebPage::TellAFriend: return QUrl(QStringLiteral("https://www.orvanne.com/tessary/tell-a-friend/"));
    case WebPage::Donate: return QUrl(QStringLiteral("https://www.orvanne.com/tessary/donate/"));
    }
    return QUrl();
}

bool OpenWebPage(WebPage page)
{
    const QUrl url = WebPageUrl(page);
    if (Opener())
        return Opener()(url);
    return QDesktopServices::openUrl(url);
}

void SetWebPageOpener(std::function<bool(const QUrl&)> opener)
{
    Opener() = std::move(opener);
}

} // namespace tessary
