#include "PhotoOperations.h"

#include <QDir>

#include "AlbumLayout.h"
#include "Collections.h"
#include "Items.h"
#include "util/Paths.h"
#include "util/PhotoFormat.h"

namespace tessary {

std::vector<Item*> AddPathList(Collection& target, const QStringList& paths)
{
    std::vector<Item*> added;
    if (target.Id() <= 0)
        return added;
    Items& items = target.GetItems();
    for (const QString& path : paths) {
        if (Item* item = items.NewItemFromFile(path))
            added.push_back(item);
    }
    return added;
}

int RemoveItems(const std::vector<Item*>& items)
{
    int removed = 0;
    for (Item* item : items) {
        if (item && item->List().Remove(item))
            ++removed;
    }
    return removed;
}

QString SendToFolderFileName(const Item& item)
{
    const QString source = item.FirstPhotoPath();
    if (source.isEmpty())
        return QString();
    // The name is the user's (or an album file's) to set; it must stay one file name.
    QString name = item.Name();
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QChar(0))
            c = QLatin1Char('_');
    }
    return name + QLatin1Char('.') + QLatin1String(CanonicalExtension(PhotoFormatFromPath(source)));
}

int SendItemsToFolder(const std::vector<const Item*>& items, const QString& folder)
{
    if (folder.isEmpty())
        return 0;
    const QString base = WithTrailingSlash(QDir::fromNativeSeparators(folder));
    int copied = 0;
    for (const Item* item : items) {
        if (!item)
            continue;
        const QString name = SendToFolderFileName(*item);
        if (name.isEmpty())
            continue;
        const QString source = item->FirstPhotoPath();
        const QString target = base + name;
        if (SamePath(source, target))
            continue;
        if (CopyToNewFile(source, target))
            ++copied;
    }
    return copied;
}

} // namespace tessary
