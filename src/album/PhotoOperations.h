#pragma once
// The album-side work of adding, deleting and sending photos, without any window: the
// interface layer asks its questions first and then calls these. UI thread only (they change
// the model); the filtering of pasted and dropped paths is FilterJob's.

#include <vector>
#include <QString>
#include <QStringList>

namespace tessary {

class Collection;
class Item;

// One new item per path, in order, each with its own folder and photo copy (the same file
// given twice makes two items). A path that cannot be added is skipped. Nothing is added to
// the fixed entries (ids <= 0). Returns the new items in order.
std::vector<Item*> AddPathList(Collection& target, const QStringList& paths);

// Removes each item from its collection; its photo files and folder are deleted at once.
// The items may belong to different collections; each must be live and appear once. Returns
// the number removed; the pointers are dangling afterwards.
int RemoveItems(const std::vector<Item*>& items);

// The file name an item is sent under: its name with every character that could lead out of
// the folder or cut the name short ("/", "\", NUL) replaced by "_", then "." and the
// canonical extension of its first photo. Empty when the item has no photo.
QString SendToFolderFileName(const Item& item);

// Copies the first photo of each item, in order, into `folder` under SendToFolderFileName.
// An existing file is never overwritten (the item is skipped), an item whose target is its
// own photo is skipped, and copy failures are skipped silently. Returns the number copied.
int SendItemsToFolder(const std::vector<const Item*>& items, const QString& folder);

} // namespace tessary
