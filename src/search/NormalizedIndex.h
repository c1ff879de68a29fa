#pragma once
// Normalised forms of item names and tag values, kept between searches so that a search on
// every keystroke does not read and normalise the whole album again.
//
// A collection's forms are trusted as they are while its content revision (see
// Collection::ContentRevision) and its item list are what they were when the forms were made.
// Otherwise every form is checked against the exact source string it was made from: it is
// kept when the model still holds that very string (the same shared buffer, which implicit
// sharing guarantees was never written to since, or an equal string) and made afresh
// otherwise. So a renamed item or a changed value is never matched in its old form.
//
// Per collection the forms lie in one buffer, in item order, with small per-text records
// (offset, length, tag id, a character mask) that a search scans without touching the model.
// A changed text goes to the end of the buffer; a collection is laid out again when the waste
// outgrows the live text, or when its items or their record counts no longer line up.
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

// A 64-bit set of the characters of a text (folded into 64 classes): a text can only contain
// a value whose mask is a subset of its own.
uint64_t CharacterMask(QStringView text);

class NormalizedIndex {
public:
    static constexpr int32_t kNameSlot = -2; // tag id of an item name's slot

    struct Slot {
        uint64_t mask = 0;
        size_t offset = 0;
        uint32_t length = 0;
        int32_t tagId = kNameSlot; // the record's tag id; kNameSlot for the name
    };

    // The forms of one collection's items, in item order.
    class Forms {
    public:
        size_t ItemCount() const { return m_items.size(); }
        const Item* ItemAt(size_t i) const { return m_items[i].item; }
        // The item's slots: its name first, then one per record in record order.
        const Slot* SlotsOf(size_t i) const { return m_slots.data() + m_items[i].first; }
        size_t SlotCount(size_t i) const { return m_items[i].count; }
        QStringView Text(const Slot& s) const { return QStringView(m_text.data() + s.offset, qsizetype(s.length)); }

    private:
        friend class NormalizedIndex;
        struct ItemSlots {
            const Item* item = nullptr;
            size_t first = 0;
            size_t count = 0;
        };
        std::vector<char16_t> m_text;
        std::vector<Slot> m_slots;
        std::vector<QString> m_sources; // beside m_slots: the exact text each form came from
        std::vector<ItemSlots> m_items;
        size_t m_waste = 0;
        uint64_t m_revision = 0;
    };

    NormalizedIndex() = default;
    NormalizedIndex(const NormalizedIndex&) = delete;
    NormalizedIndex& operator=(const NormalizedIndex&) = delete;

    // Brings the forms of the collection's items up to date and returns them; they stay valid
    // until the next Update of the same collection, Prune or Clear.
    const Forms& Update(const Collection& collection);
    // Builds the collection's forms ahead of the first search, a slice of at most `budget`
    // items per call, so that the work can be spread over idle moments. True when the forms
    // are there (the next Update then only checks them). A collection whose content changes
    // between slices is started again; preparing another collection drops unfinished work.
    bool Prepare(const Collection& collection, size_t budget);
    // Forgets every collection that is not in `list` (removed ones, or another album's).
    void Prune(const Collections& list);
    void Clear();

    // Counters for the benchmark and the tests.
    struct Stats {
        int64_t normalized = 0; // texts normalised
        int64_t checked = 0;    // collections checked text by text
        int64_t layouts = 0;    // collections laid out from scratch
    };
    const Stats& GetStats() const { return m_stats; }

private:
    // Empties the forms and makes one slot per name and record, texts still to come.
    void LayOutSlots(Forms& forms, const Collection& collection);
    void Layout(Forms& forms, const Collection& collection);
    void Check(Forms& forms, const Collection& collection);
    void Refresh(Forms& forms, size_t slot, const QString& source);
    void Store(Forms& forms, size_t slot, const QString& source, bool append);

    std::unordered_map<const Collection*, std::unique_ptr<Forms>> m_forms;
    Stats m_stats;

    // A layout in slices (Prepare): the forms so far, for whom, and the next item.
    struct Pending {
        std::unique_ptr<Forms> forms;
        const Collection* collection = nullptr;
        uint64_t revision = 0;
        size_t nextItem = 0;
    };
    Pending m_pending;
};

} // namespace tessary
