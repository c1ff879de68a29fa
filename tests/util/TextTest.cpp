#include <gtest/gtest.h>

#include "util/Text.h"

using namespace tessary;

TEST(ParseInt, SignsDigitsAndRange)
{
    bool ok = false;
    EXPECT_EQ(ParseInt(QStringLiteral("-0"), &ok), 0);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ParseInt(QStringLiteral("12a"), &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ParseInt(QString(), &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ParseInt(QStringLiteral("-"), &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ParseInt(QStringLiteral("+42"), &ok), 42);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ParseInt(QStringLiteral("-2147483648"), &ok), INT32_MIN);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ParseInt(QStringLiteral("2147483648"), &ok), 0);
    EXPECT_FALSE(ok) << "overflow must not wrap to a negative value";
    EXPECT_EQ(ParseInt(QStringLiteral("99999999999999999999"), &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ParseInt(QStringLiteral(" 1"), &ok), 0);
    EXPECT_FALSE(ok);
}

TEST(LeadingInt, AttributeNumbers)
{
    int v = 7;
    EXPECT_TRUE(LeadingInt("12px", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(LeadingInt("-3", v));
    EXPECT_EQ(v, -3);
    v = 7;
    EXPECT_FALSE(LeadingInt("x1", v));
    EXPECT_FALSE(LeadingInt("", v));
    EXPECT_FALSE(LeadingInt(nullptr, v));
    EXPECT_FALSE(LeadingInt("99999999999", v));
    EXPECT_EQ(v, 7);
}

TEST(Markup, EscapeOrderAndRoundTrip)
{
    EXPECT_EQ(EscapeMarkup(QStringLiteral("a<b")), QStringLiteral("a&lt;b"));
    EXPECT_EQ(EscapeMarkup(QStringLiteral("x & \"y\"\n")),
              QStringLiteral("x&nbsp;&amp;&nbsp;&quot;y&quot;<br>"));
    for (const QString& s : {QStringLiteral("a<b"), QStringLiteral("&lt;"), QStringLiteral("<br> & &nbsp;"),
                             QStringLiteral("line\nnext"), QStringLiteral("\"q\" <x>")})
        EXPECT_EQ(UnescapeMarkup(EscapeMarkup(s)), s) << s.toStdString();
    EXPECT_EQ(EscapeMarkup(QString()), QString());
    EXPECT_EQ(UnescapeMarkup(QStringLiteral("&amp;lt;")), QStringLiteral("&lt;"))
        << "replacements are not scanned again";
}

TEST(StartsEndsWith, CaseAndLengthRules)
{
    EXPECT_TRUE(StartsWith(QStringLiteral("Holiday"), QStringLiteral("holi"), false));
    EXPECT_FALSE(StartsWith(QStringLiteral("Holiday"), QStringLiteral("holi"), true));
    EXPECT_TRUE(EndsWith(QStringLiteral("photo.JPG"), QStringLiteral(".jpg"), false));
    EXPECT_FALSE(EndsWith(QStringLiteral("photo.JPG"), QStringLiteral(".jpg"), true));
    EXPECT_FALSE(StartsWith(QStringLiteral("ab"), QStringLiteral("abc"), false));
    EXPECT_FALSE(StartsWith(QString(), QStringLiteral("a"), false));
    EXPECT_TRUE(StartsWith(QString(), QString(), false));
}

TEST(Placeholder, FirstPlaceholderWhateverItsNumber)
{
    EXPECT_EQ(FillPlaceholder(QStringLiteral("Error opening %1"), QStringLiteral("a.tsy")),
              QStringLiteral("Error opening a.tsy"));
    const QString two = FillPlaceholder(QStringLiteral("%2 of %1"), QStringLiteral("x"));
    EXPECT_EQ(two, QStringLiteral("x of %1"));
    EXPECT_EQ(FillPlaceholder(two, 20), QStringLiteral("x of 20"));
    EXPECT_EQ(FillPlaceholder(QStringLiteral("100% sure"), 1), QStringLiteral("100% sure"));
    EXPECT_EQ(FillPlaceholder(QStringLiteral("%12 files"), -3), QStringLiteral("-3 files"));
    EXPECT_EQ(FillPlaceholder(QStringLiteral("%1%1"), QStringLiteral("%1")), QStringLiteral("%1%1"))
        << "only the first placeholder is replaced, and the value is not scanned";
}

TEST(Utf8, RoundTripAndSpace)
{
    const QString s = QStringLiteral("Å ü 日本 😀");
    EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(s).toStdString()), s);
    EXPECT_EQ(Utf16FromUtf8(nullptr), QString());
    EXPECT_TRUE(IsSpace(QChar(0x3000)));
    EXPECT_TRUE(IsSpace(QLatin1Char('\t')));
    EXPECT_FALSE(IsSpace(QLatin1Char('x')));
}

#include "util/DateTime.h"
#include "util/Regex.h"

TEST(LowerInPlace, SimpleCaseMappingOneCodePointAtATime)
{
    auto lower = [](const QString& in) {
        QString out = in;
        LowerInPlace(out);
        EXPECT_EQ(out.size(), in.size()) << "one unit for one unit";
        return out;
    };
    // U+0130 maps to a plain "i" (its full mapping would add a combining dot).
    EXPECT_EQ(lower(QStringLiteral("\u0130STANBUL")), QStringLiteral("istanbul"));
    EXPECT_EQ(lower(QStringLiteral("I\u0131")), QStringLiteral("i\u0131")) << "dotless i stays";
    // No final sigma and no context: each capital sigma becomes the plain small one.
    EXPECT_EQ(lower(QStringLiteral("\u039F\u03A3\u039F\u03A3")), QStringLiteral("\u03BF\u03C3\u03BF\u03C3"));
    EXPECT_EQ(lower(QStringLiteral("\u1E9E\u212A\u2126\u00C5")), QStringLiteral("\u00DFk\u03C9\u00E5"));
    EXPECT_EQ(lower(QStringLiteral("\u01C5\u1F88")), QStringLiteral("\u01C6\u1F80")) << "title case letters";
    // Outside the basic plane (Deseret, Adlam), and lone surrogates left as they are.
    EXPECT_EQ(lower(QString::fromUcs4(U"\U00010400\U0001E900x")), QString::fromUcs4(U"\U00010428\U0001E922x"));
    QString lone = QStringLiteral("A");
    lone.append(QChar(0xD801)).append(QLatin1Char('B')).append(QChar(0xDC00));
    QString loneLower = QStringLiteral("a");
    loneLower.append(QChar(0xD801)).append(QLatin1Char('b')).append(QChar(0xDC00));
    EXPECT_EQ(lower(lone), loneLower);
    EXPECT_EQ(lower(QStringLiteral("123 -_ \u00E9")), QStringLiteral("123 -_ \u00E9"));
}

// The tokeniser's "\s" and the blank test of normalisation and tag keys are one class.
TEST(IsSpace, AgreesWithTheExpressionClassOnEveryCharacter)
{
    const Regex space(QStringLiteral("\\s"));
    int spaces = 0;
    // Nothing outside the basic plane is whitespace, so it is enough to look at that.
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const bool expression = space.MatchWhole(QString(QChar(char16_t(c)))).ok;
        ASSERT_EQ(IsSpace(QChar(char16_t(c))), expression) << std::hex << "U+" << uint32_t(c);
        spaces += expression;
    }
    for (char16_t c : {u'\t', u'\n', u'\r', u'\x1C', u'\x1F', u' ', u'\u00A0', u'\u2028', u'\u3000'})
        EXPECT_TRUE(IsSpace(QChar(c))) << std::hex << uint32_t(c);
    EXPECT_GT(spaces, 20);
}

TEST(Regex, LoneSurrogatesNeverThrowAndKeepPositions)
{
    const Regex re(QStringLiteral("b+"));
    QString text = QStringLiteral("a?bb");
    text[1] = QChar(0xD800); // unpaired high surrogate
    RegexMatch m;
    ASSERT_NO_THROW(m = re.Search(text));
    ASSERT_TRUE(m.ok);
    EXPECT_EQ(m.groups[0].start, 2);
    EXPECT_EQ(m.Text(text, 0), QStringLiteral("bb"));
    QString low = QStringLiteral("bb?");
    low[2] = QChar(0xDC00);
    EXPECT_FALSE(re.MatchWhole(low).ok);
    EXPECT_TRUE(re.MatchAt(low, 0).ok);
    Date d;
    EXPECT_FALSE(d.Parse(QString(10, QChar(0xDFFF))));
}
