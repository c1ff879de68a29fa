#include <QApplication>
#include <QMessageBox>

#include "AppFolders.h"
#include "DesktopIdentity.h"
#include "InstanceGuard.h"
#include "MainFrame.h"
#include "ScriptedPromptsFromEnvironment.h"
#include "thumbcache/ThumbCacheStore.h"
#include "views/common/SharedFonts.h"

using namespace tessary;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(AppFolders::ProductName());
    app.setOrganizationName(QStringLiteral("Orvanne"));
    app.setQuitOnLastWindowClosed(false);
    SetUpDesktopIdentity(app);

    const FolderSetupResult folders = SetUpFolders();
    if (folders.appDataFailed)
        QMessageBox::information(nullptr, QStringLiteral("Information"),
                                 QStringLiteral("Failed to create directory for application data!\n"
                                                "User settings will not be saved."));
    if (folders.tempFailed)
        QMessageBox::information(nullptr, QStringLiteral("Information"),
                                 QStringLiteral("Failed to create directory for application temp data!"));
    ThumbCacheStore::SetStoreFolder(AppFolders::TempFolder());

    const QStringList args = app.arguments().mid(1);
    InstanceGuard guard;
    if (guard.Check(args) == InstanceGuard::Decision::HandedOver)
        return 0;

    RegisterInterfaceFonts();
    // Menus, message boxes and dialogs in the interface font too.
    app.setFont(SharedFonts::Normal());
    MainFrame frame(nullptr, ScriptedPromptsFromEnvironment::FromEnvironment());
    guard.Serve([&frame](const QByteArray& message) { return frame.HandleHandOver(message); });

    // An album named on the command line opens before the window first shows.
    const QString path = InstanceGuard::PathToOpen(args);
    if (!path.isEmpty())
        frame.OpenFromArgument(path);
    frame.Start();

    return app.exec();
}
