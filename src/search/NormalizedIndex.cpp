#include "NormalizedIndex.h"

#include <algorithm>
#include <unordered_set>

#include "album/Collections.h"
#include "search/TextNormalize.h"

namespace tessary {

uint64_t CharacterMask(QStringView text)
{
    uint64_t mask = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        unsigned bit;
        if (u >= u'a' && u <= u'z')
            bit = u - u'a';
        else if (u >= u'0' && u <= u'9')
            bit = 26 + (u - u'0');
        else if (u < 128)
            bit = 36 + u % 8;
        else
            bit = 44 + (uint32_t(u) * 2654435761u >> 16) % 20;
        mask |= uint64_t(1) << bit;
    }
    return mask;
}

void NormalizedIndex::Store(Forms& forms, size_t slot, const QString& source, bool append)
{
    const QString normalized = NormalizeText(source);
    ++m_stats.normalized;
    Slot& s = forms.m_slots[slot];
    const size_t length = size_t(normalized.size());
    const char16_t* p = reinterpret_cast<const char16_t*>(normalized.utf16());
    if (!append && length <= s.length) {
        std::copy(p, p + length, forms.m_text.begin() + ptrdiff_t(s.offset));
        forms.m_waste += s.length - length;
    } else {
        if (!append)
            forms.m_waste += s.length;
        s.offset = forms.m_text.size();
        forms.m_text.insert(forms.m_text.end(), p, p + length);
    }
    s.length = uint32_t(length);
    s.mask = CharacterMask(normalized);
    forms.m_sources[slot] = source;
}

void NormalizedIndex::Refresh(Forms& forms, size_t slot, const QString& source)
{
    QString& stored = forms.m_sources[slot];
    if (stored.constData() == source.constData() && stored.size() == source.size())
        return;
    if (stored == source) {
        stored = source; // share the model's buffer so that the next check is the quick one
        return;
    }
    Store(forms, slot, source, false);
}

void NormalizedIndex::LayOutSlots(Forms& forms, const Collection& collection)
{
    ++m_stats.layouts;
    const Items& items = collection.GetItems();
    forms.m_text.clear();
    forms.m_slots.clear();
    forms.m_sources.clear();
    forms.m_items.clear();
    forms.m_waste = 0;
    forms.m_items.reserve(size_t(items.Count()));
    for (const Item& item : items) {
        Forms::ItemSlots is;
        is.item = &item;
        is.first = forms.m_slots.size();
        is.count = 1 + size_t(item.GetRecords().Count());
        forms.m_items.push_back(is);
        forms.m_slots.resize(forms.m_slots.size() + is.count);
    }
    forms.m_sources.resize(forms.m_slots.size());
    forms.m_text.reserve(forms.m_slots.size() * 16);
}

void NormalizedIndex::Layout(Forms& forms, const Collection& collection)
{
    LayOutSlots(forms, collection);
    const Items& items = collection.GetItems();
    size_t i = 0;
    for (const Item& item : items) {
        size_t slot = forms.m_items[i++].first;
        Store(forms, slot++, item.Name(), true);
        for (const Record& r : item.GetRecords()) {
            forms.m_slots[slot].tagId = r.tagId;
            Store(forms, slot++, r.value, true);
        }
    }
    forms.m_revision = collection.ContentRevision();
}

void NormalizedIndex::Check(Forms& forms, const Collection& collection)
{
    ++m_stats.checked;
    const Items& items = collection.GetItems();
    size_t i = 0;
    for (const Item& item : items) {
        const Forms::ItemSlots& is = forms.m_items[i++];
        if (is.item != &item || is.count != 1 + size_t(item.GetRecords().Count())) {
            // Items moved, came or went, or records were added: lay the collection out anew.
            Layout(forms, collection);
            return;
        }
        size_t slot = is.first;
        Refresh(forms, slot++, item.Name());
        for (const Record& r : item.GetRecords()) {
            forms.m_slots[slot].tagId = r.tagId;
            Refresh(forms, slot++, r.value);
        }
    }
    if (forms.m_waste > 4096 && forms.m_waste > forms.m_text.size() / 2)
        Layout(forms, collection);
    forms.m_revision = collection.ContentRevision();
}

const NormalizedIndex::Forms& NormalizedIndex::Update(const Collection& collection)
{
    std::unique_ptr<Forms>& entry = m_forms[&collection];
    if (!entry) {
        entry = std::make_unique<Forms>();
        Layout(*entry, collection);
        return *entry;
    }
    Forms& forms = *entry;
    const Items& items = collection.GetItems();
    if (forms.m_items.size() != size_t(items.Count())) {
        Layout(forms, collection);
        return forms;
    }
    // The item list itself is cheap to compare (one pointer per item) and is compared even
    // when the revision says nothing changed.
    bool same = forms.m_revision == collection.ContentRevision();
    for (size_t i = 0; same && i < forms.m_items.size(); ++i)
        same = forms.m_items[i].item == items.At(int(i));
    if (!same)
        Check(forms, collection);
    return forms;
}

bool NormalizedIndex::Prepare(const Collection& collection, size_t budget)
{
    if (m_forms.count(&collection))
        return true;
    const Items& items = collection.GetItems();
    Pending& p = m_pending;
    const bool stale = p.collection != &collection || !p.forms || p.revision != collection.ContentRevision() ||
                       p.forms->m_items.size() != size_t(items.Count());
    if (stale) {
        // The slots are laid out at once (cheap); the texts are normalised slice by slice.
        p = Pending();
        p.forms = std::make_unique<Forms>();
        p.collection = &collection;
        p.revision = collection.ContentRevision();
        LayOutSlots(*p.forms, collection);
    }
    Forms& forms = *p.forms;
    const size_t end = std::min(forms.m_items.size(), p.nextItem + std::max<size_t>(budget, 1));
    for (size_t i = p.nextItem; i < end; ++i) {
        const Forms::ItemSlots& is = forms.m_items[i];
        const Item& item = *is.item;
        if (item.GetRecords().Count() + 1 != int(is.count)) {
            p = Pending(); // a record came or went without a new revision: start again
            return false;
        }
        size_t slot = is.first;
        Store(forms, slot++, item.Name(), true);
        for (const Record& r : item.GetRecords()) {
            forms.m_slots[slot].tagId = r.tagId;
            Store(forms, slot++, r.value, true);
        }
    }
    p.nextItem = end;
    if (end < forms.m_items.size())
        return false;
    forms.m_revision = p.revision;
    m_forms[&collection] = std::move(p.forms);
    p = Pending();
    return true;
}

void NormalizedIndex::Prune(const Collections& list)
{
    if (m_forms.empty())
        return;
    // One pass over the list and one over the cache: looking every cached collection up in
    // the list would cost their product on every search of a large album.
    std::unordered_set<const Collection*> present;
    present.reserve(size_t(list.Count()));
    for (const Collection& c : list)
        present.insert(&c);
    for (auto it = m_forms.begin(); it != m_forms.end();) {
        if (present.count(it->first))
            ++it;
        else
            it = m_forms.erase(it);
    }
}

void NormalizedIndex::Clear()
{
    m_forms.clear();
    m_pending = Pending();
}

} // namespace tessary
