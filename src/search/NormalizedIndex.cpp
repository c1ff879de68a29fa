#include "NormalizedIndex.h"

#include "album/Collections.h"
#include "search/TextNormalize.h"

namespace tessary {

void NormalizedIndex::Append(Forms& forms, Forms::Slot& slot, const QString& source)
{
    const QString normalized = NormalizeText(source);
    ++m_stats.normalized;
    slot.source = source;
    slot.length = size_t(normalized.size());
    slot.offset = forms.m_text.size();
    const char16_t* p = reinterpret_cast<const char16_t*>(normalized.utf16());
    forms.m_text.insert(forms.m_text.end(), p, p + normalized.size());
}

void NormalizedIndex::Refresh(Forms& forms, Forms::Slot& slot, const QString& source)
{
    if (slot.source.constData() == source.constData() && slot.source.size() == source.size())
        return;
    if (slot.source == source) {
        slot.source = source; // share the model's buffer so that the next check is the quick one
        return;
    }
    const QString normalized = NormalizeText(source);
    ++m_stats.normalized;
    const size_t length = size_t(normalized.size());
    const char16_t* p = reinterpret_cast<const char16_t*>(normalized.utf16());
    if (length <= slot.length) {
        std::copy(p, p + length, forms.m_text.begin() + ptrdiff_t(slot.offset));
        forms.m_waste += slot.length - length;
    } else {
        forms.m_waste += slot.length;
        slot.offset = forms.m_text.size();
        forms.m_text.insert(forms.m_text.end(), p, p + length);
    }
    slot.length = length;
    slot.source = source;
}

void NormalizedIndex::Layout(Forms& forms, const Collection& collection)
{
    ++m_stats.layouts;
    const Items& items = collection.GetItems();
    forms.m_text.clear();
    forms.m_slots.clear();
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
    forms.m_text.reserve(forms.m_slots.size() * 16);
    size_t i = 0;
    for (const Item& item : items) {
        Forms::Slot* slot = &forms.m_slots[forms.m_items[i++].first];
        Append(forms, *slot++, item.Name());
        for (const Record& r : item.GetRecords())
            Append(forms, *slot++, r.value);
    }
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
    size_t i = 0;
    for (const Item& item : items) {
        const Forms::ItemSlots& is = forms.m_items[i++];
        if (is.item != &item || is.count != 1 + size_t(item.GetRecords().Count())) {
            // Items moved, came or went, or records were added: lay the collection out anew.
            Layout(forms, collection);
            return forms;
        }
        Forms::Slot* slot = &forms.m_slots[is.first];
        Refresh(forms, *slot++, item.Name());
        for (const Record& r : item.GetRecords())
            Refresh(forms, *slot++, r.value);
    }
    if (forms.m_waste > 4096 && forms.m_waste > forms.m_text.size() / 2)
        Layout(forms, collection);
    return forms;
}

void NormalizedIndex::Prune(const Collections& list)
{
    for (auto it = m_forms.begin(); it != m_forms.end();) {
        if (list.Contains(it->first))
            ++it;
        else
            it = m_forms.erase(it);
    }
}

void NormalizedIndex::Clear()
{
    m_forms.clear();
}

} // namespace tessary
