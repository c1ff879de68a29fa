#include "DesktopIdentity.h"

#include <QGuiApplication>
#include <QPixmap>

#include "imagefiles/AppResources.h"

namespace tessary {

namespace {
// The sizes res/CMakeLists.txt embeds as ":/tessary/APPICON/<size>".
constexpr int kEmbeddedSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
}

QIcon ApplicationIcon()
{
    const QString name = QString::fromLatin1(kDesktopId);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    QIcon icon;
    for (int size : kEmbeddedSizes) {
        QPixmap pixmap;
        if (pixmap.loadFromData(ResourceData(size, QStringLiteral("APPICON")), "PNG"))
            icon.addPixmap(pixmap);
    }
    return icon;
}

void SetUpDesktopIdentity(QGuiApplication& app)
{
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    app.setWindowIcon(ApplicationIcon());
}

} // namespace tessary
