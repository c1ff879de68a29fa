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
