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
    int32_t tagId = -1; // TermKindTag: the collection's tag with the term's key
};

bool Holds(QStringView text, const PreparedTerm& t)
{
    if (text.isEmpty())
        return false;
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
    std::vector<int32_t> tagIds;
    for (const Tag& tag : tags)
        tagIds.push_back(tag.Id());
    std::sort(tagIds.begin(), tagIds.end());
    auto validRecord = [&](const Record& r) {
        return r.tagId != -1 && !r.value.isEmpty() && std::binary_search(tagIds.begin(), tagIds.end(), r.tagId);
    };

    const NormalizedIndex::Forms& forms = m_index.Update(collection);
    int i = 0;
    for (const Item& item : collection.GetItems()) {
        const Records& records = item.GetRecords();
        bool found = true;
        for (const PreparedTerm& t : prepared) {
            bool holds = false;
            if (t.kind == TermKindItemName) {
                holds = Holds(forms.Name(i), t);
            } else if (t.kind == TermKindTag) {
                int r = 0;
                for (const Record& rec : records) {
                    if (rec.tagId == t.tagId) {
                        holds = !rec.value.isEmpty() && Holds(forms.Value(i, r), t);
                        break;
                    }
                    ++r;
                }
            } else {
                holds = Holds(forms.Name(i), t);
                int r = 0;
                for (auto it = records.begin(); !holds && it != records.end(); ++it, ++r)
                    holds = validRecord(*it) && Holds(forms.Value(i, r), t);
            }
            if (!holds) {
                found = false;
                break;
            }
        }
        if (found)
            m_results.push_back(SearchResult{&item, QString(), QString()});
        ++i;
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
        result.detailMarkup = QStringView(kTagNameOpenTag) + EscapeMarkup(name) + QLatin1String(": ") +
                              QStringView(kColorCloseTag) + chosen;
    }
    return true;
}

} // namespace tessary
