#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace tessary {

namespace {
QClipboard* Board()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}
} // namespace

QStringList ClipboardFiles()
{
    QStringList files;
    QClipboard* board = Board();
    const QMimeData* data = board ? board->mimeData() : nullptr;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files << url.toLocalFile();
    }
    return files;
}

bool ClipboardHasFiles()
{
    return !ClipboardFiles().isEmpty();
}

bool SetClipboardText(const QString& text)
{
    QClipboard* board = Board();
    if (!board)
        return false;
    board->clear();
    board->setText(text);
    return true;
}

} // namespace tessary
