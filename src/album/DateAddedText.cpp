#include "DateAddedText.h"

#include <algorithm>
#include <cstring>
#include <QByteArray>

namespace tessary {

namespace {
inline bool Digits(const char* p, int count, int& value)
{
    int v = 0;
    for (int i = 0; i < count; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v = v * 10 + (p[i] - '0');
    }
    value = v;
    return true;
}

inline void Put(char*& p, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        p[i] = char('0' + value % 10);
        value /= 10;
    }
    p += width;
}
} // namespace

bool ParseDateAdded(std::string_view utf8, DateTime& out)
{
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            // The general parser counts UTF-16 units; only it decides for such texts.
            return out.Parse(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
        }
    }
    if (utf8.size() != 23)
        return false;
    const char* s = utf8.data();
    int y, mo, d, h, mi, sec, ms;
    // Position 10 separates the parts and is not looked at, as in DateTime::Parse.
    if (!Digits(s, 4, y) || s[4] != '-' || !Digits(s + 5, 2, mo) || s[7] != '-' || !Digits(s + 8, 2, d)
        || !Digits(s + 11, 2, h) || s[13] != ':' || !Digits(s + 14, 2, mi) || s[16] != ':'
        || !Digits(s + 17, 2, sec) || s[19] != '.' || !Digits(s + 20, 3, ms))
        return false;
    const Time t(h, mi, sec, ms);
    if (!t.IsValid())
        return false;
    Date date;
    if (!date.SetYmd(y, mo, d))
        return false;
    out.date = date;
    out.time = t;
    return true;
}

size_t FormatDateAdded(const DateTime& when, char* out, size_t capacity)
{
    int y, mo, d;
    when.date.GetYmd(y, mo, d);
    if (y < 1000 || y > 9999 || !when.time.IsValid() || capacity < 23) {
        const QByteArray text = when.Text().toUtf8();
        const size_t n = std::min(capacity, size_t(text.size()));
        std::memcpy(out, text.constData(), n);
        return n;
    }
    char* p = out;
    Put(p, y, 4);
    *p++ = '-';
    Put(p, mo, 2);
    *p++ = '-';
    Put(p, d, 2);
    *p++ = ' ';
    Put(p, when.time.Hour(), 2);
    *p++ = ':';
    Put(p, when.time.Minute(), 2);
    *p++ = ':';
    Put(p, when.time.Second(), 2);
    *p++ = '.';
    Put(p, when.time.Millisecond(), 3);
    return 23;
}

} // namespace tessary
