// The interface artwork: every id named in ResourceIds.h is embedded with the type and size
// its comment gives, bitmaps load through the program's BMP loader at 24 bits, and the skins
// can be stretched and laid over the surfaces they belong to without seams.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "imagefiles/AppResources.h"
#include "imaging/DibImage.h"
#include "imagefiles/ImageLoader.h"
#include "views/common/ResourceIds.h"

namespace tessary {
namespace {

struct Documented {
    QString name;
    int id = 0;
    QString type;
    int width = 0;
    int height = 0;
};

// The ids and their "// TYPE W x H: ..." comment lines, read from the header itself so that
// a new id without artwork, or artwork of another size than documented, fails here.
std::vector<Documented> ReadHeader(int* constants)
{
    QFile file(QStringLiteral(TESSARY_RESOURCE_IDS_HEADER));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    const QRegularExpression constant(
        QStringLiteral(R"(^inline constexpr int (kIdb\w+) = (\d+);)"));
    const QRegularExpression doc(QStringLiteral(R"(^// (PNG|BITMAP) (\d+) x (\d+): \S)"));
    std::vector<Documented> out;
    *constants = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const auto c = constant.match(lines[i]);
        if (!c.hasMatch())
            continue;
        ++*constants;
        const auto d = i > 0 ? doc.match(lines[i - 1]) : QRegularExpressionMatch();
        if (!d.hasMatch())
            continue;
        out.push_back({c.captured(1), c.captured(2).toInt(), d.captured(1), d.captured(2).toInt(),
                       d.captured(3).toInt()});
    }
    return out;
}

const std::vector<Documented>& Ids()
{
    static int constants = 0;
    static const std::vector<Documented> ids = ReadHeader(&constants);
    static const bool checked = [] {
        EXPECT_EQ(int(ids.size()), constants) << "an id without a size comment";
        return true;
    }();
    (void)checked;
    return ids;
}

QImage Resource(int id, const char* type)
{
    return QImage::fromData(ResourceData(id, QString::fromLatin1(type)));
}

QImage Png(int id)
{
    return Resource(id, "PNG");
}

QImage Bitmap(int id)
{
    return Resource(id, "BITMAP");
}

// Columns [from, to) all equal column `from` on every row.
::testing::AssertionResult UniformColumns(const QImage& image, int from, int to)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = from + 1; x < to; ++x)
            if (image.pixel(x, y) != image.pixel(from, y))
                return ::testing::AssertionFailure() << "column " << x << " differs at row " << y;
    return ::testing::AssertionSuccess();
}

TEST(ArtworkResources, HeaderDocumentsEveryId)
{
    const auto& ids = Ids();
    ASSERT_GE(ids.size(), 38u);
    std::map<QString, int> byName;
    std::set<int> seen;
    for (const Documented& d : ids) {
        byName[d.name] = d.id;
        EXPECT_TRUE(seen.insert(d.id).second) << "id " << d.id << " used twice";
    }
    // The parse agrees with what the compiler sees.
    EXPECT_EQ(byName["kIdbTabHome"], kIdbTabHome);
    EXPECT_EQ(byName["kIdbCommandGlyphs"], kIdbCommandGlyphs);
    EXPECT_EQ(byName["kIdbInsertMarker"], kIdbInsertMarker);
    EXPECT_EQ(byName["kIdbRecentAlbum"], kIdbRecentAlbum);
}

TEST(ArtworkResources, EveryIdIsEmbeddedAtItsDocumentedSize)
{
    for (const Documented& d : Ids()) {
        SCOPED_TRACE(d.name.toStdString());
        const bool png = d.type == QLatin1String("PNG");
        // Exactly one of the two types, so that ResourceImage cannot pick the wrong one.
        EXPECT_TRUE(ResourceData(d.id, QStringLiteral("PNG")).isEmpty() != png);
        EXPECT_TRUE(ResourceData(d.id, QStringLiteral("BITMAP")).isEmpty() == png);
        if (png) {
            const QImage image = Png(d.id);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.width(), d.width);
            EXPECT_EQ(image.height(), d.height);
            EXPECT_TRUE(image.hasAlphaChannel());
            // Something is drawn and something is left clear.
            const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
            int clear = 0;
            int solid = 0;
            for (int y = 0; y < argb.height(); ++y)
                for (int x = 0; x < argb.width(); ++x) {
                    const int a = qAlpha(argb.pixel(x, y));
                    clear += a == 0;
                    solid += a > 200;
                }
            EXPECT_GT(clear, 0);
            EXPECT_GT(solid + (d.id == kIdbInfoShadow ? 1 : 0), 0);
        } else {
            DibImage stored;
            ASSERT_TRUE(LoadBitmapResource(stored, d.id));
            EXPECT_EQ(stored.Bpp(), 24);
            EXPECT_EQ(stored.Width(), d.width);
            EXPECT_EQ(stored.Height(), d.height);
            DibImage converted;
            EXPECT_TRUE(LoadBitmapResource(converted, d.id, 24));
        }
    }
}

