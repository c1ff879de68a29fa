#include <gtest/gtest.h>

#include "search/Highlighter.h"
#include "search/Markup.h"
#include "search/QueryParser.h"
#include "util/Text.h"

using namespace tessary;

namespace {
const RunDefaults kDefaults{0xFF3D4B66, 0xFFFFFFFF, BackModeTransparent};

ColorRun Plain(const char* text)
{
    return {std::nullopt, kDefaults.textColor, kDefaults.backColor, kDefaults.backMode, QString::fromUtf8(text)};
}
ColorRun Colored(const char* text, QRgb fg, QRgb bg, int mode)
{
    return {std::nullopt, fg, bg, mode, QString::fromUtf8(text)};
}
std::vector<ColorRun> Parse(const char* markup) { return ParseMarkup(QString::fromUtf8(markup), kDefaults); }
} // namespace

TEST(MarkupEscaping, RoundTrips)
{
    for (const QString& s : {QStringLiteral("a<b"), QStringLiteral("&lt; typed"), QStringLiteral("x &amp;\n\"q\" > y"),
                             QStringLiteral("<br>&nbsp;"), QString()}) {
        EXPECT_EQ(UnescapeMarkup(EscapeMarkup(s)), s) << s.toStdString();
        EXPECT_FALSE(EscapeMarkup(s).contains(QLatin1Char(' ')));
    }
    EXPECT_EQ(UnescapeMarkup(QStringLiteral("a&amp;lt;b")), QStringLiteral("a&lt;b"));
    EXPECT_EQ(UnescapeMarkup(QStringLiteral("a&lt;b")), QStringLiteral("a<b"));
}

TEST(MarkupEscaping, SurvivesTheEngineHighlight)
{
    // What the highlighter writes parses back into runs whose texts unescape to the source.
    const QString value = QStringLiteral("<Tom & \"Jerry\">  at\nhome");
    const QString markup = HighlightText(value, ParseQueryTerms(QStringLiteral("tom \"jerry\" at")), -1);
    QString back;
    for (const ColorRun& run : ParseMarkup(markup, kDefaults))
        back += UnescapeMarkup(run.text);
    EXPECT_EQ(back, value);
}

TEST(ColorText, ValidityAndValue)
{
    EXPECT_TRUE(IsValidColorText(u"#FFEB64"));
    EXPECT_TRUE(IsValidColorText(u"ffeb64"));
    EXPECT_FALSE(IsValidColorText(u"#FFEB6"));
    EXPECT_FALSE(IsValidColorText(u"##FFEB64"));
    EXPECT_FALSE(IsValidColorText(u"#FFEB6G"));
    EXPECT_EQ(ParseColorText(u"#828a99"), QRgb(0xFF828A99));
    EXPECT_EQ(ParseColorText(u"x"), QRgb(0xFF000000));
}

TEST(MarkupParse, ElementsAndPlainText)
{
    EXPECT_TRUE(Parse("").empty());
    EXPECT_EQ(Parse("plain&nbsp;text"), (std::vector<ColorRun>{Plain("plain&nbsp;text")}));
    EXPECT_EQ(Parse("a<color bg=#ffeb64>x</color>b"),
              (std::vector<ColorRun>{Plain("a"), Colored("x", kDefaults.textColor, 0xFFFFEB64, BackModeOpaque),
                                     Plain("b")}));
    // Attribute letters are lower case only, and the "#" is required.
    EXPECT_EQ(Parse("<color BG=#FFEB64>x</color>"), (std::vector<ColorRun>{Plain("<color BG=#FFEB64>x</color>")}));
    EXPECT_EQ(Parse("<color bg=FFEB64>x</color>"), (std::vector<ColorRun>{Plain("<color bg=FFEB64>x</color>")}));
    // The second attribute wins on the same letter; fg and bg combine.
    EXPECT_EQ(Parse("<color fg=#111111 fg=#222222>x</color>"),
              (std::vector<ColorRun>{Colored("x", 0xFF222222, kDefaults.backColor, kDefaults.backMode)}));
    EXPECT_EQ(Parse("<color\tbg=#010203  fg=#0A0B0C >x</color>"),
              (std::vector<ColorRun>{Colored("x", 0xFF0A0B0C, 0xFF010203, BackModeOpaque)}));
    EXPECT_EQ(Parse("<color>x</color>"), (std::vector<ColorRun>{Plain("x")}));
    // An element needs text; elements do not nest; a stray "<" is text.
    EXPECT_EQ(Parse("<color bg=#FFEB64></color>"), (std::vector<ColorRun>{Plain("<color bg=#FFEB64></color>")}));
    EXPECT_EQ(Parse("1 < 2 <color fg=#000001>y</color>"),
              (std::vector<ColorRun>{Plain("1 < 2 "),
                                     Colored("y", 0xFF000001, kDefaults.backColor, kDefaults.backMode)}));
    EXPECT_EQ(Parse("<color><color>x</color></color>"),
              (std::vector<ColorRun>{Plain("<color>"), Plain("x"), Plain("</color>")}));
}

TEST(MarkupParse, LoneSurrogatesStayInTheirRuns)
{
    const QString lone(QChar(0xDC01));
    const std::vector<ColorRun> runs = ParseMarkup(lone + QStringLiteral("<color bg=#FFEB64>") + lone +
                                                       QStringLiteral("</color>"),
                                                   kDefaults);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, lone);
    EXPECT_EQ(runs[1].text, lone);
    EXPECT_EQ(runs[1].backMode, BackModeOpaque);
}
