#include <gtest/gtest.h>

#include "util/DateTime.h"

using namespace tessary;

TEST(Date, GregorianStartAndTwoDigitYears)
{
    Date d;
    EXPECT_FALSE(d.SetYmd(1752, 9, 13));
    EXPECT_TRUE(d.IsNull()) << "a refused date leaves the value unchanged";
    ASSERT_TRUE(d.SetYmd(1752, 9, 14));
    EXPECT_EQ(d.Jdn(), 2361222u);
    int y, m, day;
    d.GetYmd(y, m, day);
    EXPECT_EQ(y, 1752);
    EXPECT_EQ(m, 9);
    EXPECT_EQ(day, 14);

    ASSERT_TRUE(d.Parse(QStringLiteral("0050-01-01")));
    d.GetYmd(y, m, day);
    EXPECT_EQ(y, 1950);
    EXPECT_EQ(m, 1);
    EXPECT_EQ(day, 1);
}

TEST(Date, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(Date::IsValidYmd(2000, 2, 29));
    EXPECT_FALSE(Date::IsValidYmd(1900, 2, 29));
    EXPECT_TRUE(Date::IsValidYmd(2024, 2, 29));
    EXPECT_FALSE(Date::IsValidYmd(2023, 2, 29));
    EXPECT_FALSE(Date::IsValidYmd(2023, 4, 31));
    EXPECT_FALSE(Date::IsValidYmd(2023, 13, 1));
    EXPECT_FALSE(Date::IsValidYmd(2023, 1, 0));
    EXPECT_EQ(DaysInMonth(0, false), 31);
    EXPECT_EQ(DaysInMonth(2, true), 29);
}

TEST(Date, DayNumbersRoundTripAndWeekday)
{
    Date d;
    ASSERT_TRUE(d.SetYmd(2000, 1, 1));
    EXPECT_EQ(d.Jdn(), 2451545u);
    EXPECT_EQ(d.DayOfWeek(), 6); // Saturday
    // Every day over several centuries, including all leap-year boundaries.
    for (uint32_t j = 2361222; j < 2361222 + 400 * 366; j += 1) {
        int y, m, day;
        Date(j).GetYmd(y, m, day);
        Date back;
        ASSERT_TRUE(back.SetYmd(y, m, day)) << j;
        ASSERT_EQ(back.Jdn(), j);
    }
}

TEST(Date, TextAndParse)
{
    Date d;
    ASSERT_TRUE(d.SetYmd(2009, 7, 4));
    EXPECT_EQ(d.Text(), QStringLiteral("2009-07-04"));
    const Date before = d;
    EXPECT_FALSE(d.Parse(QStringLiteral("2009-7-04")));
    EXPECT_FALSE(d.Parse(QStringLiteral("2009-07-04 ")));
    EXPECT_FALSE(d.Parse(QStringLiteral("2009-02-30")));
    EXPECT_FALSE(d.Parse(QStringLiteral("２００９-07-04"))) << "only ASCII digits count";
    EXPECT_EQ(d, before);
}

TEST(Time, RangesTextAndParse)
{
    Time t;
    EXPECT_FALSE(t.Parse(QStringLiteral("24:00:00")));
    ASSERT_TRUE(t.Parse(QStringLiteral("23:59:59")));
    EXPECT_EQ(t.Milliseconds(), 86399000u);
    EXPECT_FALSE(t.Parse(QStringLiteral("23:59:59.5")));
    EXPECT_EQ(t.Milliseconds(), 86399000u);
    ASSERT_TRUE(t.Parse(QStringLiteral("18:30:05.250")));
    EXPECT_EQ(t.Hour(), 18);
    EXPECT_EQ(t.Minute(), 30);
    EXPECT_EQ(t.Second(), 5);
    EXPECT_EQ(t.Millisecond(), 250);
    EXPECT_EQ(t.Text(), QStringLiteral("18:30:05.250"));
    EXPECT_EQ(Time(12, 60, 0, 0).Milliseconds(), Time::kInvalid);
    EXPECT_FALSE(Time(0, 0, 0, 1000).IsValid());
}

TEST(DateTime, TwentyThreeCharacterForm)
{
    DateTime dt;
    ASSERT_TRUE(dt.Parse(QStringLiteral("2009-07-14 18:30:05.250")));
    EXPECT_EQ(dt.Text(), QStringLiteral("2009-07-14 18:30:05.250"));
    const DateTime kept = dt;
    EXPECT_FALSE(dt.Parse(QStringLiteral("2009-07-14 18:30:05.25")));
    EXPECT_FALSE(dt.Parse(QStringLiteral("2009-07-14 18:30:05.2500")));
    EXPECT_FALSE(dt.Parse(QStringLiteral("2009-07-14 25:30:05.250")));
    EXPECT_EQ(dt, kept) << "a failed parse must not change either half";
}

TEST(DateTime, OrderingByDateThenTime)
{
    DateTime a, b;
    ASSERT_TRUE(a.Parse(QStringLiteral("2009-07-14 23:59:59.999")));
    ASSERT_TRUE(b.Parse(QStringLiteral("2009-07-15 00:00:00.000")));
    EXPECT_LT(a, b);
    EXPECT_TRUE(DateTime().IsNull());
    const DateTime now = DateTime::Now();
    EXPECT_FALSE(now.date.IsNull());
    EXPECT_TRUE(now.time.IsValid());
}

TEST(DateTime, LocaleTextHasNoSeconds)
{
    CalendarTime t{2009, 7, 14, 18, 30, 5, 0};
    const QString text = LocaleDateTimeText(t);
    EXPECT_FALSE(text.isEmpty());
    EXPECT_FALSE(text.contains(QStringLiteral("05"))) << text.toStdString();
    EXPECT_TRUE(LocaleDateTimeText(CalendarTime{2009, 2, 30, 0, 0, 0, 0}).isEmpty());
}
