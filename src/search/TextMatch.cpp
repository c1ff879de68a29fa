#include "TextMatch.h"

namespace tessary {

TextRange ExactRange(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return {start, end};
}

bool MatchExact(QStringView text, QStringView value, TextRange* range)
{
    if (text.isEmpty() || value.isEmpty())
        return false;
    if (NormalizeText(text) != value)
        return false;
    if (range)
        *range = ExactRange(text);
    return true;
}

bool MatchesAnywhere(QStringView value)
{
    return value.isEmpty() || !value[0].isLetter() || value[0].unicode() > 0xFF;
}

qsizetype FindContains(QStringView normalized, QStringView value)
{
    return FindContains(normalized, value, MatchesAnywhere(value));
}

qsizetype FindContains(QStringView normalized, QStringView value, bool anywhere)
{
    const qsizetype length = normalized.size();
    const qsizetype m = value.size();
    if (m == 0 || length < m)
        return -1;
    if (anywhere)
        return normalized.indexOf(value);

    // Word starts only. The last place a match can begin:
    const qsizetype limit = length - m;
    qsizetype from = 0;
    while (from >= 0 && from <= limit) {
        const qsizetype at = normalized.indexOf(value, from);
        if (at < 0)
            return -1;
        // A match right at a resumed search position is not taken on trust: that position
        // may lie inside a word when no word break was found before it.
        if (at == 0 || !normalized[at - 1].isLetter())
            return at;
        // Every occurrence before the next non-letter lies inside this word as well.
        qsizetype next = -1;
        for (qsizetype i = at + 1; i < limit; ++i) {
            if (!normalized[i].isLetter()) {
                next = i + 1;
                break;
            }
        }
        if (next < 0)
            return -1;
        from = next;
    }
    return -1;
}

bool MatchContains(QStringView text, QStringView value, TextRange* range)
{
    if (text.isEmpty() || value.isEmpty())
        return false;
    PositionMap map;
    const QString normalized = NormalizeText(text, range ? &map : nullptr);
    const qsizetype at = FindContains(normalized, value);
    if (at < 0)
        return false;
    if (range)
        *range = {map[size_t(at)], map[size_t(at + value.size())]};
    return true;
}

} // namespace tessary
