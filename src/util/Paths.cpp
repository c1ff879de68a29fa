#include "Paths.h"

#include <QDir>
#include <QFileInfo>

namespace tessary {

QString NormalizePath(const QString& path)
{
    QString p = QDir::fromNativeSeparators(path.trimmed());
    if (!p.isEmpty() && !p.endsWith(QLatin1Char('/')) && QFileInfo(p).isDir())
        p += QLatin1Char('/');
    return p;
}

namespace {
QString ComparableForm(const QString& path)
{
    const QString p = QDir::fromNativeSeparators(path.trimmed());
    if (p.isEmpty())
        return p;
    const QFileInfo info(p);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}
} // namespace

bool SamePath(const QString& a, const QString& b)
{
    return ComparableForm(a) == ComparableForm(b);
}

QString WithTrailingSlash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

} // namespace tessary