// The high-density variants: twice the documented size, the same picture brought down to 1x,
// and drawn at their own resolution rather than blown up from the 1x one.
TEST(ArtworkResources, TwiceSizeVariantsAreTheSamePictureInFinerPixels)
{
    int variants = 0;
    for (const Documented& d : Ids()) {
        const QImage twice = Resource(d.id, "PNG2X").convertToFormat(QImage::Format_ARGB32);
        if (twice.isNull())
            continue;
        SCOPED_TRACE(d.name.toStdString());
        ++variants;
        ASSERT_EQ(twice.size(), QSize(2 * d.width, 2 * d.height));
        const QImage once = Resource(d.id, d.type == QLatin1String("PNG") ? "PNG" : "BITMAP")
                                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(once.size(), QSize(d.width, d.height));
        double difference = 0;
        int blocksWithDetail = 0;
        for (int y = 0; y < d.height; ++y) {
            for (int x = 0; x < d.width; ++x) {
                const QRgb q[4] = {twice.pixel(2 * x, 2 * y), twice.pixel(2 * x + 1, 2 * y),
                                   twice.pixel(2 * x, 2 * y + 1), twice.pixel(2 * x + 1, 2 * y + 1)};
                int mean[4] = {0, 0, 0, 0};
                for (const QRgb c : q) {
                    mean[0] += qRed(c);
                    mean[1] += qGreen(c);
                    mean[2] += qBlue(c);
                    mean[3] += qAlpha(c);
                }
                const QRgb o = once.pixel(x, y);
                difference += std::abs(mean[3] / 4 - qAlpha(o));
                if (qAlpha(o) > 0)
                    difference += (std::abs(mean[0] / 4 - qRed(o)) + std::abs(mean[1] / 4 - qGreen(o))
                                   + std::abs(mean[2] / 4 - qBlue(o))) * qAlpha(o) / 255.0 / 3;
                blocksWithDetail += !(q[0] == q[1] && q[1] == q[2] && q[2] == q[3]);
            }
        }
        const double pixels = double(d.width) * d.height;
        EXPECT_LT(difference / pixels, 12.0) << "not the same picture";
        EXPECT_GT(blocksWithDetail, int(pixels / 50)) << "a blown-up 1x picture";
    }
    EXPECT_GE(variants, 16);
}

TEST(ArtworkResources, BitmapLoaderAndQtAgreeOnPixels)
{
    // The bottom-up row order and the blue-green-red layout come out the right way round.
    DibImage face;
    ASSERT_TRUE(LoadBitmapResource(face, kIdbCmdBarFace, 24));
    const QImage qt = Bitmap(kIdbCmdBarFace);
    ASSERT_EQ(qt.height(), face.Height());
    for (int y : {0, face.Height() / 2, face.Height() - 1}) {
        const uint8_t* row = face.Row(y);
        const QRgb pixel = qt.pixel(0, y);
        EXPECT_EQ(row[0], qBlue(pixel)) << y;
        EXPECT_EQ(row[1], qGreen(pixel)) << y;
        EXPECT_EQ(row[2], qRed(pixel)) << y;
    }
    // The face darkens downwards and closes with its line.
    EXPECT_GT(qGray(qt.pixel(0, 0)), qGray(qt.pixel(0, qt.height() - 2)));
    EXPECT_GT(qGray(qt.pixel(0, qt.height() - 2)), qGray(qt.pixel(0, qt.height() - 1)));
}

