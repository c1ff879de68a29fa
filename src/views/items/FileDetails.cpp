#include "FileDetails.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMimeDatabase>

namespace tessary {

QString FileSizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QLocale().toString(bytes) + QStringLiteral(" bytes");
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString FileTypeText(const QString& path)
{
    static QHash<QString, QString> bySuffix;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const auto found = bySuffix.constFind(suffix);
    if (found != bySuffix.cend())
        return *found;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    QString text = type.isValid() && !type.isDefault() ? type.comment() : QString();
    if (text.isEmpty())
        text = suffix.isEmpty() ? QStringLiteral("File") : suffix.toUpper() + QStringLiteral(" File");
    bySuffix.insert(suffix, text);
    return text;
}

QString FileModifiedText(qint64 modifiedMs)
{
    if (modifiedMs == 0)
        return QString();
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(modifiedMs).toLocalTime(), QLocale::ShortFormat);
}

} // namespace tessary
