#include "Records.h"

#include <unordered_map>

#include "Collections.h"

namespace tessary {

const Record* Records::Find(int32_t tagId) const
{
    for (const Record& r : m_list) {
        if (r.tagId == tagId)
            return &r;
    }
    return nullptr;
}

QString Records::Value(int32_t tagId) const
{
    const Record* r = Find(tagId);
    return r ? r->value : QString();
}

void Records::Changed()
{
    m_owner->OwnerCollection().MarkContentChanged();
}

void Records::SetValue(int32_t tagId, const QString& value)
{
    Changed();
    for (Record& r : m_list) {
        if (r.tagId == tagId) {
            r.value = value;
            return;
        }
    }
    m_list.push_back(Record{tagId, value});
}

void Records::Clear()
{
    m_list.clear();
    Changed();
}

void Records::Assign(std::vector<Record>&& records)
{
    Changed();
    m_list.clear();
    m_list.reserve(records.size());
    // A handful of records is searched directly; many (a hostile file) go through a map so
    // that loading stays linear.
    constexpr size_t kDirect = 16;
    if (records.size() <= kDirect) {
        for (Record& r : records) {
            Record* found = nullptr;
            for (Record& have : m_list) {
                if (have.tagId == r.tagId) {
                    found = &have;
                    break;
                }
            }
            if (found)
                found->value = std::move(r.value);
            else
                m_list.push_back(std::move(r));
        }
        return;
    }
    std::unordered_map<int32_t, size_t> index;
    index.reserve(records.size());
    for (Record& r : records) {
        const auto [it, added] = index.emplace(r.tagId, m_list.size());
        if (added)
            m_list.push_back(std::move(r));
        else
            m_list[it->second].value = std::move(r.value);
    }
    m_list.shrink_to_fit();
}

bool Records::IsValid(const Record& record) const
{
    return record.tagId != -1 && !record.value.isEmpty()
        && m_owner->OwnerCollection().GetTags().Exists(record.tagId);
}

} // namespace tessary
