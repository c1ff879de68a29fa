#pragma once
// The ordered tags (user-defined attributes) of one collection. User tags get ids from 1001;
// ids 1 to 1000 are never allocated (a loaded file may hold such built-in tags). UI thread only.

#include <cstdint>
#include <vector>
#include <QString>

#include "IdCounter.h"
#include "OwnedList.h"

namespace tessary {

class Collection;
class Tags;

// The key form of a tag name: lower-cased, every white-space character removed. Search looks
// tags up by it.
QString TagKey(const QString& name);

class Tag {
public:
    Tags& List() const { return *m_list; }
    int32_t Id() const { return m_id; }
    const QString& Name() const { return m_name; }
    const QString& Key() const { return m_key; }
    void SetName(const QString& name);

private:
    friend class Tags;
    Tag(Tags* list, const QString& name, int32_t id);

    Tags* m_list;
    int32_t m_id;
    QString m_name;
    QString m_key;
};

class Tags : public OwnedList<Tag> {
public:
    static constexpr int32_t kFirstUserTagId = 1001;
    // Pass as id to take the next free id.
    static constexpr int32_t kNewId = -1;

    explicit Tags(Collection& owner);
    ~Tags();

    Collection& Owner() const { return *m_owner; }
    IdCounter& Counter() { return m_counter; }
    int32_t NextId() const { return m_counter.Next(); }
    // "Double-click to add a tag", id 0: never in the list, never saved.
    const Tag& AddPlaceholder() const { return m_addPlaceholder; }

    // A negative id takes the next free id, any other is used as given (> 0 expected).
    // Null when no id is left or the id is 0.
    Tag* Add(const QString& name, int32_t id = kNewId);
    // Key form (see TagKey) of a name or key.
    Tag* FindByKey(const QString& nameOrKey, const Tag* exclude = nullptr) const;
    bool Exists(int32_t id) const { return FindById(id) != nullptr; }
    // Refused (false, nothing changed) for ids <= 0 and tags not in this list. Values of the
    // removed tag stay on the items but are no longer valid and are not saved.
    bool Remove(Tag* tag);
    // "New Tag", or "New Tag <k>" with the first free k from the count + 1 on.
    QString NewDefaultName() const;
    // With `keepBuiltIns`, tags with ids up to 1000 stay.
    void Clear(bool keepBuiltIns);

private:
    Collection* m_owner;
    IdCounter m_counter{kFirstUserTagId};
    Tag m_addPlaceholder;
};

} // namespace tessary
