// The album lifecycle of the main window: create, open, save, close, and the recent list.
#include <QDir>
#include <QFile>

#include "FrameDialogs.h"
#include "MainFrame.h"
#include "Settings.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "util/Paths.h"
#include "util/Text.h"
#include "views/common/BusyWork.h"
#include "views/common/UserPrompts.h"
#include "views/frame/VeMainView.h"

namespace tessary {

namespace {

constexpr char kTitle[] = "Orvanne Tessary";
constexpr char kTitleWithAlbum[] = " - [%1]";
constexpr char kErrorCaption[] = "Error";

// Normalised and absolute against the current folder.
QString AbsoluteAlbumPath(const QString& path)
{
    const QString normalized = NormalizePath(path);
    return normalized.isEmpty() ? normalized : QDir::cleanPath(QDir::current().absoluteFilePath(normalized));
}

} // namespace

void MainFrame::UpdateTitle()
{
    QString title = QString::fromLatin1(kTitle);
    if (const Album* album = m_mainView->GetAlbum())
        title += FillPlaceholder(QString::fromLatin1(kTitleWithAlbum), album->Name());
    if (windowTitle() != title)
        setWindowTitle(title);
}

void MainFrame::AddRecent(const QString& path)
{
    RemoveRecent(path);
    m_recent.prepend(path);
}

void MainFrame::RemoveRecent(const QString& path)
{
    m_recent.removeIf([&path](const QString& entry) { return SamePath(entry, path); });
}

bool MainFrame::OpenAlbum(const QString& path, bool quiet, bool showAlbumPage)
{
    if (m_mainView->HasAlbum())
        return false;
    const QString absolute = AbsoluteAlbumPath(path);
    if (!absolute.isEmpty() && m_mainView->OpenAlbum(absolute)) {
        AddRecent(absolute);
        if (showAlbumPage)
            m_mainView->ShowPage(VeMainView::kAlbumPage);
        UpdateTitle();
        return true;
    }
    if (!quiet) {
        const QString text = QStringLiteral("Error opening \"") + absolute +
                             QStringLiteral("\"!\n\nFile does not exist or may be corrupted.");
        m_prompts->ShowMessage(this, ErrorMessage(text, QString::fromLatin1(kErrorCaption)));
    }
    RemoveRecent(path);
    RemoveRecent(absolute);
    return false;
}

bool MainFrame::SaveAlbum()
{
    const Album* album = m_mainView->GetAlbum();
    if (!album)
        return true;
    bool saved = false;
    {
        WaitCursor wait;
        saved = tessary::SaveAlbum(*album);
    }
    if (saved) {
        AddRecent(album->FilePath());
        return true;
    }
    m_prompts->ShowMessage(
        this, ErrorMessage(FillPlaceholder(QStringLiteral("Error saving file \"%1\"!"), album->FilePath()),
                           QString::fromLatin1(kErrorCaption)));
    return false;
}

bool MainFrame::CloseWithQuestion(bool ask)
{
    const Album* album = m_mainView->GetAlbum();
    if (ask && album) {
        QString text;
        if (m_mainView->CurrentPage() == VeMainView::kAlbumPage) {
            text = FillPlaceholder(QStringLiteral("Are you sure you want to close current album \"%1\"?"), album->Name());
        } else {
            text = FillPlaceholder(FillPlaceholder(QStringLiteral("To continue, album \"%1\" must be closed.\n\n"
                                                                  "Are you sure you want to close \"%2\"?"),
                                                   album->Name()),
                                   album->Name());
        }
        if (m_prompts->ShowMessage(this, YesNoQuestion(text, QString::fromLatin1(kProductCaption))) !=
            QMessageBox::Yes)
            return false;
    }
    return SaveAlbum();
}

void MainFrame::CloseAlbum()
{
    m_mainView->CloseAlbum();
    UpdateTitle();
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
    if (const Album* album = m_mainView->GetAlbum()) {
        if (SamePath(album->FilePath(), AbsoluteAlbumPath(path)))
            return;
        if (!CloseWithQuestion(true))
            return;
        CloseAlbum();
    }
    OpenAlbum(path, false, true);
}

void MainFrame::OnNew()
{
    if (!m_mainView->isVisible())
        return;
    if (!CloseWithQuestion(true))
        return;
    CloseAlbum();
    Settings& settings = Settings::Instance();
    const std::optional<FrameDialogs::NewAlbumChoice> choice = m_dialogs->NewAlbum(this, settings, *m_prompts);
    if (!choice)
        return;
    const QString folder = NormalizePath(choice->location + QLatin1Char('/') + choice->name);
    if (!QDir().mkpath(folder)) {
        m_prompts->ShowMessage(this, ErrorMessage(QStringLiteral("Error creating album folder:\n") + folder,
                                                  QString::fromLatin1(kProductCaption)));
        return;
    }
    if (!m_mainView->CreateAlbum(folder, choice->name, settings.nextAlbumId - 1)) {
        m_prompts->ShowMessage(this, ErrorMessage(QStringLiteral("Error creating album \"") + choice->name +
                                                      QStringLiteral("\" in folder:\n") + folder,
                                                  QString::fromLatin1(kProductCaption)));
        return;
    }
    m_mainView->ShowPage(VeMainView::kAlbumPage);
    UpdateTitle();
}

void MainFrame::OnOpen()
{
    if (!m_mainView->isVisible())
        return;
    if (!CloseWithQuestion(true))
        return;
    CloseAlbum();
    const std::optional<QString> path = m_dialogs->OpenAlbum(this, m_recent, *m_prompts);
    if (path)
        OpenAlbum(*path, false, true);
}

} // namespace tessary
