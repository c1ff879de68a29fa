#pragma once
// Text helpers shared by every module: integer parsing, UTF-8 conversion, markup escaping,
// locale-aware prefix tests and the message placeholder filler. All re-entrant.

#include <string>
#include <QByteArray>
#include <QString>

namespace tessary {

// Whole-text decimal integer with an optional sign. Empty text, any non-digit, a value that
// does not fit 32 bits, or a sign that disagrees with the result give 0 and *ok = false.
int ParseInt(const QString& text, bool* ok = nullptr);

// Leading decimal number of an attribute value ("12px" gives 12); false when there is none.
bool LeadingInt(const char* text, int& value);

QByteArray Utf8FromUtf16(const QString& text);
QString Utf16FromUtf8(const char* data, qsizetype size = -1);
inline QString Utf16FromUtf8(const std::string& s) { return Utf16FromUtf8(s.data(), qsizetype(s.size())); }
// The locale's 8-bit encoding.
QByteArray AnsiFromUtf16(const QString& text);

// "&" "\"" "<" ">" " " "\n" to "&amp;" "&quot;" "&lt;" "&gt;" "&nbsp;" "<br>", in that order.
QString EscapeMarkup(const QString& text);
// The inverse replacements in the reverse order.
QString UnescapeMarkup(const QString& text);

// Locale-aware comparison of the text's head (tail) with the prefix (suffix).
bool StartsWith(const QString& text, const QString& prefix, bool caseSensitive);
bool EndsWith(const QString& text, const QString& suffix, bool caseSensitive);

// Whitespace as the query language sees it: the class of the expressions' "\s" (blanks,
// tabs, line breaks, U+001C-U+001F, the Unicode space separators).
bool IsSpace(QChar c);

// Lower-cases each code point on its own with the simple Unicode mapping (U+0130 becomes
// "i"), so the length never changes and positions in the text stay valid.
void LowerInPlace(QString& text);

// Replaces the first placeholder "%" + decimal digits, whatever its number, with the value.
// A text without placeholder is returned unchanged; fill several values by successive calls.
QString FillPlaceholder(const QString& text, const QString& value);
QString FillPlaceholder(const QString& text, long long value);

} // namespace tessary
