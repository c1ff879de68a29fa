#include "Markup.h"

#include "search/TextNormalize.h"
#include "util/Regex.h"

namespace tessary {

namespace {
const Regex& ColorElementPattern()
{
    static const Regex pattern(QStringLiteral(
        "<color(\\s+([fb])g=#([\\da-fA-F]{6}))?(\\s+([fb])g=#([\\da-fA-F]{6}))?\\s*>([^<>]+)</color>"));
    return pattern;
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

void ApplyAttribute(ColorRun& run, const QString& markup, const RegexMatch& m, size_t letter, size_t digits)
{
    if (!m.Matched(letter) || !m.Matched(digits))
        return;
    const QRgb color = ParseColorText(QStringView(markup).mid(m.groups[digits].start, m.groups[digits].length));
    if (markup[m.groups[letter].start] == QLatin1Char('f')) {
        run.textColor = color;
    } else {
        run.backColor = color;
        run.backMode = BackModeOpaque;
    }
}

ColorRun PlainRun(const QString& text, const RunDefaults& defaults)
{
    ColorRun run;
    run.textColor = defaults.textColor;
    run.backColor = defaults.backColor;
    run.backMode = defaults.backMode;
    run.text = text;
    return run;
}
} // namespace

bool IsValidColorText(QStringView text)
{
    if (text.startsWith(QLatin1Char('#')))
        text = text.mid(1);
    if (text.size() != 6)
        return false;
    for (const QChar c : text) {
        if (HexDigit(c) < 0)
            return false;
    }
    return true;
}

QRgb ParseColorText(QStringView text)
{
    if (!IsValidColorText(text))
        return 0xFF000000;
    if (text.startsWith(QLatin1Char('#')))
        text = text.mid(1);
    QRgb value = 0;
    for (const QChar c : text)
        value = (value << 4) | QRgb(HexDigit(c));
    return 0xFF000000 | value;
}

std::vector<ColorRun> ParseMarkup(const QString& markup, const RunDefaults& defaults)
{
    std::vector<ColorRun> runs;
    const QString matchable = WithPairedSurrogates(markup);
    qsizetype pos = 0;
    while (pos < markup.size()) {
        const RegexMatch m = ColorElementPattern().Search(matchable, pos);
        if (!m.ok) {
            runs.push_back(PlainRun(markup.mid(pos), defaults));
            break;
        }
        const qsizetype start = m.groups[0].start;
        if (start > pos)
            runs.push_back(PlainRun(markup.mid(pos, start - pos), defaults));
        ColorRun run = PlainRun(m.Text(markup, 7), defaults);
        ApplyAttribute(run, markup, m, 2, 3);
        ApplyAttribute(run, markup, m, 5, 6);
        runs.push_back(std::move(run));
        pos = start + m.groups[0].length;
    }
    return runs;
}

} // namespace tessary
