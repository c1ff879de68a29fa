#pragma once
// Turning a text into colour markup with the matches of a query's terms highlighted.
// Re-entrant; no state.

#include <vector>
#include <QString>
#include <QStringView>

#include "search/SearchTerm.h"
#include "search/TextMatch.h"

namespace tessary {

// The opening tags this system writes: a search match and the grey tag-name prefix.
inline constexpr char16_t kMatchOpenTag[] = u"<color bg=#FFEB64>";
inline constexpr char16_t kTagNameOpenTag[] = u"<color fg=#828A99>";
inline constexpr char16_t kColorCloseTag[] = u"</color>";

// Appends `text` escaped, inside `openTag` ... "</color>". A line feed is written outside the
// element, because an element holding "<br>" would no longer parse as one.
void AppendColored(QString& out, QStringView text, QStringView openTag);

// The ranges of a highlight, in the order added; matches of consecutive terms that touch or
// are separated only by whitespace are merged.
class HighlightRanges {
public:
    explicit HighlightRanges(QStringView text) : m_text(text) {}
    // Ranges outside the text, or empty, are ignored.
    void Add(TextRange r, bool previous);
    const std::vector<TextRange>& Ranges() const { return m_ranges; }

private:
    QStringView m_text;
    std::vector<TextRange> m_ranges;
};

// The markup of `text` with the matches of every term whose kind differs from `skipKind`
// highlighted on #FFEB64. Without any match, the text escaped.
QString HighlightText(const QString& text, const std::vector<SearchTerm>& terms, int skipKind);

// Builds the markup of `text` with the characters that some range covers highlighted.
QString MarkupFromRanges(QStringView text, const std::vector<TextRange>& ranges);

} // namespace tessary
