#pragma once
// Normalised forms of item names and tag values, kept between searches so that a search on
// every keystroke does not normalise the whole album again.
//
// Each form is stored beside the exact source string it was made from and is used only
// while the model still holds that very string: a form is reused when the source shares the
// stored string's buffer (implicit sharing guarantees that such a buffer was never written
// to since) or compares equal to it; anything else is normalised afresh. So a renamed item
// or a changed value is never matched in its old form, whoever changed it and however.
//
// Per collection, the forms lie in one buffer in item order for fast scanning. A changed text
// goes to the end of the buffer; a collection is laid out again when the waste outgrows the
// live text, or when its items or their record counts no longer line up with what is stored.
// UI thread only, like the model it reads.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>
#include <QString>
#include <QStringView>

namespace tessary {

class Collection;
class Collections;
class Item;

class NormalizedIndex {
public:
    // The forms of one collection's items, in item order.
    class Forms {
    public:
        // The name of item i (its index in the item list at the last Update).
        QStringView Name(int item) const { return Text(m_slots[m_items[size_t(item)].first]); }
        // The value of record r of item i, in the item's record order.
        QStringView Value(int item, int record) const
        {
            return Text(m_slots[m_items[size_t(item)].first + 1 + size_t(record)]);
        }

    private:
        friend class NormalizedIndex;
        struct Slot {
            QString source; // the exact text the form was made from
            size_t offset = 0;
            size_t length = 0;
        };
        struct ItemSlots {
            const Item* item = nullptr;
            size_t first = 0; // the name's slot; the records' slots follow
            size_t count = 0;
        };
        QStringView Text(const Slot& s) const { return QStringView(m_text.data() + s.offset, qsizetype(s.length)); }

        std::vector<char16_t> m_text;
        std::vector<Slot> m_slots;
        std::vector<ItemSlots> m_items;
        size_t m_waste = 0;
    };

    NormalizedIndex() = default;
    NormalizedIndex(const NormalizedIndex&) = delete;
    NormalizedIndex& operator=(const NormalizedIndex&) = delete;

    // Brings the forms of the collection's items up to date and returns them; they stay valid
    // until the next Update of the same collection, Prune or Clear.
    const Forms& Update(const Collection& collection);
    // Forgets every collection that is not in `list` (removed ones, or another album's).
    void Prune(const Collections& list);
    void Clear();

    // Counters for the benchmark and the tests.
    struct Stats {
        int64_t normalized = 0; // texts normalised
        int64_t layouts = 0;    // collections laid out from scratch
    };
    const Stats& GetStats() const { return m_stats; }

private:
    void Layout(Forms& forms, const Collection& collection);
    void Refresh(Forms& forms, Forms::Slot& slot, const QString& source);
    void Append(Forms& forms, Forms::Slot& slot, const QString& source);

    std::unordered_map<const Collection*, std::unique_ptr<Forms>> m_forms;
    Stats m_stats;
};

} // namespace tessary
