#pragma once
// The tag values of one item: at most one record per tag id, in the order they were first set.

#include <cstdint>
#include <vector>
#include <QString>

namespace tessary {

class Item;

struct Record {
    int32_t tagId = -1; // -1: unset
    QString value;
};

class Records {
public:
    explicit Records(Item& owner) : m_owner(&owner) {}
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;

    Item& Owner() const { return *m_owner; }

    int Count() const { return int(m_list.size()); }
    bool IsEmpty() const { return m_list.empty(); }
    const Record& At(int index) const { return m_list[size_t(index)]; }
    std::vector<Record>::const_iterator begin() const { return m_list.begin(); }
    std::vector<Record>::const_iterator end() const { return m_list.end(); }

    // The record of that tag, or null.
    const Record* Find(int32_t tagId) const;
    // The value of that tag's record, or empty.
    QString Value(int32_t tagId) const;
    // Replaces the value of that tag's record, or appends a record. An empty value keeps the
    // record, which is then invalid and not saved.
    void SetValue(int32_t tagId, const QString& value);
    // Replaces every record by `records`, where a later record of a tag replaces the value of
    // an earlier one in its place (as successive SetValue calls would), in linear time.
    void Assign(std::vector<Record>&& records);
    void Clear();

    // Set (tag id not -1), not empty, and its tag exists in the item's collection.
    bool IsValid(const Record& record) const;

private:
    void Changed();

    Item* m_owner;
    std::vector<Record> m_list;
};

} // namespace tessary
