#include "SearchEngine.h"

#include <algorithm>

#include "album/Collections.h"
#include "search/Highlighter.h"
#include "search/QueryParser.h"
#include "util/Text.h"

namespace tessary {

namespace {
struct PreparedTerm {
    int kind = TermKindAny;
    bool exact = false;
    bool anywhere = false;
    QStringView value;
    uint64_t mask = 0;
    int32_t tagId = -1; // TermKindTag: the collection's tag with the term's key
};

bool Holds(const NormalizedIndex::Forms& forms, const NormalizedIndex::Slot& slot, const PreparedTerm& t)
{
    // An empty text never matches; nor does one that lacks a character of the value.
    if (slot.length == 0 || slot.length < uint32_t(t.value.size()) || (t.mask & ~slot.mask) != 0)
        return false;
    const QStringView text = forms.Text(slot);
    if (t.exact)
        return text == t.value;
    return FindContains(text, t.value, t.anywhere) >= 0;
}
} // namespace

SearchEngine& SearchEngine::Instance()
{
    static SearchEngine engine;
    return engine;
}

bool SearchEngine::Parse(const QString& query)
{
    if (!m_scope || query.isEmpty())
        return false;
    m_terms = ParseQueryTerms(query);
    return !m_terms.empty();
}

void SearchEngine::Reset()
{
    m_scope = nullptr;
    m_terms.clear();
}

bool SearchEngine::Run()
{
    if (!m_scope || m_terms.empty())
        return false;
    m_results.clear();
    const Collections& list = m_scope->List();
    if (m_scope->Id() == 0) {
        if (list.IsEmpty())
            return false;
        m_index.Prune(list);
        for (const Collection& c : list)
            RunCollection(c);
    } else {
        m_index.Prune(list);
        RunCollection(*m_scope);
    }
    return true;
}

void SearchEngine::RunCollection(const Collection& collection)
{
    const Tags& tags = collection.GetTags();
    std::vector<PreparedTerm> prepared;
    prepared.reserve(m_terms.size());
    for (const SearchTerm& term : m_terms) {
        // An empty value matches nothing, so no item can hold every term.
        if (term.value.isEmpty())
            return;
        PreparedTerm p;
        p.kind = term.kind;
        p.exact = term.exact;
        p.value = term.value;
        p.anywhere = MatchesAnywhere(term.value);
        p.mask = CharacterMask(term.value);
        if (term.kind == TermKindTag) {
            // Keys are made here with the same rule as the term's, whatever the model caches.
            for (const Tag& tag : tags) {
                if (MakeTagKey(tag.Name()) == term.tagKey) {
                    p.tagId = tag.Id();
                    break;
                }
            }
            if (p.tagId == -1)
                return;
        }
        prepared.push_back(p);
    }
    // Records count for bare words and phrases only when their tag exists here.
    std::vector<int32_t> tagIds;
    for (const Tag& tag : tags)
        tagIds.push_back(tag.Id());
    std::sort(tagIds.begin(), tagIds.end());
    auto tagExists = [&](int32_t id) {
        return id != -1 && std::binary_search(tagIds.begin(), tagIds.end(), id);
    };

    // From here on only the forms are read, never the model: a record's value is empty
    // exactly when its form is (an empty or all-blank value matches nothing either way).
    const NormalizedIndex::Forms& forms = m_index.Update(collection);
    const size_t count = forms.ItemCount();
    for (size_t i = 0; i < count; ++i) {
        const NormalizedIndex::Slot* texts = forms.SlotsOf(i);
        const size_t n = forms.SlotCount(i);
        bool found = true;
        for (const PreparedTerm& t : prepared) {
            bool holds = false;
            if (t.kind == TermKindItemName) {
                holds = Holds(forms, texts[0], t);
            } else if (t.kind == TermKindTag) {
                for (size_t k = 1; k < n; ++k) {
                    if (texts[k].tagId == t.tagId) {
                        holds = Holds(forms, texts[k], t);
                        break;
                    }
                }
            } else {
                holds = Holds(forms, texts[0], t);
                for (size_t k = 1; !holds && k < n; ++k)
                    holds = Holds(forms, texts[k], t) && tagExists(texts[k].tagId);
            }
            if (!holds) {
                found = false;
                break;
            }
        }
        if (found)
            m_results.push_back(SearchResult{forms.ItemAt(i), QString(), QString()});
    }
}

QString SearchEngine::Highlight(const QString& text, int skipKind) const
{
    return HighlightText(text, m_terms, skipKind);
}

QString SearchEngine::HighlightTagValue(const QString& tagKey, const QString& value) const
{
    if (tagKey.isEmpty() || value.isEmpty())
        return QString();
    return Highlight(value, TermKindItemName);
}

bool SearchEngine::BuildResultTexts(SearchResult& result) const
{
    if (!m_scope || m_terms.empty() || !result.item)
        return false;
    const Item& item = *result.item;
    result.nameMarkup = Highlight(item.Name(), TermKindTag);
    result.detailMarkup.clear();

    const Tags& tags = item.OwnerCollection().GetTags();
    const Records& records = item.GetRecords();
    QString chosen;
    const Tag* chosenTag = nullptr;
    QString fallback;
    const Tag* fallbackTag = nullptr;
    for (int r = records.Count() - 1; r >= 0; --r) {
        const Record& rec = records.At(r);
        if (rec.tagId == -1 || rec.value.isEmpty())
            continue;
        const Tag* tag = tags.FindById(rec.tagId);
        if (!tag)
            continue;
        QString markup = Highlight(rec.value, TermKindItemName);
        if (markup.contains(QStringView(kColorCloseTag))) {
            chosen = std::move(markup);
            chosenTag = tag;
            break;
        }
        if (!markup.isEmpty() && !fallbackTag) {
            fallback = std::move(markup);
            fallbackTag = tag;
        }
    }
    if (!chosenTag) {
        chosen = std::move(fallback);
        chosenTag = fallbackTag;
    }
    if (!chosen.isEmpty() && chosenTag) {
        // The line is drawn on one line; a line feed in a tag name would break the element.
        QString name = chosenTag->Name();
        name.replace(QLatin1Char('\n'), QLatin1Char(' '));
        QString& line = result.detailMarkup;
        line.reserve(40 + name.size() * 2 + chosen.size());
        line += QStringView(kTagNameOpenTag);
        line += EscapeMarkup(name);
        line += QLatin1String(": ");
        line += QStringView(kColorCloseTag);
        line += chosen;
    }
    return true;
}

} // namespace tessary
