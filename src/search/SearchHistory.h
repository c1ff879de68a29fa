#pragma once
// The search history: the most recent searches (newest first, at most 3, no duplicates) and
// the sorted list of all searches (ascending by UTF-16 code units, no duplicates), and the
// suggestions picked from them. The settings own the stored lists: whoever shows
// suggestions copies them in with the constructor (from Settings::mruSearches and
// allSearches) and back out with Recent() and All().
// UI thread only; nothing is locked.

#include <QString>
#include <QStringList>

namespace tessary {

class SearchHistory {
public:
    static constexpr qsizetype kRecentLimit = 3;
    static constexpr qsizetype kSuggestionLimit = 3;

    SearchHistory() = default;
    SearchHistory(QStringList recent, QStringList all) : m_recent(std::move(recent)), m_all(std::move(all)) {}

    const QStringList& Recent() const { return m_recent; }
    const QStringList& All() const { return m_all; }

    // A committed search: moves (or puts) it at the front of the recent list and into its
    // sorted place in the list of all searches. An empty text changes nothing.
    void RecordSearch(const QString& text);
    // Without typed text, the recent list; otherwise up to 3 searches that are longer than
    // the typed text and begin with it (exact comparison), in sorted order.
    QStringList Suggest(const QString& typed) const;
    void ClearHistory();

private:
    QStringList m_recent;
    QStringList m_all;
};

} // namespace tessary
