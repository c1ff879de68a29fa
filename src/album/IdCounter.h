#pragma once
// A list's identifier counter (`next_id`). Ids are handed out in increasing order and never
// twice while the album exists: removing members never lowers the counter, and placing a
// member with a given id (as the loader does) moves the counter past it. Ids stay within
// 1 .. INT32_MAX - 1; a counter that has reached INT32_MAX has no id left, and allocation
// then fails instead of wrapping to a negative or reused value.

#include <climits>
#include <cstdint>

namespace tessary {

class IdCounter {
public:
    static constexpr int32_t kNoIdLeft = INT32_MAX;

    explicit IdCounter(int32_t first) : m_next(first) {}

    int32_t Next() const { return m_next; }
    bool Exhausted() const { return m_next >= kNoIdLeft; }

    // Takes the next id; 0 when no id is left.
    int32_t Allocate()
    {
        if (m_next >= kNoIdLeft)
            return 0;
        return m_next++;
    }
    // Makes sure `id` is never allocated later.
    void Reserve(int32_t id)
    {
        if (id >= m_next)
            m_next = id == INT32_MAX ? INT32_MAX : id + 1;
    }
    // Raises the counter to a stored value; a lower value changes nothing.
    void RaiseTo(int32_t value)
    {
        if (value > m_next)
            m_next = value;
    }

private:
    int32_t m_next;
};

} // namespace tessary
