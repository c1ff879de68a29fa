#include "FileTypeIcons.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>

#include "thumbcache/IconCells.h"

namespace tessary {

FileTypeIcons& FileTypeIcons::Instance()
{
    static FileTypeIcons icons;
    return icons;
}

void FileTypeIcons::InstallForThumbnails()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    IconCells::Instance().SetProvider(std::make_unique<FileTypeIconProvider>());
}

int FileTypeIcons::KeyFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const auto found = m_keyBySuffix.constFind(suffix);
    if (found != m_keyBySuffix.cend())
        return *found;
    const int key = int(m_entries.size());
    m_entries.push_back(Entry{path, QIcon(), false});
    m_keyBySuffix.insert(suffix, key);
    return key;
}

FileTypeIcons::Entry& FileTypeIcons::Load(int key)
{
    Entry& entry = m_entries[size_t(key)];
    if (entry.loaded)
        return entry;
    entry.loaded = true;
    // The desktop's icon when its theme has one for the type; its generic page says less
    // than our own glyph does.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(entry.samplePath, QMimeDatabase::MatchExtension);
    QIcon icon;
    if (QIcon::hasThemeIcon(type.iconName()) || QIcon::hasThemeIcon(type.genericIconName())) {
        QFileIconProvider provider;
        icon = provider.icon(QFileInfo(entry.samplePath));
    }
    if (icon.isNull() || icon.pixmap(kLargeSize).isNull()) {
        // The drawn page in the format's colour.
        const QImage page = m_fallback.LargeIcon(m_fallback.IconIndexFor(entry.samplePath));
        icon = QIcon();
        icon.addPixmap(QPixmap::fromImage(page));
        icon.addPixmap(QPixmap::fromImage(page.scaled(kSmallSize, kSmallSize, Qt::KeepAspectRatio,
                                                      Qt::SmoothTransformation)));
    }
    entry.icon = icon;
    return entry;
}

QIcon FileTypeIcons::Icon(int key)
{
    if (key < 0 || size_t(key) >= m_entries.size())
        return QIcon();
    return Load(key).icon;
}

QImage FileTypeIcons::LargeImage(int key)
{
    const QIcon icon = Icon(key);
    if (icon.isNull())
        return QImage();
    QImage image = icon.pixmap(kLargeSize).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.size() != QSize(kLargeSize, kLargeSize))
        image = image.scaled(kLargeSize, kLargeSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

int FileTypeIconProvider::IconIndexFor(const QString& path)
{
    return FileTypeIcons::Instance().KeyFor(path);
}

QImage FileTypeIconProvider::LargeIcon(int iconIndex)
{
    return FileTypeIcons::Instance().LargeImage(iconIndex);
}

} // namespace tessary
