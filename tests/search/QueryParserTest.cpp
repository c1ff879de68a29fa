#include <gtest/gtest.h>

#include "search/QueryParser.h"
#include "search/TextNormalize.h"

using namespace tessary;

namespace {
SearchTerm Any(const char* v) { return {TermKindAny, QString::fromUtf8(v), {}, false}; }
SearchTerm Name(const char* v, bool exact) { return {TermKindItemName, QString::fromUtf8(v), {}, exact}; }
SearchTerm Tag(const char* key, const char* v, bool exact)
{
    return {TermKindTag, QString::fromUtf8(v), QString::fromUtf8(key), exact};
}
std::vector<SearchTerm> Parse(const char* q) { return ParseQueryTerms(QString::fromUtf8(q)); }
} // namespace

TEST(NormalizeText, CollapsesTrimsLowersAndMapsPositions)
{
    PositionMap map;
    EXPECT_EQ(NormalizeText(u"  Red\t\tCar  ", &map), QStringLiteral("red car"));
    EXPECT_EQ(map, (PositionMap{2, 3, 4, 5, 7, 8, 9, 12}));

    EXPECT_EQ(NormalizeText(u"a\n \r\nB", &map), QStringLiteral("a b"));
    EXPECT_EQ(map, (PositionMap{0, 1, 5, 6}));

    EXPECT_EQ(NormalizeText(u" \t ", &map), QString());
    EXPECT_EQ(map, (PositionMap{3}));
    EXPECT_EQ(NormalizeText(u"", &map), QString());
    EXPECT_EQ(map, (PositionMap{0}));
}

TEST(NormalizeText, KeepsOneUnitPerSourceUnit)
{
    // Full lower-casing would turn U+0130 into two units and break the position map.
    PositionMap map;
    const QString out = NormalizeText(u" \u0130STANBUL\t\t\U00010400", &map);
    EXPECT_EQ(out, QStringLiteral("istanbul ") + QString::fromUcs4(U"\U00010428")); // Deseret lower case
    EXPECT_EQ(map, (PositionMap{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13}));
    EXPECT_EQ(NormalizeText(u"\u00C9T\u00C9"), QStringLiteral("\u00e9t\u00e9"));
}

TEST(MakeTagKey, DropsEveryWhitespaceAndLowers)
{
    EXPECT_EQ(MakeTagKey(u"Shot On"), QStringLiteral("shoton"));
    EXPECT_EQ(MakeTagKey(u" \tPLACE\n of  Birth "), QStringLiteral("placeofbirth"));
    EXPECT_EQ(MakeTagKey(u""), QString());
    EXPECT_EQ(MakeTagKey(u"\u0130L ADI"), QStringLiteral("iladi"));
    EXPECT_EQ(MakeTagKey(u"Place\x1Cof\x1D\x1E\x1F" u"Birth"), QStringLiteral("placeofbirth"));
}

