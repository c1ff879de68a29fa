#pragma once
// The ordered, owning list under every list of the album model: members are held by
// unique_ptr (their addresses stay put while they live), kept in insertion order unless
// reordered, and indexed by position. Iterating yields the members themselves.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include <QString>

namespace tessary {

template <class T>
class OwnedList {
public:
    class Iterator {
    public:
        using Base = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit Iterator(Base it) : m_it(it) {}
        T& operator*() const { return **m_it; }
        T* operator->() const { return m_it->get(); }
        Iterator& operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_it == other.m_it; }

    private:
        Base m_it;
    };

    OwnedList() = default;
    OwnedList(const OwnedList&) = delete;
    OwnedList& operator=(const OwnedList&) = delete;

    int Count() const { return int(m_members.size()); }
    bool IsEmpty() const { return m_members.empty(); }
    // Null when the index is out of range.
    T* At(int index) const
    {
        return index >= 0 && size_t(index) < m_members.size() ? m_members[size_t(index)].get() : nullptr;
    }
    // -1 when the member is not in this list.
    int IndexOf(const T* member) const
    {
        for (size_t i = 0; i < m_members.size(); ++i) {
            if (m_members[i].get() == member)
                return int(i);
        }
        return -1;
    }
    bool Contains(const T* member) const { return member && IndexOf(member) >= 0; }
    // Null when no member other than `exclude` bears exactly that name.
    T* FindByName(const QString& name, const T* exclude = nullptr) const
    {
        for (const auto& m : m_members) {
            if (m.get() != exclude && m->Name() == name)
                return m.get();
        }
        return nullptr;
    }
    // Null when no member has that id.
    T* FindById(int32_t id) const
    {
        for (const auto& m : m_members) {
            if (m->Id() == id)
                return m.get();
        }
        return nullptr;
    }

    Iterator begin() const { return Iterator(m_members.begin()); }
    Iterator end() const { return Iterator(m_members.end()); }

    // Takes the order of `order` when it holds every member exactly once; otherwise returns
    // false and changes nothing.
    bool Reorder(const std::vector<T*>& order)
    {
        if (order.size() != m_members.size())
            return false;
        std::vector<const T*> wanted(order.begin(), order.end());
        std::vector<const T*> present;
        present.reserve(m_members.size());
        for (const auto& m : m_members)
            present.push_back(m.get());
        std::sort(wanted.begin(), wanted.end());
        std::sort(present.begin(), present.end());
        if (wanted != present)
            return false;
        for (size_t i = 0; i < order.size(); ++i)
            m_members[i].release();
        for (size_t i = 0; i < order.size(); ++i)
            m_members[i].reset(order[i]);
        return true;
    }

protected:
    ~OwnedList() = default;

    // `base` for an empty list; otherwise "base N" with the first N from count + 1 that no
    // member bears yet.
    QString NumberedDefaultName(const QString& base) const
    {
        if (IsEmpty())
            return base;
        for (long long k = Count() + 1;; ++k) {
            const QString name = base + QLatin1Char(' ') + QString::number(k);
            if (!FindByName(name))
                return name;
        }
    }

    T* Append(std::unique_ptr<T> member)
    {
        m_members.push_back(std::move(member));
        return m_members.back().get();
    }
    // Takes the member out of the list; null when it is not there.
    std::unique_ptr<T> Unlink(const T* member)
    {
        const int i = IndexOf(member);
        if (i < 0)
            return nullptr;
        std::unique_ptr<T> out = std::move(m_members[size_t(i)]);
        m_members.erase(m_members.begin() + i);
        return out;
    }
    void DestroyAll() { m_members.clear(); }

    std::vector<std::unique_ptr<T>> m_members;
};

} // namespace tessary
