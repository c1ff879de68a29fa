#include "Text.h"

#include <QCollator>
#include <QLocale>
#include <QStringEncoder>

#include <unicode/uchar.h>

namespace tessary {

int ParseInt(const QString& text, bool* ok)
{
    if (ok)
        *ok = false;
    if (text.isEmpty())
        return 0;
    qsizetype i = 0;
    const bool minus = text[0] == QLatin1Char('-');
    if (minus || text[0] == QLatin1Char('+'))
        ++i;
    if (i == text.size())
        return 0;
    long long v = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        v = v * 10 + (c.unicode() - '0');
        if (v > 2147483648LL)
            return 0;
    }
    if (minus)
        v = -v;
    if (v > 2147483647LL)
        return 0;
    if (ok)
        *ok = true;
    return int(v);
}

bool LeadingInt(const char* text, int& value)
{
    if (!text)
        return false;
    const char* p = text;
    bool minus = false;
    if (*p == '-' || *p == '+')
        minus = *p++ == '-';
    if (*p < '0' || *p > '9')
        return false;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (v < 4294967296LL)
            v = v * 10 + (*p - '0');
    }
    if (minus)
        v = -v;
    if (v > 2147483647LL || v < -2147483648LL)
        return false;
    value = int(v);
    return true;
}

QByteArray Utf8FromUtf16(const QString& text)
{
    return text.toUtf8();
}

QString Utf16FromUtf8(const char* data, qsizetype size)
{
    if (!data)
        return QString();
    return QString::fromUtf8(data, size);
}

QByteArray AnsiFromUtf16(const QString& text)
{
    return text.toLocal8Bit();
}

QString EscapeMarkup(const QString& text)
{
    if (text.isEmpty())
        return text;
    QString s = text;
    s.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    s.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    s.replace(QLatin1Char(' '), QLatin1String("&nbsp;"));
    s.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return s;
}

QString UnescapeMarkup(const QString& text)
{
    if (text.isEmpty())
        return text;
    QString s = text;
    s.replace(QLatin1String("<br>"), QLatin1String("\n"));
    s.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

namespace {
bool LocaleEqual(QStringView a, QStringView b, bool caseSensitive)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() && b.isEmpty();
    // QCollator is not thread-safe to share; one per thread keeps the function re-entrant.
    thread_local QCollator collators[2] = {QCollator(QLocale::system()), QCollator(QLocale::system())};
    QCollator& c = collators[caseSensitive ? 1 : 0];
    c.setCaseSensitivity(caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    return c.compare(a, b) == 0;
}
} // namespace

bool StartsWith(const QString& text, const QString& prefix, bool caseSensitive)
{
    if (prefix.size() > text.size())
        return false;
    if (prefix.isEmpty())
        return true;
    return LocaleEqual(QStringView(text).left(prefix.size()), prefix, caseSensitive);
}

bool EndsWith(const QString& text, const QString& suffix, bool caseSensitive)
{
    if (suffix.size() > text.size())
        return false;
    if (suffix.isEmpty())
        return true;
    return LocaleEqual(QStringView(text).right(suffix.size()), suffix, caseSensitive);
}

bool IsSpace(QChar c)
{
    // ICU's class, the one the expression layer's "\s" uses, so that normalising and cutting
    // a query into terms agree on every character (U+001C-U+001F included).
    return u_isspace(UChar32(c.unicode()));
}

void LowerInPlace(QString& text)
{
    // ICU's simple mapping, one code point at a time: QString::toLower applies full mappings,
    // which may change the length and would break position maps, and QChar::toLower leaves
    // U+0130 as it is.
    QChar* p = text.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1].unicode())) {
            const char32_t lower = char32_t(u_tolower(UChar32(QChar::surrogateToUcs4(u, p[i + 1].unicode()))));
            if (QChar::requiresSurrogates(lower)) {
                p[i] = QChar(QChar::highSurrogate(lower));
                p[i + 1] = QChar(QChar::lowSurrogate(lower));
            }
            ++i;
            continue;
        }
        if (QChar::isSurrogate(u))
            continue;
        const char32_t lower = char32_t(u_tolower(UChar32(u)));
        if (!QChar::requiresSurrogates(lower))
            p[i] = QChar(char16_t(lower));
    }
}

QString FillPlaceholder(const QString& text, const QString& value)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('%') || !text[i + 1].isDigit() || text[i + 1].unicode() > 127)
            continue;
        qsizetype end = i + 1;
        while (end < text.size() && text[end].unicode() >= '0' && text[end].unicode() <= '9')
            ++end;
        return text.left(i) + value + text.mid(end);
    }
    return text;
}

QString FillPlaceholder(const QString& text, long long value)
{
    return FillPlaceholder(text, QString::number(value));
}

} // namespace tessary