TEST(QueryParser, OneWhitespaceClassForNormalisingAndCutting)
{
    EXPECT_EQ(TokenizeQuery(QStringLiteral("a\x1C" "b")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(TokenizeQuery(QStringLiteral("\x1Fx")), QStringList{QStringLiteral("x")});
    EXPECT_EQ(Parse("place:\"a\x1D\x1E" "b\""), (std::vector<SearchTerm>{Tag("place", "a b", false)}));
    // Every character either separates two words or belongs to the word it is in.
    for (char32_t c = 1; c <= 0xFFFF; ++c) {
        if ((c >= 0xD800 && c <= 0xDFFF) || c == '"' || c == ':' || c == '=')
            continue;
        const QString ch{QChar(char16_t(c))};
        const QStringList tokens = TokenizeQuery(QStringLiteral("a") + ch + QStringLiteral("b"));
        if (NormalizeText(ch).isEmpty()) {
            ASSERT_EQ(tokens, (QStringList{QStringLiteral("a"), QStringLiteral("b")})) << std::hex << uint32_t(c);
        } else {
            ASSERT_EQ(tokens.size(), 1) << std::hex << uint32_t(c);
            ASSERT_EQ(tokens[0].size(), 3) << std::hex << uint32_t(c);
        }
    }
}

TEST(QueryParser, BareWordsPhrasesAndFields)
{
    EXPECT_EQ(Parse("  Beach   SUNSET "), (std::vector<SearchTerm>{Any("beach"), Any("sunset")}));
    EXPECT_EQ(Parse("\"Red   Car\" x"), (std::vector<SearchTerm>{Any("red car"), Any("x")}));
    EXPECT_EQ(Parse("ItemName:=Sunset"), (std::vector<SearchTerm>{Name("sunset", true)}));
    EXPECT_EQ(Parse("itemname:beach"), (std::vector<SearchTerm>{Name("beach", false)}));
    EXPECT_EQ(Parse("place:=\"New  York\""), (std::vector<SearchTerm>{Tag("place", "new york", true)}));
    // The unquoted value may hold ":" and "=".
    EXPECT_EQ(Parse("a:b:c"), (std::vector<SearchTerm>{Tag("a", "b:c", false)}));
    EXPECT_EQ(Parse("a:=b=c"), (std::vector<SearchTerm>{Tag("a", "b=c", true)}));
    // Field names cannot hold blanks; the key form still reaches "Shot On".
    EXPECT_EQ(Parse("Shot On:canon"), (std::vector<SearchTerm>{Any("shot"), Tag("on", "canon", false)}));
    EXPECT_EQ(Parse("shoton:canon"), (std::vector<SearchTerm>{Tag("shoton", "canon", false)}));
    // Without quotes an exact value ends at the blank.
    EXPECT_EQ(Parse("itemname:=red car"), (std::vector<SearchTerm>{Name("red", true), Any("car")}));
}

TEST(QueryParser, QuotesAndStrayCharacters)
{
    // A missing closing quote takes the rest of the query.
    EXPECT_EQ(Parse("place:\"new york city"), (std::vector<SearchTerm>{Tag("place", "new york city", false)}));
    EXPECT_EQ(Parse("\"open phrase"), (std::vector<SearchTerm>{Any("open phrase")}));
    // Empty phrases yield nothing.
    EXPECT_TRUE(Parse("\"\"").empty());
    EXPECT_TRUE(Parse("\"   \"").empty());
    EXPECT_EQ(Parse("\"\" x"), (std::vector<SearchTerm>{Any("x")}));
    // A bare word directly followed by a phrase.
    EXPECT_EQ(Parse("abc\"def\""), (std::vector<SearchTerm>{Any("abc"), Any("def")}));
    // What cannot start a token ends the query; what came before stands.
    EXPECT_EQ(Parse("sky=blue"), (std::vector<SearchTerm>{Any("sky")}));
    EXPECT_EQ(Parse("a :b c"), (std::vector<SearchTerm>{Any("a")}));
    EXPECT_TRUE(Parse("=x").empty());
    EXPECT_TRUE(Parse(":x").empty());
    // A quoted value of blanks only is a term that can never match.
    EXPECT_EQ(Parse("tag:\"   \""), (std::vector<SearchTerm>{Tag("tag", "", false)}));
    // A field operator with no value leaves a bare word, and the ":" ends the query.
    EXPECT_EQ(Parse("a: b"), (std::vector<SearchTerm>{Any("a")}));
}

TEST(QueryParser, Tokens)
{
    EXPECT_EQ(TokenizeQuery(QStringLiteral("x \"a b\" t:\"c d\" y")),
              (QStringList{"x", "\"a b", "t:\"c d\"", "y"}));
    EXPECT_TRUE(TokenizeQuery(QStringLiteral(" \t\n")).isEmpty());
    SearchTerm t;
    EXPECT_FALSE(BuildTerm(QStringLiteral("=x"), t));
    EXPECT_EQ(t, SearchTerm());
}

TEST(QueryParser, LoneSurrogatesAreKeptNotRefused)
{
    // Ill-formed UTF-16 (a lone high surrogate) must neither throw nor be lost.
    const QString q = QStringLiteral("ab") + QChar(0xD800) + QStringLiteral(" t:x") + QChar(0xDC00);
    const std::vector<SearchTerm> terms = ParseQueryTerms(q);
    ASSERT_EQ(terms.size(), 2u);
    EXPECT_EQ(terms[0].value, QStringLiteral("ab") + QChar(0xD800));
    EXPECT_EQ(terms[1].value, QStringLiteral("x") + QChar(0xDC00));
}
