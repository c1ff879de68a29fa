#pragma once
// Matching a term value against a name or tag value. The value is already normalised
// (TextNormalize.h); the text is normalised here, or handed in normalised by callers that
// keep normalised forms. Ranges are in the source text. Re-entrant; no state.

#include <QString>
#include <QStringView>

#include "search/TextNormalize.h"

namespace tessary {

struct TextRange {
    qsizetype start = 0;
    qsizetype end = 0; // exclusive
    bool operator==(const TextRange&) const = default;
};

// The normalised text equals the value. The range is the source without its leading and
// trailing blanks (U+0020).
bool MatchExact(QStringView text, QStringView value, TextRange* range = nullptr);

// The value occurs in the normalised text; a value that begins with a letter (and not above
// U+00FF) must occur at the start of a word. The range spans the matched characters in the
// source, collapsed whitespace included.
bool MatchContains(QStringView text, QStringView value, TextRange* range = nullptr);

// The index in a normalised text where MatchContains finds the value, or -1.
qsizetype FindContains(QStringView normalized, QStringView value);
// The same with MatchesAnywhere(value) worked out beforehand.
qsizetype FindContains(QStringView normalized, QStringView value, bool anywhere);
// Whether a value may match anywhere rather than at word starts only: it does not begin with
// a letter, or its first character is above U+00FF.
bool MatchesAnywhere(QStringView value);

// The blank-trimmed source range of MatchExact.
TextRange ExactRange(QStringView text);

} // namespace tessary
