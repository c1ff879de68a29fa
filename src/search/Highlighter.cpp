#include "Highlighter.h"

#include "util/Text.h"

namespace tessary {

namespace {
void AppendEscaped(QString& out, QChar c)
{
    switch (c.unicode()) {
    case u'&': out += QLatin1String("&amp;"); break;
    case u'"': out += QLatin1String("&quot;"); break;
    case u'<': out += QLatin1String("&lt;"); break;
    case u'>': out += QLatin1String("&gt;"); break;
    case u' ': out += QLatin1String("&nbsp;"); break;
    case u'\n': out += QLatin1String("<br>"); break;
    default: out += c; break;
    }
}
} // namespace

void AppendColored(QString& out, QStringView text, QStringView openTag)
{
    bool open = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            if (open)
                out += QStringView(kColorCloseTag);
            open = false;
            out += QLatin1String("<br>");
            continue;
        }
        if (!open)
            out += openTag;
        open = true;
        AppendEscaped(out, c);
    }
    if (open)
        out += QStringView(kColorCloseTag);
}

void HighlightRanges::Add(TextRange r, bool previous)
{
    const qsizetype length = m_text.size();
    if (r.start < 0 || r.start > length - 1 || r.end < 1 || r.end > length || r.start >= r.end)
        return;
    if (!m_ranges.empty()) {
        TextRange& last = m_ranges.back();
        if (last.start < last.end && last.start <= r.start && r.start <= last.end) {
            last.end = std::max(last.end, r.end);
            return;
        }
        if (previous && last.end < r.start) {
            bool blanks = true;
            for (qsizetype i = last.end; i < r.start && blanks; ++i)
                blanks = IsSpace(m_text[i]);
            if (blanks) {
                last.end = r.end;
                return;
            }
        }
    }
    m_ranges.push_back(r);
}

QString MarkupFromRanges(QStringView text, const std::vector<TextRange>& ranges)
{
    QString out;
    out.reserve(text.size() + 40);
    auto covered = [&](qsizetype at) {
        for (const TextRange& r : ranges) {
            if (r.start <= at && at < r.end)
                return true;
        }
        return false;
    };
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = i + 1;
        const bool lit = covered(i);
        while (end < text.size() && covered(end) == lit)
            ++end;
        if (lit) {
            AppendColored(out, text.mid(i, end - i), QStringView(kMatchOpenTag));
        } else {
            for (qsizetype k = i; k < end; ++k)
                AppendEscaped(out, text[k]);
        }
        i = end;
    }
    return out;
}

QString HighlightText(const QString& text, const std::vector<SearchTerm>& terms, int skipKind)
{
    if (text.isEmpty())
        return text;
    HighlightRanges ranges(text);
    bool previous = false;
    PositionMap map;
    QString normalized;
    bool normalizedYet = false;
    for (const SearchTerm& term : terms) {
        if (term.kind == skipKind)
            continue;
        if (term.value.isEmpty()) {
            previous = false;
            continue;
        }
        if (!normalizedYet) {
            normalized = NormalizeText(text, &map);
            normalizedYet = true;
        }
        TextRange r;
        bool found = false;
        if (term.exact) {
            found = !normalized.isEmpty() && normalized == term.value;
            if (found)
                r = ExactRange(text);
        } else {
            const qsizetype at = FindContains(normalized, term.value);
            found = at >= 0;
            if (found)
                r = {map[size_t(at)], map[size_t(at + term.value.size())]};
        }
        if (found) {
            ranges.Add(r, previous);
            previous = true;
        } else {
            previous = false;
        }
    }
    if (ranges.Ranges().empty())
        return EscapeMarkup(text);
    return MarkupFromRanges(text, ranges.Ranges());
}

} // namespace tessary
