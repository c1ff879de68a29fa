// Drawing and measuring markup in an offscreen image, with the interface font when present.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "search/MarkupRenderer.h"

using namespace tessary;

namespace {
constexpr unsigned kPaneFlags = DtEndEllipsis | DtNoPrefix | DtSingleLine | DtVCenter;
constexpr QRgb kText = 0xFF3D4B66;
constexpr QRgb kYellow = 0xFFFFEB64;

// The program registers the regular face only (bold is emboldened by the font engine).
constexpr const char* kInterfaceFontFiles[] = {"/usr/share/wine/fonts/tahoma.ttf"};

bool FontFilesPresent()
{
    for (const char* file : kInterfaceFontFiles)
        if (!QFile::exists(QString::fromLatin1(file)))
            return false;
    return true;
}

// Registers the interface font files as the program does at start-up (the widgets' font
// registration, which this module must not link); the ids, -1 for a file that failed.
const std::vector<int>& RegisteredFontIds()
{
    static const std::vector<int> ids = [] {
        std::vector<int> out;
        if (FontFilesPresent())
            for (const char* file : kInterfaceFontFiles)
                out.push_back(QFontDatabase::addApplicationFont(QString::fromLatin1(file)));
        return out;
    }();
    return ids;
}

bool HaveTahoma()
{
    const std::vector<int>& ids = RegisteredFontIds();
    return !ids.empty() && std::all_of(ids.begin(), ids.end(), [](int id) { return id >= 0; });
}

QFont LineFont()
{
    QFont f(HaveTahoma() ? QStringLiteral("Tahoma") : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    f.setPixelSize(13);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// Columns [first, last] holding a pixel of the colour, or {-1, -1}.
std::pair<int, int> ColumnsWith(const QImage& img, QRgb color)
{
    int first = -1, last = -1;
    for (int x = 0; x < img.width(); ++x) {
        for (int y = 0; y < img.height(); ++y) {
            if (img.pixel(x, y) == color) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

bool HasInkOtherThan(const QImage& img, QRect area, QRgb background)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) != background)
                return true;
    return false;
}
} // namespace

TEST(MarkupRenderer, UsesTheInterfaceFont)
{
    if (!FontFilesPresent())
        GTEST_SKIP() << "the interface font files are not installed (fonts-wine)";
    // With the files present, registering them must work, exactly as at start-up.
    const std::vector<int>& ids = RegisteredFontIds();
    ASSERT_EQ(ids.size(), std::size(kInterfaceFontFiles));
    for (int id : ids) {
        ASSERT_GE(id, 0);
        EXPECT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList{QStringLiteral("Tahoma")});
    }
    const QFont font = LineFont();
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Tahoma"));
    MarkupRenderer r(nullptr, font, kText, 0xFFFFFFFF);
    EXPECT_EQ(QFontInfo(r.Font()).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(QFontInfo(r.Font()).pixelSize(), 13);
    QFont bold = font;
    bold.setBold(true);
    EXPECT_EQ(QFontInfo(bold).family(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(QFontInfo(bold).bold()) << "the bold face comes from its own file";
}

TEST(MarkupRenderer, MeasuresRunsWithoutPainting)
{
    const QFont font = LineFont();
    const QFontMetrics fm(font);
    MarkupRenderer r(nullptr, font, kText, 0xFFFFFFFF);

    QRect rect(10, 5, 400, 20);
    MarkupExtent e = r.DrawMarkup(QStringLiteral("Red&nbsp;<color bg=#FFEB64>Car</color>&amp;lt;"), rect,
                                  kPaneFlags | DtCalcRect);
    const int expected = fm.horizontalAdvance(QStringLiteral("Red ")) + fm.horizontalAdvance(QStringLiteral("Car")) +
                         fm.horizontalAdvance(QStringLiteral("&lt;"));
    EXPECT_EQ(e.width, expected);
    EXPECT_EQ(e.height, fm.height());
    EXPECT_EQ(rect, QRect(10, 5, expected, fm.height()));

    rect = QRect(10, 5, 400, 20);
    e = r.DrawMarkup(QString(), rect, kPaneFlags | DtCalcRect);
    EXPECT_EQ(e.width, 0);
    EXPECT_EQ(e.height, 0);
    EXPECT_EQ(rect.width(), 0);
    EXPECT_EQ(rect.height(), 0);

    // No room at all: nothing measured.
    rect = QRect(10, 5, 0, 20);
    e = r.DrawMarkup(QStringLiteral("abc"), rect, kPaneFlags | DtCalcRect);
    EXPECT_EQ(e.height, 0);
    EXPECT_EQ(e.width, 0);
}

TEST(MarkupRenderer, CutRunEndsTheLine)
{
    const QFont font = LineFont();
    const QFontMetrics fm(font);
    MarkupRenderer r(nullptr, font, kText, 0xFFFFFFFF);
    const QString longText = QStringLiteral("Holiday&nbsp;at&nbsp;the&nbsp;seaside&nbsp;in&nbsp;summer");
    const int room = fm.horizontalAdvance(QStringLiteral("Holiday at"));
    QRect rect(0, 0, room, 20);
    const MarkupExtent e = r.DrawMarkup(longText + QStringLiteral("<color fg=#FF0000>tail</color>"), rect,
                                        kPaneFlags | DtCalcRect);
    EXPECT_LE(e.width, room);
    EXPECT_GT(e.width, 0);
    const QString elided = fm.elidedText(QStringLiteral("Holiday at the seaside in summer"), Qt::ElideRight, room);
    EXPECT_EQ(e.width, fm.horizontalAdvance(elided));

    // Without the ellipsis flag the run is clipped, not cut, and measures its full width.
    rect = QRect(0, 0, room, 20);
    const MarkupExtent full = r.DrawMarkup(longText, rect, DtSingleLine | DtCalcRect);
    EXPECT_EQ(full.width, fm.horizontalAdvance(QStringLiteral("Holiday at the seaside in summer")));
}

TEST(MarkupRenderer, DrawsRunsLeftToRightWithTheirColours)
{
    const QFont font = LineFont();
    const QFontMetrics fm(font);
    QImage img(300, 24, QImage::Format_RGB32);
    img.fill(Qt::white);
    MarkupExtent e;
    {
        QPainter p(&img);
        MarkupRenderer r(&p, font, kText, 0xFFFFFFFF);
        QRect rect(5, 0, 290, 24);
        e = r.DrawMarkup(QStringLiteral("ab&nbsp;<color bg=#FFEB64>Car</color>&nbsp;<color fg=#FF0000>zz</color>"),
                         rect, kPaneFlags);
        EXPECT_EQ(rect, QRect(5, 0, 290, 24)); // painting leaves the rectangle alone
    }
    const int yellowStart = 5 + fm.horizontalAdvance(QStringLiteral("ab "));
    const int yellowWidth = fm.horizontalAdvance(QStringLiteral("Car"));
    const auto [y0, y1] = ColumnsWith(img, kYellow);
    EXPECT_EQ(y0, yellowStart);
    EXPECT_EQ(y1, yellowStart + yellowWidth - 1);
    // The yellow band is one line high and centred vertically.
    const int top = (24 - fm.height()) / 2;
    EXPECT_EQ(img.pixel(yellowStart, top), kYellow);
    EXPECT_EQ(img.pixel(yellowStart, top + fm.height() - 1), kYellow);
    EXPECT_NE(img.pixel(yellowStart, top - 1), kYellow);
    // Plain text is drawn in the default colour before the run; red ink only after it.
    EXPECT_TRUE(HasInkOtherThan(img, QRect(5, 0, yellowStart - 5, 24), 0xFFFFFFFF));
    bool red = false;
    for (int y = 0; y < 24 && !red; ++y)
        for (int x = 0; x < img.width() && !red; ++x) {
            const QColor c = QColor::fromRgb(img.pixel(x, y));
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90) {
                red = true;
                EXPECT_GE(x, yellowStart + yellowWidth);
            }
        }
    EXPECT_TRUE(red);
    // Each run advances by its own width.
    EXPECT_EQ(e.width, fm.horizontalAdvance(QStringLiteral("ab ")) + yellowWidth +
                           fm.horizontalAdvance(QStringLiteral(" ")) + fm.horizontalAdvance(QStringLiteral("zz")));
    // Nothing is painted past the measured end.
    EXPECT_FALSE(HasInkOtherThan(img, QRect(5 + e.width + 1, 0, 300 - 6 - e.width, 24), 0xFFFFFFFF));
}

TEST(MarkupRenderer, NothingIsDrawnAfterTheCutRun)
{
    const QFont font = LineFont();
    const QFontMetrics fm(font);
    QImage img(200, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    const int room =
        fm.horizontalAdvance(QStringLiteral("abcdefgh")) + fm.horizontalAdvance(QStringLiteral("\u2026")) / 2;
    {
        QPainter p(&img);
        MarkupRenderer r(&p, font, kText, 0xFFFFFFFF);
        QRect rect(0, 0, room, 20);
        r.DrawMarkup(QStringLiteral("abcdefghijklmnop<color bg=#FFEB64>x</color>"), rect, kPaneFlags);
    }
    EXPECT_EQ(ColumnsWith(img, kYellow).first, -1);
    EXPECT_FALSE(HasInkOtherThan(img, QRect(room, 0, 200 - room, 20), 0xFFFFFFFF));
}

TEST(MarkupRenderer, RestoresThePainter)
{
    QImage img(10, 10, QImage::Format_RGB32);
    QPainter p(&img);
    QFont before = p.font();
    before.setPixelSize(31);
    p.setFont(before);
    p.setPen(QColor(1, 2, 3));
    {
        MarkupRenderer r(&p, LineFont(), kText, 0xFFFFFFFF, true);
        QRect rect(0, 0, 10, 10);
        r.DrawMarkup(QStringLiteral("<color fg=#FF0000>x</color>"), rect, kPaneFlags);
        EXPECT_EQ(p.font().pixelSize(), 13);
    }
    EXPECT_EQ(p.font().pixelSize(), 31);
    EXPECT_EQ(p.pen().color(), QColor(1, 2, 3));
}

TEST(MarkupRenderer, NegativeAdvanceNeverMovesThePenBack)
{
    // The object replacement character reports an advance of -1 with common fonts.
    QFont font;
    font.setPixelSize(13);
    MarkupRenderer r(nullptr, font, kText, 0xFFFFFFFF);
    QRect rect(0, 0, 200, 20);
    const MarkupExtent e = r.DrawMarkup(QString(QChar(0xFFFC)), rect, kPaneFlags | DtCalcRect);
    EXPECT_GE(e.width, 0);
    EXPECT_LE(e.width, 200);
}
