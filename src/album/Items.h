#pragma once
// The ordered items of one collection. An item has its own folder "I_%06d" in the
// collection's folder, its photos and its tag values. UI thread only.

#include <cstdint>
#include <vector>
#include <QString>

#include "IdCounter.h"
#include "OwnedList.h"
#include "Photos.h"
#include "Records.h"
#include "util/DateTime.h"

namespace tessary {

class Collection;
class Items;

class Item {
public:
    ~Item();

    Items& List() const { return *m_list; }
    Collection& OwnerCollection() const;

    int32_t Id() const { return m_id; }
    const QString& Name() const { return m_name; }
    void SetName(const QString& name);
    // Local time of adding.
    const DateTime& DateAdded() const { return m_dateAdded; }
    void SetDateAdded(const DateTime& when) { m_dateAdded = when; }

    Photos& GetPhotos() { return m_photos; }
    const Photos& GetPhotos() const { return m_photos; }
    Records& GetRecords() { return m_records; }
    const Records& GetRecords() const { return m_records; }

    // Collection folder + "I_%06d", normalized; empty when the collection has no folder.
    QString Folder() const;
    // The first photo's file, or empty when the item has no photo.
    QString FirstPhotoPath() const;

    QString TagValue(int32_t tagId) const { return m_records.Value(tagId); }
    void SetTagValue(int32_t tagId, const QString& value) { m_records.SetValue(tagId, value); }

    // Deletes the photo files and the item folder with whatever is left in it, and clears the
    // records. Failures are ignored; nothing outside the album folder is touched.
    void DeleteFiles();

private:
    friend class Items;
    Item(Items& list, int32_t id);

    Items* m_list;
    int32_t m_id;
    DateTime m_dateAdded;
    QString m_name;
    Photos m_photos{*this};
    Records m_records{*this};
};

class Items : public OwnedList<Item> {
public:
    explicit Items(Collection& owner) : m_owner(&owner) {}
    ~Items();

    Collection& Owner() const { return *m_owner; }
    IdCounter& Counter() { return m_counter; }
    int32_t NextId() const { return m_counter.Next(); }

    // A new item holding a copy of `source`, named after its file title and stamped with the
    // current local time, appended. Null when no id is left, the extension is not one of a
    // storable photo format, the item folder cannot be made or the copy fails (an existing
    // destination included); the item id is used up in every case but the first.
    Item* NewItemFromFile(const QString& source);
    // An item with a given id (> 0) and name, appended (the loader's way); null otherwise.
    Item* Add(const QString& name, int32_t id);
    // Unlinks the item, deletes its files at once and destroys it; false (and nothing
    // changed) for an item not in this list.
    bool Remove(Item* item);
    // Destroys every item; with `deleteFiles` also deletes their files first.
    void Clear(bool deleteFiles);
    // As OwnedList::Reorder; a new order also marks the collection's content changed.
    bool Reorder(const std::vector<Item*>& order);
    // Drops the tag values of every item.
    void ClearAllTagValues();

private:
    Collection* m_owner;
    IdCounter m_counter{1};
};

} // namespace tessary
