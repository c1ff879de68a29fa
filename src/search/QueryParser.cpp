#include "QueryParser.h"

#include "search/TextNormalize.h"
#include "util/Regex.h"

// The term pattern after its "^".
#define TESSARY_TERM_BODY "([^\\s\":=]+)((:=?)(([^\\s\"]+)|\"([^\"]+)\"?))?"

namespace tessary {

namespace {
// The same pattern without "^", matched only at a given position (a continuous match), so
// the tokeniser needs no copy of the rest of the query for every token.
const Regex& TermPatternAt()
{
    static const Regex pattern(QStringLiteral(TESSARY_TERM_BODY));
    return pattern;
}
} // namespace

const Regex& TermPattern()
{
    static const Regex pattern(QStringLiteral("^" TESSARY_TERM_BODY));
    return pattern;
}

QStringList TokenizeQuery(const QString& query)
{
    QStringList tokens;
    const QString text = NormalizeText(query);
    const QString matchable = WithPairedSurrogates(text);
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ')) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('"')) {
            qsizetype close = text.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0)
                close = n;
            const QString phrase = text.mid(i + 1, close - i - 1).trimmed();
            if (!phrase.isEmpty())
                tokens.append(QLatin1Char('"') + phrase);
            i = close < n ? close + 1 : n;
            continue;
        }
        const RegexMatch m = TermPatternAt().MatchAt(matchable, i);
        if (!m.ok || !m.Matched(0) || m.groups[0].length <= 0)
            break;
        tokens.append(m.Text(text, 0));
        i += m.groups[0].length;
    }
    return tokens;
}

bool BuildTerm(const QString& token, SearchTerm& term)
{
    term.Reset();
    if (token.isEmpty())
        return false;
    if (token[0] == QLatin1Char('"')) {
        term.kind = TermKindAny;
        term.value = token.mid(1);
        return true;
    }
    const RegexMatch m = TermPattern().MatchWhole(WithPairedSurrogates(token));
    if (!m.ok)
        return false;
    // A quoted value (group 6) takes the place an unquoted one (group 5) would have.
    QStringList groups;
    for (size_t g = 0; g < m.groups.size(); ++g) {
        if (m.Matched(g))
            groups.append(m.Text(token, g));
    }
    if (groups.size() < 2)
        return false;
    if (groups.size() == 2) {
        term.value = groups[1];
        return true;
    }
    if (groups.size() < 6)
        return false;
    const QString& field = groups[1];
    term.exact = groups[3] == QLatin1String(":=");
    term.value = groups[5].trimmed();
    if (field == QLatin1String("itemname")) {
        term.kind = TermKindItemName;
    } else {
        term.kind = TermKindTag;
        term.tagKey = MakeTagKey(field);
    }
    return true;
}

std::vector<SearchTerm> ParseQueryTerms(const QString& query)
{
    std::vector<SearchTerm> terms;
    for (const QString& token : TokenizeQuery(query)) {
        SearchTerm term;
        if (BuildTerm(token, term))
            terms.push_back(std::move(term));
    }
    return terms;
}

} // namespace tessary
