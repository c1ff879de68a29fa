#pragma once
// The ordered collections of an album, each with its own tags and items and its folder
// "C_%06d" in the photos folder. Beside the list live two fixed entries that are never saved:
// "All Collections" (id 0, the union of all collections; its own lists stay empty) and the
// add-placeholder (id -1). UI thread only.

#include <cstdint>
#include <vector>
#include <QString>

#include "IdCounter.h"
#include "Items.h"
#include "OwnedList.h"
#include "Tags.h"

namespace tessary {

class Album;
class Collections;

class Collection {
public:
    ~Collection();

    Collections& List() const { return *m_list; }
    Album& OwnerAlbum() const;

    int32_t Id() const { return m_id; }
    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    Tags& GetTags() { return m_tags; }
    const Tags& GetTags() const { return m_tags; }
    Items& GetItems() { return m_items; }
    const Items& GetItems() const { return m_items; }

    // Photos folder + "C_%06d", normalized; empty for ids <= 0 or an album without folder.
    QString Folder() const;

    // Deletes the photo files of every item and the collection folder with whatever is left
    // in it, then destroys the tags and items. Nothing outside the album folder is touched.
    void DeleteFiles();

    // Takes a new value whenever an item of this collection is made, removed, reordered or
    // renamed, or has its tag values changed. Values are unique in the process (a collection
    // made later never shows an earlier one), so that search can keep derived forms of the
    // names and values and knows when to look at them again.
    uint64_t ContentRevision() const { return m_contentRevision; }
    void MarkContentChanged();

private:
    friend class Collections;
    Collection(Collections& list, const QString& name, int32_t id);

    Collections* m_list;
    int32_t m_id;
    QString m_name;
    uint64_t m_contentRevision = 0;
    Tags m_tags{*this};
    Items m_items{*this};
};

class Collections : public OwnedList<Collection> {
public:
    // Pass as id to take the next free id.
    static constexpr int32_t kNewId = -2;

    explicit Collections(Album& owner);
    ~Collections();

    Album& Owner() const { return *m_owner; }
    IdCounter& Counter() { return m_counter; }
    int32_t NextId() const { return m_counter.Next(); }
    // Id of the collection selected in the collections pane; 0 for "All Collections" or none.
    int32_t HotId() const { return m_hotId; }
    void SetHotId(int32_t id) { m_hotId = id; }

    Collection& AllCollections() { return m_all; }
    const Collection& AllCollections() const { return m_all; }
    Collection& AddPlaceholder() { return m_addPlaceholder; }

    // An id of -2 or less takes the next free id; an id > 0 is used as given. Null when no id
    // is left or the id is 0 or -1 (the fixed entries).
    Collection* Add(const QString& name, int32_t id = kNewId);
    // Refused (false, nothing changed) for ids <= 0 and collections not in this list;
    // otherwise unlinks it, deletes its folder tree at once and destroys it.
    bool Remove(Collection* collection);
    // "New Collection", or "New Collection <k>" with the first free k from the count + 1 on.
    QString NewDefaultName() const;
    // Destroys every collection; with `deleteFiles` also deletes their folders first.
    void Clear(bool deleteFiles);
    // Items of a collection; for "All Collections" the sum over all collections.
    int ItemCount(const Collection& collection) const;

private:
    Album* m_owner;
    IdCounter m_counter{1};
    int32_t m_hotId = 0;
    Collection m_all;
    Collection m_addPlaceholder;
};

} // namespace tessary
