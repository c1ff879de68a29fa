#pragma once
// Text normalisation shared by the query and by every name or value that search matches:
// whitespace runs collapse to one blank, leading and trailing whitespace vanish, and the
// result is lower-cased one code point at a time (so its length never changes and positions
// map back to the source). Re-entrant; no state.

#include <vector>
#include <QString>
#include <QStringView>

namespace tessary {

// For each index of the normalised text, the source index it came from, followed by one
// final entry equal to the source length (so a normalised range [a, b) maps to the source
// range [map[a], map[b])).
using PositionMap = std::vector<qsizetype>;

QString NormalizeText(QStringView text, PositionMap* positionMap = nullptr);

// The key of a tag or field name: every whitespace character removed, the rest lower-cased
// one character at a time. "Shot On" gives "shoton".
QString MakeTagKey(QStringView name);


// The text with every unpaired surrogate replaced by U+FFFD, one unit for one, so positions
// stay valid. The regular-expression layer refuses ill-formed UTF-16 by throwing; text from
// the user or from a file is passed through this before it is matched there.
QString WithPairedSurrogates(const QString& text);

} // namespace tessary
