#include <gtest/gtest.h>

#include "search/SearchHistory.h"

using namespace tessary;

TEST(SearchHistory, RecentListKeepsThreeNewestWithoutDuplicates)
{
    SearchHistory h;
    for (const char* s : {"a", "b", "c", "d"})
        h.RecordSearch(QString::fromLatin1(s));
    EXPECT_EQ(h.Recent(), (QStringList{"d", "c", "b"}));
    h.RecordSearch(QStringLiteral("b"));
    EXPECT_EQ(h.Recent(), (QStringList{"b", "d", "c"}));
    // Comparison is case-sensitive.
    h.RecordSearch(QStringLiteral("B"));
    EXPECT_EQ(h.Recent(), (QStringList{"B", "b", "d"}));
    h.RecordSearch(QString());
    EXPECT_EQ(h.Recent(), (QStringList{"B", "b", "d"}));
    EXPECT_EQ(h.All(), (QStringList{"B", "a", "b", "c", "d"}));
}

TEST(SearchHistory, AllSearchesSortedByCodeUnits)
{
    SearchHistory h;
    for (const char16_t* s : {u"beach", u"Beach", u"bee", u"be", u"beach", u"\U0001F600", u"\uFF21", u"\u00e9"})
        h.RecordSearch(QString::fromUtf16(s));
    // A surrogate pair (0xD83D...) sorts before U+FF21 by code unit, unlike code point order.
    EXPECT_EQ(h.All(), (QStringList{"Beach", "be", "beach", "bee", QString::fromUtf16(u"\u00e9"),
                                    QString::fromUtf16(u"\U0001F600"), QString::fromUtf16(u"\uFF21")}));
}

TEST(SearchHistory, SuggestionsFromTheSortedList)
{
    SearchHistory h({QStringLiteral("x")}, {"Beach", "be", "beach", "bee"});
    EXPECT_EQ(h.Suggest(QStringLiteral("be")), (QStringList{"beach", "bee"}));
    EXPECT_EQ(h.Suggest(QStringLiteral("B")), (QStringList{"Beach"}));
    EXPECT_EQ(h.Suggest(QStringLiteral("bee")), QStringList());
    EXPECT_EQ(h.Suggest(QString()), (QStringList{"x"}));

    SearchHistory many({}, {"a", "ab", "abc", "abd", "abe", "b"});
    EXPECT_EQ(many.Suggest(QStringLiteral("a")), (QStringList{"ab", "abc", "abd"}));
}

TEST(SearchHistory, ClearEmptiesBoth)
{
    SearchHistory h({QStringLiteral("a")}, {QStringLiteral("a")});
    h.ClearHistory();
    EXPECT_TRUE(h.Recent().isEmpty());
    EXPECT_TRUE(h.All().isEmpty());
    EXPECT_TRUE(h.Suggest(QString()).isEmpty());
}
