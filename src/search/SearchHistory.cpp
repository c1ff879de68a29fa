#include "SearchHistory.h"

#include <algorithm>

namespace tessary {

namespace {
// Plain UTF-16 code-unit order (a surrogate sorts by its unit, not its code point).
int CompareUnits(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return a[i].unicode() < b[i].unicode() ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
} // namespace

void SearchHistory::RecordSearch(const QString& text)
{
    if (text.isEmpty())
        return;
    m_recent.removeOne(text);
    m_recent.prepend(text);
    while (m_recent.size() > kRecentLimit)
        m_recent.removeLast();

    qsizetype i = 0;
    for (; i < m_all.size(); ++i) {
        const int order = CompareUnits(m_all[i], text);
        if (order == 0)
            return;
        if (order > 0)
            break;
    }
    m_all.insert(i, text);
}

QStringList SearchHistory::Suggest(const QString& typed) const
{
    if (typed.isEmpty())
        return m_recent;
    QStringList out;
    const QChar first = typed[0];
    for (const QString& entry : m_all) {
        // An empty entry can only come from a hand-edited settings file; it suggests nothing.
        if (entry.isEmpty())
            continue;
        if (entry[0] > first)
            break;
        if (entry[0] < first)
            continue;
        if (entry.size() > typed.size() && entry.startsWith(typed, Qt::CaseSensitive)) {
            out.append(entry);
            if (out.size() == kSuggestionLimit)
                break;
        }
    }
    return out;
}

void SearchHistory::ClearHistory()
{
    m_recent.clear();
    m_all.clear();
}

} // namespace tessary
