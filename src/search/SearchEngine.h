#pragma once
// The search engine: the parsed query, its evaluation over a scope of the open album, and
// the highlighted texts of the found items. One process-wide object (Instance()), created
// on first use; separate engines may be made for tests and tools.
//
// UI thread only, like the album model it reads; nothing is locked. The engine does not own
// the scope or the items: the scope must be reset (Reset or SetScope) before its collection
// goes away, and results must be dropped before their items are destroyed.

#include <vector>
#include <QString>

#include "search/NormalizedIndex.h"
#include "search/SearchTerm.h"
#include "search/TextMatch.h"

namespace tessary {

class Collection;
class Item;

struct SearchResult {
    const Item* item = nullptr;
    QString nameMarkup;   // the item name with its matches highlighted; empty until built
    QString detailMarkup; // one tag value line; empty until built (or when there is none)
};

class SearchEngine {
public:
    static SearchEngine& Instance();

    SearchEngine() = default;
    SearchEngine(const SearchEngine&) = delete;
    SearchEngine& operator=(const SearchEngine&) = delete;

    // A real collection, or the album's "All Collections" entry (id 0) for the whole album;
    // null for none.
    void SetScope(const Collection* scope) { m_scope = scope; }
    const Collection* Scope() const { return m_scope; }

    // Parses a query into the term list. False when no scope is set or the query is empty
    // (the previous terms stay), or when no term results (the list is then empty).
    bool Parse(const QString& query);
    const std::vector<SearchTerm>& Terms() const { return m_terms; }

    // Finds the items of the scope for which every term holds, grouped by collection in
    // collection order, then in item order. False when no scope is set, there are no terms,
    // or the scope is "All Collections" of an album without collections; true otherwise,
    // also when nothing was found.
    bool Run();
    std::vector<SearchResult>& Results() { return m_results; }
    const std::vector<SearchResult>& Results() const { return m_results; }

    // Forgets the scope and the terms.
    void Reset();

    // Fills the result's markups: the name with bare words, phrases and item-name terms
    // highlighted, and the value line of the last record with a match (or else of the last
    // valid record), prefixed with its tag name in grey. False when no scope is set, there
    // are no terms, or the result has no item.
    bool BuildResultTexts(SearchResult& result) const;

    // The markup of a tag value for the tags pane; empty unless both strings are non-empty.
    QString HighlightTagValue(const QString& tagKey, const QString& value) const;
    // The markup of a text with the matches of every term whose kind is not `skipKind`.
    QString Highlight(const QString& text, int skipKind) const;

    static bool MatchExact(const QString& text, const QString& value, TextRange* range = nullptr)
    {
        return tessary::MatchExact(text, value, range);
    }
    static bool MatchContains(const QString& text, const QString& value, TextRange* range = nullptr)
    {
        return tessary::MatchContains(text, value, range);
    }

    // Builds a collection's normalised forms ahead of the first search, at most `budget`
    // items per call (see NormalizedIndex::Prepare); true when they are there.
    bool PrepareForms(const Collection& collection, size_t budget) { return m_index.Prepare(collection, budget); }
    // Drops the normalised forms kept between searches (for example when an album closes).
    void ForgetNormalizedTexts() { m_index.Clear(); }
    const NormalizedIndex& Index() const { return m_index; }

private:
    void RunCollection(const Collection& collection);

    const Collection* m_scope = nullptr;
    std::vector<SearchTerm> m_terms;
    std::vector<SearchResult> m_results;
    NormalizedIndex m_index;
};

} // namespace tessary
