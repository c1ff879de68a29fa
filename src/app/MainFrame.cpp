#include "MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>

#include "CommandLinePacket.h"
#include "InstanceGuard.h"
#include "Settings.h"

namespace tessary {

MainFrame::MainFrame(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(InstanceGuard::InstanceName());
    setWindowTitle(QStringLiteral("Orvanne Tessary"));
    resize(920, 640);
    statusBar();
    const QScreen* screen = QGuiApplication::primaryScreen();
    Settings::Instance().Load(Settings::FilePath(), screen ? screen->availableGeometry() : QRect());
}

MainFrame::~MainFrame()
{
    // Failures stay silent: start-up has already warned when the folder cannot be made.
    Settings::Instance().Save(Settings::FilePath());
}

void MainFrame::OpenFromArgument(const QString& path)
{
    if (path.isEmpty())
        return;
    m_received.append(path);
    statusBar()->showMessage(path);
    // A scripting hook: TESSARY_HANDOVER_LOG names a file that gets each received path.
    const QByteArray log = qgetenv("TESSARY_HANDOVER_LOG");
    if (!log.isEmpty()) {
        QFile f(QString::fromLocal8Bit(log));
        if (f.open(QIODevice::Append | QIODevice::Text))
            f.write(path.toUtf8() + '\n');
    }
}

void MainFrame::Activate()
{
    if (isMinimized() || isMaximized() || isFullScreen())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

char MainFrame::HandleHandOver(const QByteArray& message)
{
    Activate();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
        return 0;
    }
    if (message.isEmpty())
        return 1;
    const QStringList paths = CommandLinePacket::Parse(message);
    if (paths.isEmpty())
        return 0;
    OpenFromArgument(paths.first());
    return 1;
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::exit(1);
}

} // namespace tessary