TEST(ArtworkResources, StretchedPartsAreUniform)
{
    // Backgrounds stretched sideways.
    for (int id : {kIdbTopStripBackground, kIdbCmdBarFace}) {
        const QImage image = Bitmap(id);
        EXPECT_TRUE(UniformColumns(image, 0, image.width())) << id;
    }
    // Three-part skins: the middle between the caps.
    const struct { int id; bool png; int cap; } skins[] = {
        {kIdbCmdBarHotSkin, false, 14},     {kIdbCmdBarPressedSkin, false, 11},
        {kIdbCollectionSelected, false, 14}, {kIdbCollectionFocused, false, 14},
        {kIdbCollectionHover, false, 4},     {kIdbResultSelected, false, 14},
        {kIdbSearchBoxFrame, false, 2},      {kIdbCountBadge, true, 10},
        {kIdbInsertMarker, true, 8},
    };
    for (const auto& s : skins) {
        const QImage image = s.png ? Png(s.id) : Bitmap(s.id);
        ASSERT_GT(image.width(), 2 * s.cap) << s.id;
        EXPECT_TRUE(UniformColumns(image, s.cap, image.width() - s.cap)) << s.id;
    }
    // Tag rows: everything right of the name column stretches over the value column.
    for (int id : {kIdbTagSelectedEven, kIdbTagSelectedOdd}) {
        const QImage image = Bitmap(id);
        EXPECT_TRUE(UniformColumns(image, 160, image.width())) << id;
        EXPECT_NE(image.pixel(80, 15), image.pixel(164, 15)) << id;
    }
    EXPECT_NE(Bitmap(kIdbTagSelectedEven).pixel(80, 15), Bitmap(kIdbTagSelectedOdd).pixel(80, 15));
    // The navigation column's last row is stretched down: the rows above it match it.
    const QImage navi = Bitmap(kIdbNaviBackground);
    for (int x = 0; x < navi.width(); ++x)
        EXPECT_EQ(navi.pixel(x, navi.height() - 1), navi.pixel(x, navi.height() - 2)) << x;
}

TEST(ArtworkResources, SkinsCarryTheSurfaceBehindTheirCorners)
{
    // Command button skins lie over rows 1-27 of the bar face.
    const QImage face = Bitmap(kIdbCmdBarFace);
    for (int id : {kIdbCmdBarHotSkin, kIdbCmdBarPressedSkin}) {
        const QImage skin = Bitmap(id);
        ASSERT_EQ(skin.height(), 27);
        EXPECT_EQ(skin.pixel(0, 0), face.pixel(0, 1)) << id;
        EXPECT_EQ(skin.pixel(skin.width() - 1, skin.height() - 1), face.pixel(0, 27)) << id;
        EXPECT_NE(skin.pixel(skin.width() / 2, 13), face.pixel(0, 14)) << id;
    }
    // Collection rows: the pane's flat fill in the corners, the row line at the bottom.
    const QRgb fill = qRgb(0xEA, 0xEF, 0xF6);
    const QRgb line = qRgb(0xCA, 0xD4, 0xE5);
    for (int id : {kIdbCollectionSelected, kIdbCollectionFocused, kIdbCollectionHover}) {
        const QImage skin = Bitmap(id);
        EXPECT_EQ(skin.pixel(0, 0), fill) << id;
        EXPECT_EQ(skin.pixel(skin.width() - 1, 0), fill) << id;
        EXPECT_EQ(skin.pixel(skin.width() / 2, skin.height() - 1), line) << id;
        EXPECT_NE(skin.pixel(skin.width() / 2, skin.height() / 2), fill) << id;
    }
    // The thumbnail shadow leaves the thumbnail itself alone and fades outwards.
    const QImage shadow = Png(kIdbInfoShadow).convertToFormat(QImage::Format_ARGB32);
    for (int y = 4; y < 8; ++y)
        for (int x = 4; x < 8; ++x)
            EXPECT_EQ(qAlpha(shadow.pixel(x, y)), 0);
    EXPECT_GT(qAlpha(shadow.pixel(3, 6)), qAlpha(shadow.pixel(0, 6)));
    EXPECT_GT(qAlpha(shadow.pixel(8, 6)), qAlpha(shadow.pixel(11, 6)));
}

TEST(ArtworkResources, CommandGlyphsAreThirteenDistinctCells)
{
    const QImage strip = Png(kIdbCommandGlyphs).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(strip.width(), 13 * kCommandGlyphSize);
    std::vector<QImage> cells;
    for (int i = 0; i < 13; ++i) {
        const QImage cell =
            strip.copy(i * kCommandGlyphSize, 0, kCommandGlyphSize, kCommandGlyphSize);
        int inked = 0;
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                inked += qAlpha(cell.pixel(x, y)) > 128;
        EXPECT_GE(inked, 12) << "glyph " << i;
        for (size_t j = 0; j < cells.size(); ++j)
            EXPECT_NE(cell, cells[j]) << "glyphs " << j << " and " << i;
        cells.push_back(cell);
    }
    // "Move Up" and "Move Down" mirror each other (up to antialiasing).
    const QImage flipped = cells[3].mirrored(false, true);
    int worst = 0;
    for (int y = 0; y < kCommandGlyphSize; ++y)
        for (int x = 0; x < kCommandGlyphSize; ++x)
            worst = std::max(
                worst, std::abs(qAlpha(flipped.pixel(x, y)) - qAlpha(cells[4].pixel(x, y))));
    EXPECT_LE(worst, 24);
}

} // namespace
} // namespace tessary
