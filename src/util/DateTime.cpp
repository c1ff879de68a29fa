#include "DateTime.h"

#include <QDateTime>
#include <QLocale>

#include "Regex.h"
#include "Text.h"

namespace tessary {

namespace {
constexpr uint32_t kFirstGregorianJdn = 2361222; // 1752-09-14

uint32_t JdnFromYmd(int y, int month, int day)
{
    const int a = month < 3 ? y - 1 : y;
    const int m = month < 3 ? month + 12 : month;
    return uint32_t((a / 100) * 146097 / 4 + ((a % 100) * 1461) / 4 + (153 * m - 457) / 5 + day
                    + 1721119);
}

bool ParseGroup(const QString& text, const RegexMatch& m, size_t i, int& out)
{
    bool ok = false;
    out = ParseInt(m.Text(text, i), &ok);
    return ok;
}
} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, bool leap)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool Date::IsValidYmd(int year, int month, int day)
{
    if (year >= 0 && year <= 99)
        year += 1900;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, IsLeapYear(year)))
        return false;
    if (year < 1752 || year > 1000000)
        return false;
    return JdnFromYmd(year, month, day) >= kFirstGregorianJdn;
}

bool Date::SetYmd(int year, int month, int day)
{
    if (!IsValidYmd(year, month, day))
        return false;
    if (year >= 0 && year <= 99)
        year += 1900;
    m_jdn = JdnFromYmd(year, month, day);
    return true;
}

void Date::GetYmd(int& year, int& month, int& day) const
{
    uint32_t j = 4 * m_jdn - 6884477;
    const uint32_t c = j / 146097;
    uint32_t r = j - 146097 * c;
    r &= ~3u;
    const uint32_t q = (r + 3) / 1461;
    uint32_t y = 100 * c + q;
    const uint32_t x = ((r - 1461 * q + 7) / 4) * 5;
    const uint32_t mp = (x - 3) / 153;
    day = int(((x - 3) % 153 + 5) / 5);
    if (mp <= 9) {
        month = int(mp + 3);
    } else {
        month = int(mp - 9);
        ++y;
    }
    year = int(y);
}

Date Date::Today()
{
    const QDate d = QDate::currentDate();
    Date out;
    out.SetYmd(d.year(), d.month(), d.day());
    return out;
}

QString Date::Text() const
{
    int y, m, d;
    GetYmd(y, m, d);
    return QString::asprintf("%04d-%02d-%02d", y, m, d);
}

bool Date::Parse(const QString& text)
{
    static const Regex re(QStringLiteral("(\\d{4})-(\\d{2})-(\\d{2})"));
    const RegexMatch m = re.MatchWhole(text);
    int y, mo, d;
    if (!m.ok || !ParseGroup(text, m, 1, y) || !ParseGroup(text, m, 2, mo) || !ParseGroup(text, m, 3, d))
        return false;
    return SetYmd(y, mo, d);
}

Time::Time(int hour, int minute, int second, int millisecond)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute >= 60 || second < 0 || second >= 60
        || millisecond < 0 || millisecond >= 1000) {
        m_ms = kInvalid;
        return;
    }
    m_ms = uint32_t(hour) * 3600000 + uint32_t(minute) * 60000 + uint32_t(second) * 1000
         + uint32_t(millisecond);
}

QString Time::Text() const
{
    return QString::asprintf("%02d:%02d:%02d.%03d", Hour(), Minute(), Second(), Millisecond());
}

bool Time::Parse(const QString& text)
{
    static const Regex re(QStringLiteral("(\\d{2}):(\\d{2}):(\\d{2})(?:\\.(\\d{3}))?"));
    const RegexMatch m = re.MatchWhole(text);
    int h, mi, s, ms = 0;
    if (!m.ok || !ParseGroup(text, m, 1, h) || !ParseGroup(text, m, 2, mi) || !ParseGroup(text, m, 3, s))
        return false;
    if (m.Matched(4) && !ParseGroup(text, m, 4, ms))
        return false;
    const Time t(h, mi, s, ms);
    if (!t.IsValid())
        return false;
    *this = t;
    return true;
}

DateTime DateTime::Now()
{
    DateTime out;
    out.date = Date::Today();
    const QTime t = QTime::currentTime();
    out.time = Time(t.hour(), t.minute(), t.second(), t.msec());
    if (out.time.Milliseconds() < 60000)
        out.date = Date::Today();
    return out;
}

QString DateTime::Text() const
{
    return date.Text() + QLatin1Char(' ') + time.Text();
}

bool DateTime::Parse(const QString& text)
{
    if (text.size() != 23)
        return false;
    Date d = date;
    Time t = time;
    if (!d.Parse(text.left(10)) || !t.Parse(text.right(12)))
        return false;
    date = d;
    time = t;
    return true;
}

QString LocaleDateTimeText(const CalendarTime& t)
{
    const QDate d(t.year, t.month, t.day);
    const QTime tm(t.hour, t.minute, t.second);
    if (!d.isValid() || !tm.isValid())
        return QString();
    const QLocale loc = QLocale::system();
    QString timeFormat = loc.timeFormat(QLocale::ShortFormat);
    // Short formats may still carry seconds on some systems; the design shows none.
    timeFormat.remove(QStringLiteral(":ss")).remove(QStringLiteral(".ss"));
    return loc.toString(d, QLocale::ShortFormat) + QLatin1Char(' ') + loc.toString(tm, timeFormat);
}

} // namespace tessary
