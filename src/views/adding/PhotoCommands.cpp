#include "PhotoCommands.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "album/Collections.h"
#include "album/PhotoOperations.h"
#include "util/Text.h"
#include "views/common/BusyWork.h"
#include "views/common/UserPrompts.h"

namespace tessary {

QString& PhotoCommands::LastSendFolder()
{
    static QString folder;
    return folder;
}

QStringList PhotoCommands::LocalFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

bool PhotoCommands::AcceptsPhotos(QWidget* owner, const Collection* target)
{
    if (!target || target->Id() < 0)
        return false;
    if (target->Id() == 0) {
        m_prompts->ShowMessage(owner, InformationMessage(QStringLiteral(
                                          "Adding photos to \"All Collections\" is not allowed.\n\n"
                                          "Please select a collection and try again.")));
        return false;
    }
    return true;
}

std::vector<Item*> PhotoCommands::AddPhotos(QWidget* owner, Collection* target)
{
    if (!AcceptsPhotos(owner, target))
        return {};
    const QStringList files = m_prompts->ChooseFiles(owner);
    if (files.isEmpty())
        return {};
    return AddPathList(owner, *target, files).value_or(std::vector<Item*>());
}

std::optional<std::vector<Item*>> PhotoCommands::FilterAndAdd(QWidget* owner, Collection& target,
                                                              const QStringList& paths)
{
    const std::optional<QStringList> accepted = m_prompts->FilterPaths(owner, paths);
    if (!accepted)
        return std::nullopt;
    return AddPathList(owner, target, *accepted);
}

std::vector<Item*> PhotoCommands::Paste(QWidget* owner, Collection* target, const QMimeData* clipboard)
{
    const QStringList paths = LocalFiles(clipboard);
    if (paths.isEmpty() || !AcceptsPhotos(owner, target))
        return {};
    const std::optional<std::vector<Item*>> added = FilterAndAdd(owner, *target, paths);
    // Cancelled filtering and a declined question say nothing.
    if (added && added->empty())
        m_prompts->ShowMessage(owner, InformationMessage(QStringLiteral(
                                          "Paste failed: unsupported file type.\n\n"
                                          "Supported file types are BMP, JPEG and PNG.")));
    return added.value_or(std::vector<Item*>());
}

std::vector<Item*> PhotoCommands::Drop(QWidget* owner, Collection* target, const QMimeData* data)
{
    const QStringList paths = LocalFiles(data);
    if (paths.isEmpty() || !AcceptsPhotos(owner, target))
        return {};
    return FilterAndAdd(owner, *target, paths).value_or(std::vector<Item*>());
}

std::optional<std::vector<Item*>> PhotoCommands::AddPathList(QWidget* owner, Collection& target,
                                                             const QStringList& paths)
{
    if (paths.size() >= kConfirmAddCount) {
        const QString text = FillPlaceholder(
            QStringLiteral("%1 files are to be added. This may take some time. \nAre you sure you want to continue?"),
            static_cast<long long>(paths.size()));
        if (m_prompts->ShowMessage(owner, YesNoQuestion(text, QStringLiteral("Confirm Add Files"))) != QMessageBox::Yes)
            return std::nullopt;
    }
    const WaitCursor wait;
    return tessary::AddPathList(target, paths);
}

bool PhotoCommands::ConfirmDelete(QWidget* owner, const std::vector<Item*>& selected)
{
    if (selected.empty())
        return false;
    const MessageBoxSpec question =
        selected.size() == 1
            ? YesNoQuestion(
                  FillPlaceholder(QStringLiteral("Are you sure you want to delete \"%1\"?"), selected[0]->Name()),
                  QStringLiteral("Confirm Item Delete"))
            : YesNoQuestion(FillPlaceholder(QStringLiteral("Are you sure you want to delete these %1 items?"),
                                            static_cast<long long>(selected.size())),
                            QStringLiteral("Confirm Multiple Item Delete"));
    return m_prompts->ShowMessage(owner, question) == QMessageBox::Yes;
}

int PhotoCommands::SendToFolder(QWidget* owner, const std::vector<const Item*>& selected)
{
    if (selected.empty())
        return 0;
    QString& last = LastSendFolder();
    const QString start = QFileInfo(last).isDir() ? last : QString();
    const QString folder = m_prompts->ChooseFolder(owner, QStringLiteral("Please select a folder:"), start);
    if (folder.isEmpty())
        return 0;
    last = folder;
    return SendItemsToFolder(selected, folder);
}

} // namespace tessary
