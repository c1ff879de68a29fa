#include "AlbumNameReader.h"

#include <QCoreApplication>

#include "album/AlbumFile.h"

namespace tessary {

QEvent::Type AlbumNameEvent::Type()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

// Implicitly shared copies: Qt counts their references atomically, and the caller's later
// edits detach from them.
AlbumNameReader::AlbumNameReader(QObject* receiver, const QStringList& paths) : receiver_(receiver), paths_(paths) {}

AlbumNameReader::~AlbumNameReader()
{
    StopAndWait();
}

int AlbumNameReader::Run()
{
    for (int i = 0; i < paths_.size(); ++i) {
        if (IsStopRequested())
            return 0;
        const QString& path = paths_.at(i);
        QCoreApplication::postEvent(receiver_, new AlbumNameEvent(i, path, ReadAlbumName(path)));
    }
    return 1;
}

} // namespace tessary
