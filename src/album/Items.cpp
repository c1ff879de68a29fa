#include "Items.h"

#include <QFileInfo>

#include "Album.h"
#include "AlbumLayout.h"
#include "util/Paths.h"

namespace tessary {

Item::Item(Items& list, int32_t id) : m_list(&list), m_id(id)
{
    list.Owner().MarkContentChanged();
}

void Item::SetName(const QString& name)
{
    m_name = name;
    m_list->Owner().MarkContentChanged();
}

Item::~Item() = default;

Collection& Item::OwnerCollection() const
{
    return m_list->Owner();
}

QString Item::Folder() const
{
    const Collection& c = OwnerCollection();
    const QString raw = ItemFolderPath(c.OwnerAlbum().Folder(), c.Id(), m_id);
    return raw.isEmpty() ? raw : NormalizePath(raw);
}

QString Item::FirstPhotoPath() const
{
    const Photo* first = m_photos.At(0);
    return first ? first->FilePath() : QString();
}

void Item::DeleteFiles()
{
    for (const Photo& p : m_photos)
        p.DeleteFile();
    const Collection& c = OwnerCollection();
    const QString albumFolder = c.OwnerAlbum().Folder();
    const QString folder = ItemFolderPath(albumFolder, c.Id(), m_id);
    if (!folder.isEmpty() && StaysInsideAlbum(albumFolder, folder) && QFileInfo(folder).isDir())
        RemoveFolderTree(folder);
    m_records.Clear();
}

Items::~Items() = default;

Item* Items::NewItemFromFile(const QString& source)
{
    const int32_t id = m_counter.Allocate();
    if (id == 0)
        return nullptr;
    std::unique_ptr<Item> item(new Item(*this, id));
    if (!item->m_photos.AddFromFile(source))
        return nullptr;
    item->m_dateAdded = DateTime::Now();
    return Append(std::move(item));
}

Item* Items::Add(const QString& name, int32_t id)
{
    if (id <= 0)
        return nullptr;
    m_counter.Reserve(id);
    std::unique_ptr<Item> item(new Item(*this, id));
    item->m_name = name;
    return Append(std::move(item));
}

bool Items::Remove(Item* item)
{
    if (!Contains(item))
        return false;
    std::unique_ptr<Item> gone = Unlink(item);
    gone->DeleteFiles();
    m_owner->MarkContentChanged();
    return true;
}

void Items::Clear(bool deleteFiles)
{
    if (deleteFiles) {
        for (Item& i : *this)
            i.DeleteFiles();
    }
    DestroyAll();
    m_owner->MarkContentChanged();
}

bool Items::Reorder(const std::vector<Item*>& order)
{
    if (!OwnedList<Item>::Reorder(order))
        return false;
    m_owner->MarkContentChanged();
    return true;
}

void Items::ClearAllTagValues()
{
    for (Item& i : *this)
        i.GetRecords().Clear();
}

} // namespace tessary
