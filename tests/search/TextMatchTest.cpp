#include <gtest/gtest.h>

#include "search/Highlighter.h"
#include "search/QueryParser.h"
#include "search/TextMatch.h"

using namespace tessary;

namespace {
bool Contains(const char16_t* text, const char16_t* value) { return MatchContains(text, value); }
QString Hl(const char16_t* text, const char* query, int skip = -1)
{
    return HighlightText(QString::fromUtf16(text), ParseQueryTerms(QString::fromUtf8(query)), skip);
}
} // namespace

TEST(MatchContains, WordStartRuleForLetterValues)
{
    EXPECT_FALSE(Contains(u"Sportscar", u"car"));
    EXPECT_TRUE(Contains(u"Sports car", u"car"));
    EXPECT_TRUE(Contains(u"sports-car", u"car"));
    EXPECT_TRUE(Contains(u"Car wash", u"car"));
    EXPECT_TRUE(Contains(u"Carcar", u"car"));
    // The word start may come after an occurrence inside a word.
    EXPECT_TRUE(Contains(u"scar car", u"car"));
    EXPECT_TRUE(Contains(u"oscar_cart", u"car"));
    // Occurrences inside one long word never count, even at the place where the search
    // resumes after the first one.
    EXPECT_FALSE(Contains(u"Mississippi", u"ss"));
    EXPECT_FALSE(Contains(u"Xabcab", u"ab"));
    EXPECT_TRUE(Contains(u"Xabcab ab", u"ab"));
    // Values not starting with a letter match anywhere.
    EXPECT_TRUE(Contains(u"Trip2010", u"2010"));
    EXPECT_TRUE(Contains(u"a-b", u"-b"));
    // A letter value whose first character is above U+00FF matches anywhere.
    EXPECT_TRUE(Contains(u"\u65c5\u884c\u5199\u771f", u"\u5199\u771f"));
    EXPECT_TRUE(Contains(u"xa\u0101b", u"\u0101b"));
    // ... but a Latin-1 letter keeps the rule.
    EXPECT_FALSE(Contains(u"ca\u00e9t\u00e9", u"\u00e9t\u00e9"));
    EXPECT_TRUE(Contains(u"\u00c9t\u00e9", u"\u00e9t\u00e9"));
    // Empty sides never match; a value longer than the text neither.
    EXPECT_FALSE(Contains(u"", u"a"));
    EXPECT_FALSE(Contains(u"abc", u""));
    EXPECT_FALSE(Contains(u"ab", u"abc"));
}

TEST(MatchContains, RangeSpansCollapsedWhitespaceInTheSource)
{
    TextRange r;
    ASSERT_TRUE(MatchContains(u"  Red \t Car  ", u"red car", &r));
    // A match at the end of the normalised text runs to the end of the source.
    EXPECT_EQ(r, (TextRange{2, 13}));
    ASSERT_TRUE(MatchContains(u"  Red \t Car  x", u"red car", &r));
    EXPECT_EQ(r, (TextRange{2, 11}));
    ASSERT_TRUE(MatchContains(u"Big  red car", u"red", &r));
    EXPECT_EQ(r, (TextRange{5, 8}));
    ASSERT_TRUE(MatchContains(u"x car", u"car", &r));
    EXPECT_EQ(r, (TextRange{2, 5}));
}

TEST(MatchExact, NormalisesAndTrimsBlanks)
{
    TextRange r;
    ASSERT_TRUE(MatchExact(u"  Red   Car ", u"red car", &r));
    EXPECT_EQ(r, (TextRange{2, 11}));
    EXPECT_FALSE(MatchExact(u"Red Cars", u"red car"));
    EXPECT_FALSE(MatchExact(u"   ", u""));
    // Only blanks are trimmed from the range; a tab at the edge stays inside.
    ASSERT_TRUE(MatchExact(u"\tRed", u"red", &r));
    EXPECT_EQ(r, (TextRange{0, 4}));
}

TEST(Highlight, ConsecutiveTermsMergeAcrossWhitespace)
{
    EXPECT_EQ(Hl(u"Red Car", "red car"), QStringLiteral("<color bg=#FFEB64>Red&nbsp;Car</color>"));
    // In the other order the second range starts before the first: two runs.
    EXPECT_EQ(Hl(u"Red Car", "car red"),
              QStringLiteral("<color bg=#FFEB64>Red</color>&nbsp;<color bg=#FFEB64>Car</color>"));
    // A term that does not match in between breaks the chain.
    EXPECT_EQ(Hl(u"Red Car", "red zzz car"),
              QStringLiteral("<color bg=#FFEB64>Red</color>&nbsp;<color bg=#FFEB64>Car</color>"));
    // Overlapping matches extend the run.
    EXPECT_EQ(Hl(u"Sunset", "sun sunset"), QStringLiteral("<color bg=#FFEB64>Sunset</color>"));
    // Only whitespace may lie between merged ranges.
    EXPECT_EQ(Hl(u"Red-Car", "red car"),
              QStringLiteral("<color bg=#FFEB64>Red</color>-<color bg=#FFEB64>Car</color>"));
}

TEST(Highlight, SkipsKindsAndEscapes)
{
    // Tag terms do not highlight the name; a skipped term leaves the chain intact.
    EXPECT_EQ(Hl(u"Red Car", "red place:x car", TermKindTag),
              QStringLiteral("<color bg=#FFEB64>Red&nbsp;Car</color>"));
    EXPECT_EQ(Hl(u"Red Car", "itemname:red", TermKindItemName), QStringLiteral("Red&nbsp;Car"));
    EXPECT_EQ(Hl(u"a<b> & \"c\"", "zzz"), QStringLiteral("a&lt;b&gt;&nbsp;&amp;&nbsp;&quot;c&quot;"));
    EXPECT_EQ(Hl(u"x <b>", "\"<b>\""), QStringLiteral("x&nbsp;<color bg=#FFEB64>&lt;b&gt;</color>"));
    EXPECT_EQ(Hl(u"", "x"), QString());
    // An exact term highlights the whole text without its outer blanks.
    EXPECT_EQ(Hl(u" Red  Car ", "itemname:=\"red car\""),
              QStringLiteral("&nbsp;<color bg=#FFEB64>Red&nbsp;&nbsp;Car</color>&nbsp;"));
}

TEST(Highlight, LineFeedStaysOutsideElements)
{
    // An element holding "<br>" would not parse as one.
    EXPECT_EQ(Hl(u"red\ncar", "\"red car\""),
              QStringLiteral("<color bg=#FFEB64>red</color><br><color bg=#FFEB64>car</color>"));
    QString out;
    AppendColored(out, u"\n", u"<color fg=#828A99>");
    EXPECT_EQ(out, QStringLiteral("<br>"));
}
