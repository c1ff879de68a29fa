#include "MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QDir>

#include "CommandLinePacket.h"
#include "InstanceGuard.h"
#include "Settings.h"
#include "album/Album.h"
#include "util/Paths.h"
#include "util/Text.h"
#include "views/frame/VeMainView.h"

namespace tessary {

namespace {

constexpr char kTitle[] = "Orvanne Tessary";
constexpr char kTitleWithAlbum[] = " - [%1]";

} // namespace

MainFrame::MainFrame(QWidget* parent) : QMainWindow(parent), m_mainView(new VeMainView(this))
{
    setObjectName(InstanceGuard::InstanceName());
    setCentralWidget(m_mainView);
    UpdateTitle();
    resize(920, 640);
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
    // A scripting hook: TESSARY_HANDOVER_LOG names a file that gets each received path.
    const QByteArray log = qgetenv("TESSARY_HANDOVER_LOG");
    if (!log.isEmpty()) {
        QFile f(QString::fromLocal8Bit(log));
        if (f.open(QIODevice::Append | QIODevice::Text))
            f.write(path.toUtf8() + '\n');
    }
    if (m_mainView->HasAlbum())
        return;
    const QString absolute = QDir::current().absoluteFilePath(NormalizePath(path));
    if (m_mainView->OpenAlbum(absolute))
        m_mainView->ShowPage(VeMainView::kAlbumPage);
    UpdateTitle();
}

void MainFrame::UpdateTitle()
{
    QString title = QString::fromLatin1(kTitle);
    if (const Album* album = m_mainView->GetAlbum())
        title += FillPlaceholder(QString::fromLatin1(kTitleWithAlbum), album->Name());
    setWindowTitle(title);
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
