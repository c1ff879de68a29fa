#pragma once
// Calendar date, time of day and their pair, with the text forms the album file stores.
// Plain values; every function is re-entrant. Parsers leave the target unchanged on failure.

#include <compare>
#include <cstdint>
#include <QString>

namespace tessary {

bool IsLeapYear(int year);
// Days of a month (1-12); 31 for a month outside that range.
int DaysInMonth(int month, bool leap);

// A Gregorian date as its Julian Day Number; 0 is the null date.
class Date {
public:
    Date() = default;
    explicit Date(uint32_t jdn) : m_jdn(jdn) {}

    // Sets the date when valid (years 0-99 mean 1900-1999; nothing before 1752-09-14);
    // returns false and leaves the value unchanged otherwise.
    bool SetYmd(int year, int month, int day);
    static bool IsValidYmd(int year, int month, int day);
    void GetYmd(int& year, int& month, int& day) const;
    // 1 = Monday ... 7 = Sunday.
    int DayOfWeek() const { return int(m_jdn % 7) + 1; }

    uint32_t Jdn() const { return m_jdn; }
    bool IsNull() const { return m_jdn == 0; }
    static Date Today();

    // "%04d-%02d-%02d"
    QString Text() const;
    // Whole text must match "(\d{4})-(\d{2})-(\d{2})" and be a valid date.
    bool Parse(const QString& text);

    auto operator<=>(const Date&) const = default;

private:
    uint32_t m_jdn = 0;
};

// Milliseconds since midnight; 86400000 marks an invalid time.
class Time {
public:
    static constexpr uint32_t kInvalid = 86400000;

    Time() = default;
    explicit Time(uint32_t ms) : m_ms(ms) {}
    // The invalid marker when any part is out of range.
    Time(int hour, int minute, int second, int millisecond);

    bool IsValid() const { return m_ms < kInvalid; }
    uint32_t Milliseconds() const { return m_ms; }
    int Hour() const { return int(m_ms / 3600000); }
    int Minute() const { return int((m_ms % 3600000) / 60000); }
    int Second() const { return int((m_ms / 1000) % 60); }
    int Millisecond() const { return int(m_ms % 1000); }

    // "%02d:%02d:%02d.%03d"
    QString Text() const;
    // Whole text must match "(\d{2}):(\d{2}):(\d{2})(?:\.(\d{3}))?" with parts in range.
    bool Parse(const QString& text);

    auto operator<=>(const Time&) const = default;

private:
    uint32_t m_ms = 0;
};

struct DateTime {
    Date date;
    Time time;

    bool IsNull() const { return date.IsNull() && time.Milliseconds() == 0; }
    // Local clock; the date is read again when the time falls in the first minute after
    // midnight, so that a read straddling midnight never pairs the old date with the new time.
    static DateTime Now();
    // Date text, one blank, time text: 23 characters.
    QString Text() const;
    // The text must be exactly 23 characters: a date (first 10) and a time (last 12).
    bool Parse(const QString& text);

    auto operator<=>(const DateTime&) const = default;
    bool operator==(const DateTime&) const = default;
};

// Broken-down local date and time, the input of LocaleDateTimeText.
struct CalendarTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The system locale's short date, a space, and its short time without seconds;
// empty when the values do not form a valid date and time.
QString LocaleDateTimeText(const CalendarTime& t);

} // namespace tessary
