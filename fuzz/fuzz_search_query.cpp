// The query parser and the highlighter read what the user types.
#include <cstdint>

#include "FuzzSeeds.h"
#include "FuzzText.h"
#include "search/Highlighter.h"
#include "search/Markup.h"
#include "search/QueryParser.h"
#include "search/TextMatch.h"
#include "util/Text.h"

using namespace tessary;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* seeds[] = {"beach", "\"red car\" itemname:=Sunset", "place:\"new york", "a:b:c sky=blue",
                           "Shot On:canon \"\" abc\"def\"", "tag:=\"  \" =x", "car 2010 \xe5\x86\x99\xe7\x9c\x9f"};
    int n = 0;
    for (const char* s : seeds)
        fuzz::WriteSeed("q" + std::to_string(n++), std::string("\x02") + s);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 8192)
        return 0;
    const QString text = fuzz::TextFromBytes(data, size);
    const std::vector<SearchTerm> terms = ParseQueryTerms(text);
    for (const SearchTerm& t : terms) {
        if (t.kind < TermKindAny || t.kind > TermKindTag)
            __builtin_trap();
        if ((t.kind == TermKindTag) != !t.tagKey.isEmpty())
            __builtin_trap();
        if (t.value.startsWith(QLatin1Char(' ')) || t.value.endsWith(QLatin1Char(' ')))
            __builtin_trap();
        TextRange r;
        if (MatchContains(text, t.value, &r) && (r.start < 0 || r.start >= r.end || r.end > text.size()))
            __builtin_trap();
        if (MatchExact(text, t.value, &r) && (r.start < 0 || r.start >= r.end || r.end > text.size()))
            __builtin_trap();
    }
    // Highlighting the query with its own terms must give markup that parses back to the text.
    const QString markup = HighlightText(text, terms, -1);
    QString back;
    for (const ColorRun& run : ParseMarkup(markup, RunDefaults()))
        back += UnescapeMarkup(run.text);
    if (back != text)
        __builtin_trap();
    return 0;
}
