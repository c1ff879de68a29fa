// The window icon: the embedded drawings when the icon theme has no such icon, the theme's
// icon once one is installed under the desktop id.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include "app/DesktopIdentity.h"

using namespace tessary;

TEST(DesktopIdentity, EmbeddedIconAtEverySizeWithoutTheme)
{
    QIcon::setThemeSearchPaths({});
    const QIcon icon = ApplicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    EXPECT_EQ(sizes.size(), 8);
    EXPECT_EQ(icon.pixmap(QSize(48, 48)).size(), QSize(48, 48));
}

TEST(DesktopIdentity, ThemeIconWinsOnceInstalled)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString theme = root.filePath(QStringLiteral("hicolor"));
    ASSERT_TRUE(QDir().mkpath(theme + QStringLiteral("/16x16/apps")));
    QFile index(theme + QStringLiteral("/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Hicolor\nDirectories=16x16/apps\n\n"
                "[16x16/apps]\nSize=16\nContext=Applications\nType=Fixed\n");
    index.close();
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(theme + QStringLiteral("/16x16/apps/com.orvanne.Tessary.png")));

    const QStringList oldPaths = QIcon::themeSearchPaths();
    const QString oldName = QIcon::themeName();
    QIcon::setThemeSearchPaths({root.path()});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    const QIcon icon = ApplicationIcon();
    EXPECT_EQ(icon.name(), QString::fromLatin1(kDesktopId));
    EXPECT_EQ(icon.pixmap(QSize(16, 16)).toImage().pixelColor(8, 8), QColor(Qt::red));
    QIcon::setThemeSearchPaths(oldPaths);
    QIcon::setThemeName(oldName);
}

TEST(DesktopIdentity, SetsDesktopFileNameAndWindowIcon)
{
    QIcon::setThemeSearchPaths({});
    SetUpDesktopIdentity(*qGuiApp);
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("com.orvanne.Tessary"));
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
    EXPECT_EQ(QGuiApplication::windowIcon().availableSizes().size(), 8);
}
