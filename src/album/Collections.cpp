#include "Collections.h"

#include <atomic>

#include <QFileInfo>

#include "Album.h"
#include "AlbumLayout.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessary {

namespace {
// Atomic: an album may be loaded on a worker before it is handed to the UI thread.
std::atomic<uint64_t> g_lastContentRevision{0};
}

Collection::Collection(Collections& list, const QString& name, int32_t id)
    : m_list(&list), m_id(id), m_name(name), m_contentRevision(++g_lastContentRevision)
{
}

void Collection::MarkContentChanged()
{
    m_contentRevision = ++g_lastContentRevision;
}

Collection::~Collection() = default;

Album& Collection::OwnerAlbum() const
{
    return m_list->Owner();
}

QString Collection::Folder() const
{
    const QString raw = CollectionFolderPath(OwnerAlbum().Folder(), m_id);
    return raw.isEmpty() ? raw : NormalizePath(raw);
}

void Collection::DeleteFiles()
{
    for (const Item& item : m_items) {
        for (const Photo& p : item.GetPhotos())
            p.DeleteFile();
    }
    const QString albumFolder = OwnerAlbum().Folder();
    const QString folder = CollectionFolderPath(albumFolder, m_id);
    if (!folder.isEmpty() && StaysInsideAlbum(albumFolder, folder) && QFileInfo(folder).isDir())
        RemoveFolderTree(folder);
    m_items.Clear(false);
    m_tags.Clear(false);
}

Collections::Collections(Album& owner)
    : m_owner(&owner),
      m_all(*this, QStringLiteral("All Collections"), 0),
      m_addPlaceholder(*this, QStringLiteral("Double-click to add a collection"), -1)
{
}

Collections::~Collections() = default;

Collection* Collections::Add(const QString& name, int32_t id)
{
    if (id <= -2) {
        id = m_counter.Allocate();
        if (id == 0)
            return nullptr;
    } else if (id == 0 || id == -1) {
        return nullptr;
    } else {
        m_counter.Reserve(id);
    }
    return Append(std::unique_ptr<Collection>(new Collection(*this, name, id)));
}

bool Collections::Remove(Collection* collection)
{
    if (!collection || collection->Id() <= 0 || !Contains(collection))
        return false;
    std::unique_ptr<Collection> gone = Unlink(collection);
    gone->DeleteFiles();
    return true;
}

QString Collections::NewDefaultName() const
{
    return NumberedDefaultName(QStringLiteral("New Collection"));
}

void Collections::Clear(bool deleteFiles)
{
    if (deleteFiles) {
        for (Collection& c : *this)
            c.DeleteFiles();
    }
    DestroyAll();
}

int Collections::ItemCount(const Collection& collection) const
{
    if (collection.Id() != 0)
        return collection.GetItems().Count();
    int sum = 0;
    for (const Collection& c : *this)
        sum += c.GetItems().Count();
    return sum;
}

} // namespace tessary
