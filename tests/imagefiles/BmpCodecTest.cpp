// The BMP reader and writer over hand-made files: header variants, run-length data with its
// bounds, bit fields, top-down rows, the alpha rules, hostile sizes, and the writer's layout.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "BmpFixture.h"
#include "imaging/ImageTestUtil.h"
#include "imagefiles/BmpCodec.h"
#include "imagefiles/BmpReader.h"
#include "imagefiles/BmpWriter.h"
#include "imagefiles/ImageLoader.h"
#include "imagefiles/ImageStreams.h"

using namespace tessary;
using namespace tessary::test;

namespace {

const std::vector<std::array<uint8_t, 3>> kPalette = {
    {0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {10, 20, 30}, {40, 50, 60}, {70, 80, 90},
    {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {11, 12, 13}, {14, 15, 16}, {17, 18, 19}, {21, 22, 23}, {24, 25, 26},
};

DibColor PaletteColor(int index)
{
    return Bgr(kPalette[size_t(index)][0], kPalette[size_t(index)][1], kPalette[size_t(index)][2]);
}

// The picture a BMP file gives through the codec; an empty picture when it is refused.
std::unique_ptr<Picture> Load(const BmpBytes& file, int64_t limit = kMaxDecodedBytes)
{
    BmpCodec codec;
    codec.SetMaxPixelBytes(limit);
    auto picture = MakePicture(PhotoFormat::Bmp);
    if (!codec.LoadFromMemory(*picture, file.data(), file.size())) {
        EXPECT_TRUE(picture->IsEmpty()) << "a failed load leaves the picture empty";
    }
    return picture;
}

bool Refused(const BmpBytes& file, int64_t limit = kMaxDecodedBytes)
{
    return Load(file, limit)->IsEmpty();
}

// Colours of a picture's colour plane, row by row from the top.
std::vector<uint32_t> PictureColors(const Picture& p) { return Colors(p.image.color); }

std::vector<int> MaskValues(const DibImage& mask)
{
    std::vector<int> out;
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x)
            out.push_back(mask.GetIndex(x, y));
    return out;
}

std::vector<uint32_t> Expected(int w, int h, const std::function<DibColor(int, int)>& f)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.push_back(f(x, y).Value());
    return out;
}

BmpSpec Palette8(int w, int h, std::vector<uint8_t> rle)
{
    BmpSpec s;
    s.width = w;
    s.height = h;
    s.bpp = 8;
    s.compression = 1;
    s.palette = kPalette;
    s.clrUsed = uint32_t(kPalette.size());
    s.pixels = std::move(rle);
    return s;
}

BmpSpec Palette4(int w, int h, std::vector<uint8_t> rle)
{
    BmpSpec s = Palette8(w, h, std::move(rle));
    s.bpp = 4;
    s.compression = 2;
    return s;
}

} // namespace

// ---- header variants and plain rows ---------------------------------------------------------

TEST(BmpRead, PlainDepthsBottomUpAndTopDown)
{
    const auto index = [](int x, int y) { return uint32_t((x + 2 * y) % 16); };
    for (int bpp : {1, 4, 8}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bpp << " bits, top-down " << topDown);
            BmpSpec s;
            s.width = 11;
            s.height = topDown ? -5 : 5;
            s.bpp = uint16_t(bpp);
            s.palette.assign(kPalette.begin(), kPalette.begin() + (1 << std::min(bpp, 4)));
            s.clrUsed = uint32_t(s.palette.size());
            const uint32_t mask = (1u << bpp) - 1;
            s.pixels = StoredRows(11, 5, bpp, topDown, [&](int x, int y) { return index(x, y) & mask; });
            const auto p = Load(BuildBmp(s));
            ASSERT_FALSE(p->IsEmpty());
            EXPECT_FALSE(p->HasAlpha());
            EXPECT_EQ(p->record.bpp, bpp);
            EXPECT_EQ(p->record.height, 5);
            EXPECT_EQ(PictureColors(*p), Expected(11, 5, [&](int x, int y) { return PaletteColor(int(index(x, y) & mask)); }));
        }
    }
    for (bool topDown : {false, true}) {
        BmpSpec s;
        s.width = 5;
        s.height = topDown ? -3 : 3;
        s.pixels = StoredRows(5, 3, 24, topDown, [](int x, int y) { return uint32_t(x * 40 | y * 70 << 8 | 0x330000); });
        const auto p = Load(BuildBmp(s));
        ASSERT_FALSE(p->IsEmpty());
        EXPECT_EQ(PictureColors(*p), Expected(5, 3, [](int x, int y) { return Bgr(uint8_t(x * 40), uint8_t(y * 70), 0x33); }))
            << "top-down " << topDown;
    }
}

TEST(BmpRead, CoreHeaderWithThreeBytePalette)
{
    BmpSpec s;
    s.headerSize = 12;
    s.width = 4;
    s.height = 2;
    s.bpp = 8;
    s.palette.assign(256, {9, 9, 9});
    s.palette[3] = {1, 2, 3};
    s.palette[200] = {200, 100, 50};
    s.pixels = StoredRows(4, 2, 8, false, [](int x, int) { return x % 2 ? 200u : 3u; });
    const auto p = Load(BuildBmp(s));
    ASSERT_FALSE(p->IsEmpty());
    EXPECT_EQ(PictureColors(*p), Expected(4, 2, [](int x, int) { return x % 2 ? Bgr(200, 100, 50) : Bgr(1, 2, 3); }));

    BmpSpec rgb;
    rgb.headerSize = 12;
    rgb.width = 2;
    rgb.height = 2;
    rgb.pixels = StoredRows(2, 2, 24, false, [](int x, int y) { return uint32_t(0x102030 + x + 16 * y); });
    const auto q = Load(BuildBmp(rgb));
    ASSERT_FALSE(q->IsEmpty());
    EXPECT_EQ(ColorAt(q->image.color, 1, 1), Bgr(0x30 + 17, 0x20, 0x10));
}

// ---- run-length data ------------------------------------------------------------------------

TEST(BmpRle, Rle8RunsLiteralsMovesAndEndCodes)
{
    // 6 x 4, stored bottom line first. Line 0: run of 3 x index 1, literal 5 6 7 (odd: a pad
    // byte), end of line. Line 1: move right 2 and down 1 (to line 2, column 2), run of 2 x
    // index 2, end of line. Line 3: run of 6 x index 3, end of picture.
    const auto p = Load(BuildBmp(Palette8(6, 4, {3, 1, 0, 3, 5, 6, 7, 0, 0, 0, 0, 2, 2, 1, 2, 2, 0, 0, 6, 3, 0, 1})));
    ASSERT_FALSE(p->IsEmpty());
    const int rows[4][6] = {{3, 3, 3, 3, 3, 3}, {0, 0, 2, 2, 0, 0}, {0, 0, 0, 0, 0, 0}, {1, 1, 1, 5, 6, 7}};
    EXPECT_EQ(PictureColors(*p), Expected(6, 4, [&](int x, int y) { return PaletteColor(rows[y][x]); }));
}

TEST(BmpRle, Rle4AlternatesNibblesAndPadsLiterals)
{
    // 7 x 2. Line 0: run of 4 nibbles 1,2,1,2; literal of 3 nibbles 3,4,5 (two bytes, even),
    // end of line. Line 1: literal of 5 nibbles 5,6,7,8,9 (three bytes, padded to four), run
    // of 1 nibble 6, end of picture.
    const auto p = Load(BuildBmp(Palette4(7, 2, {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x56, 0x78, 0x90, 0, 1, 0x6F, 0, 1})));
    ASSERT_FALSE(p->IsEmpty());
    const int rows[2][7] = {{5, 6, 7, 8, 9, 6, 0}, {1, 2, 1, 2, 3, 4, 5}};
    EXPECT_EQ(PictureColors(*p), Expected(7, 2, [&](int x, int y) { return PaletteColor(rows[y][x]); }));
}

TEST(BmpRle, NegativeHeightKeepsTheDecodedOrder)
{
    const auto p = Load(BuildBmp(Palette8(2, -2, {2, 1, 0, 0, 2, 2, 0, 1})));
    ASSERT_FALSE(p->IsEmpty());
    EXPECT_EQ(PictureColors(*p), Expected(2, 2, [](int, int y) { return PaletteColor(y == 0 ? 1 : 2); }));
}

TEST(BmpRle, WritesOutsideTheRowsAreRefused)
{
    // Width 5 at 8 bits: a stride of 8 bytes. A run may fill the padding, not pass it.
    EXPECT_FALSE(Refused(BuildBmp(Palette8(5, 1, {8, 1, 0, 1}))));
    EXPECT_TRUE(Refused(BuildBmp(Palette8(5, 1, {9, 1, 0, 1}))));
    EXPECT_TRUE(Refused(BuildBmp(Palette8(5, 1, {6, 1, 0, 3, 1, 2, 3, 0, 0, 1}))));
    // Width 5 at 4 bits: a stride of 4 bytes, 8 nibbles.
    EXPECT_FALSE(Refused(BuildBmp(Palette4(5, 1, {8, 0x11, 0, 1}))));
    EXPECT_TRUE(Refused(BuildBmp(Palette4(5, 1, {9, 0x11, 0, 1}))));
    // Below the last row: after two ends of line, or a move down.
    EXPECT_FALSE(Refused(BuildBmp(Palette8(2, 2, {2, 1, 0, 0, 2, 1, 0, 0, 0, 1}))));
    EXPECT_TRUE(Refused(BuildBmp(Palette8(2, 2, {2, 1, 0, 0, 2, 1, 0, 0, 1, 1, 0, 1}))));
    EXPECT_TRUE(Refused(BuildBmp(Palette8(2, 2, {0, 2, 0, 2, 1, 1, 0, 1}))));
    // A move far to the right, then a write.
    EXPECT_TRUE(Refused(BuildBmp(Palette8(4, 1, {0, 2, 200, 0, 1, 1, 0, 1}))));
}

TEST(BmpRle, DataEndingEarlyIsRefused)
{
    EXPECT_TRUE(Refused(BuildBmp(Palette8(4, 2, {4, 1, 0, 0, 4, 2}))));         // no end of picture
    EXPECT_TRUE(Refused(BuildBmp(Palette8(4, 2, {0, 4, 1, 2, 3}))));            // literal cut short
    EXPECT_TRUE(Refused(BuildBmp(Palette8(4, 2, {0, 3, 1, 2, 3}))));            // pad byte missing
    EXPECT_TRUE(Refused(BuildBmp(Palette8(4, 2, {0, 2, 1}))));                  // move cut short
    BmpSpec wrongDepth = Palette8(4, 1, {4, 1, 0, 1});
    wrongDepth.bpp = 4;                                                          // RLE8 on 4 bits
    EXPECT_TRUE(Refused(BuildBmp(wrongDepth)));
}

// ---- bit fields and alpha --------------------------------------------------------------------

TEST(BmpRead, BitFields565And32WithOwnMasks)
{
    BmpSpec s;
    s.width = 3;
    s.height = 1;
    s.bpp = 16;
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    const uint16_t words[3] = {0xF800, 0x07E0, 0x8410 | 0x0001};
    s.pixels = StoredRows(3, 1, 16, false, [&](int x, int) { return words[x]; });
    auto p = Load(BuildBmp(s));
    ASSERT_FALSE(p->IsEmpty());
    EXPECT_FALSE(p->HasAlpha());
    // Normalised to 5-5-5 on the way, so green keeps five of its six bits.
    EXPECT_EQ(PictureColors(*p), (std::vector<uint32_t>{Bgr(0, 0, 0xF8).Value(), Bgr(0, 0xF8, 0).Value(),
                                                         Bgr(0x88, 0x80, 0x80).Value()}));

    BmpSpec w;
    w.width = 2;
    w.height = 1;
    w.bpp = 32;
    w.compression = 3;
    w.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
    w.pixels = StoredRows(2, 1, 32, false, [](int x, int) { return x ? 0x11223344u : 0xA0B0C0D0u; });
    p = Load(BuildBmp(w));
    ASSERT_FALSE(p->IsEmpty());
    EXPECT_FALSE(p->HasAlpha()) << "without an alpha mask the picture is opaque";
    EXPECT_EQ(PictureColors(*p), (std::vector<uint32_t>{Bgr(0xC0, 0xB0, 0xA0).Value(), Bgr(0x33, 0x22, 0x11).Value()}));
    w.masks.push_back(0xFF);
    w.headerSize = 56;
    p = Load(BuildBmp(w));
    ASSERT_TRUE(p->HasAlpha());
    EXPECT_EQ(MaskValues(p->image.mask), (std::vector<int>{0xD0, 0x44}));
}

TEST(BmpRead, SixteenBitsWithAnAlphaMaskGiveAMask)
{
    BmpSpec s;
    s.headerSize = 108;
    s.width = 2;
    s.height = 1;
    s.bpp = 16;
    s.compression = 3;
    s.masks = {0x0F00, 0x00F0, 0x000F, 0xF000};
    s.pixels = StoredRows(2, 1, 16, false, [](int x, int) { return x ? 0x5F00u : 0xF0F0u; });
    const auto p = Load(BuildBmp(s));
    ASSERT_FALSE(p->IsEmpty());
    ASSERT_TRUE(p->HasAlpha());
    EXPECT_EQ(p->record.bpp, 16);
    EXPECT_EQ(MaskValues(p->image.mask), (std::vector<int>{255, 5 * 255 / 15}));
    EXPECT_EQ(ColorAt(p->image.color, 0, 0), Bgr(0, 0xF0, 0));
    EXPECT_EQ(ColorAt(p->image.color, 1, 0), Bgr(0, 0, 0xF0));

    // The same words through a 40-byte header carry no alpha mask.
    s.headerSize = 40;
    s.masks.resize(3);
    EXPECT_FALSE(Load(BuildBmp(s))->HasAlpha());
}

TEST(BmpRead, ThirtyTwoBitAlphaRules)
{
    BmpSpec s;
    s.width = 2;
    s.height = 2;
    s.bpp = 32;
    s.pixels = StoredRows(2, 2, 32, false, [](int x, int y) { return 0x00102030u + uint32_t(x + 2 * y); });
    auto p = Load(BuildBmp(s));
    ASSERT_FALSE(p->IsEmpty());
    EXPECT_FALSE(p->HasAlpha()) << "all alpha bytes 0: an opaque picture";
    EXPECT_EQ(ColorAt(p->image.color, 1, 1), Bgr(0x33, 0x20, 0x10));

    s.pixels = StoredRows(2, 2, 32, false, [](int x, int y) { return (x + y == 1 ? 0x80000000u : 0u) | 0x405060u; });
    p = Load(BuildBmp(s));
    ASSERT_TRUE(p->HasAlpha());
    EXPECT_EQ(MaskValues(p->image.mask), (std::vector<int>{0, 128, 128, 0}));

    // A 124-byte header with an alpha mask keeps its alpha too.
    s.headerSize = 124;
    s.compression = 3;
    s.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    p = Load(BuildBmp(s));
    ASSERT_TRUE(p->HasAlpha());
    EXPECT_EQ(MaskValues(p->image.mask), (std::vector<int>{0, 128, 128, 0}));
}

// Some tools store a colour table with true-colour pictures; it may be of any length and is
// skipped, but the whole of it lies before the rows.
TEST(BmpRead, TrueColourFilesWithLongColourTables)
{
    for (uint16_t bpp : {uint16_t(24), uint16_t(32)}) {
        for (uint32_t entries : {1u, 256u, 281u, 300u, 1000u, 5000u}) {
            SCOPED_TRACE(testing::Message() << bpp << " bits, " << entries << " entries");
            BmpSpec s;
            s.width = 7;
            s.height = 3;
            s.bpp = bpp;
            s.palette.assign(entries, {9, 8, 7});
            s.clrUsed = entries;
            s.pixels = StoredRows(7, 3, bpp, false, [](int x, int y) { return uint32_t(x * 30 | y * 80 << 8 | 0x440000); });
            const BmpBytes file = BuildBmp(s);
            const auto p = Load(file);
            ASSERT_FALSE(p->IsEmpty());
            EXPECT_EQ(PictureColors(*p), Expected(7, 3, [](int x, int y) { return Bgr(uint8_t(x * 30), uint8_t(y * 80), 0x44); }));

            // Through a file and headers only, as the details pane reads it.
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("long-table.bmp"));
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(reinterpret_cast<const char*>(file.data()), qint64(file.size()));
            f.close();
            EXPECT_EQ(LoadHeader(path), (std::optional<DibSize>(DibSize{7, 3})));
            const auto fromFile = LoadPicture(path);
            ASSERT_TRUE(fromFile && !fromFile->IsEmpty());
            EXPECT_EQ(PictureColors(*fromFile), PictureColors(*p));

            // A table that claims more entries than lie before the rows is refused.
            s.clrUsed = entries + 1;
            EXPECT_TRUE(Refused(BuildBmp(s)));
        }
    }
}

// ---- refusals and limits ---------------------------------------------------------------------

TEST(BmpRead, MalformedFilesAreRefused)
{
    BmpSpec good;
    good.width = 3;
    good.height = 3;
    good.pixels = StoredRows(3, 3, 24, false, [](int, int) { return 0x123456u; });
    ASSERT_FALSE(Refused(BuildBmp(good)));

    BmpBytes file = BuildBmp(good);
    file[1] = 'A';
    EXPECT_TRUE(Refused(file)) << "signature";
    file = BuildBmp(good);
    file.pop_back();
    EXPECT_TRUE(Refused(file)) << "one pixel byte short";
    EXPECT_TRUE(Refused(BmpBytes(file.begin(), file.begin() + 30))) << "header cut";
    EXPECT_TRUE(Refused({})) << "empty";

    BmpSpec s = good;
    s.headerSize = 64;
    EXPECT_TRUE(Refused(BuildBmp(s))) << "unknown header size";
    s = good;
    s.compression = 4;
    EXPECT_TRUE(Refused(BuildBmp(s))) << "embedded JPEG";
    s = good;
    s.width = 0;
    EXPECT_TRUE(Refused(BuildBmp(s))) << "no width";
    s = good;
    s.bpp = 2;
    EXPECT_TRUE(Refused(BuildBmp(s))) << "2 bits";
    file = BuildBmp(good);
    file[13] = 0x40;
    EXPECT_TRUE(Refused(file)) << "pixels past the end of the file";
    s = good;
    s.offBitsOverride = 20;
    EXPECT_TRUE(Refused(BuildBmp(s))) << "pixels inside the header";
    s = good;
    s.bpp = 8;
    s.clrUsed = 300;
    s.palette.assign(4, {1, 1, 1});
    EXPECT_TRUE(Refused(BuildBmp(s))) << "table longer than the file";
}

TEST(BmpRead, HugeDeclaredSizesAreRefusedBeforeAllocating)
{
    // A few bytes that declare gigapixels: plain rows must all be present, run-length data is
    // held to the pixel limit.
    BmpSpec plain;
    plain.width = 60000;
    plain.height = -60000;
    plain.pixels = {1, 2, 3, 4};
    EXPECT_TRUE(Refused(BuildBmp(plain)));

    BmpSpec rle = Palette8(40000, 40000, {0, 1});
    EXPECT_TRUE(Refused(BuildBmp(rle))) << "1.6 GB of rows";
    rle = Palette8(2000, 2000, {0, 1});
    EXPECT_FALSE(Refused(BuildBmp(rle)));
    EXPECT_TRUE(Refused(BuildBmp(rle), 1 << 20)) << "under a lowered limit";
}

// ---- writer ----------------------------------------------------------------------------------

TEST(BmpWrite, LayoutOfAFile)
{
    DibImage24 image = Numbered24(3, 2);
    const QByteArray bytes = SaveBmpToMemory(image);
    ASSERT_EQ(bytes.size(), 14 + 40 + 2 * 12);
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
    auto u32 = [&](int at) { return uint32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24); };
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(u32(2), 78u);
    EXPECT_EQ(u32(6), 0u);
    EXPECT_EQ(u32(10), 54u);
    EXPECT_EQ(u32(14), 40u);
    EXPECT_EQ(u32(18), 3u);
    EXPECT_EQ(u32(22), 2u) << "positive height";
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(u32(30), 0u) << "no compression";
    // Bottom row first, padded to 12 bytes.
    EXPECT_EQ(std::memcmp(b + 54, image.Row(1), 9), 0);
    EXPECT_EQ(std::memcmp(b + 66, image.Row(0), 9), 0);
    EXPECT_EQ(b[63] | b[64] | b[65], 0);

    DibImage bitFields;
    ASSERT_TRUE(image.To16(bitFields, false));
    const QByteArray withMasks = SaveBmpToMemory(bitFields);
    const auto* m = reinterpret_cast<const uint8_t*>(withMasks.constData());
    EXPECT_EQ(m[30], 3) << "compression 3";
    EXPECT_EQ(m[10], 14 + 52) << "three masks after the header";
    EXPECT_EQ(m[54] | m[55] << 8, 0xF800);

    EXPECT_TRUE(SaveBmpToMemory(DibImage()).isEmpty());
}

TEST(BmpWrite, RoundTripsAndAnIndependentReaderAgree)
{
    const DibImage24 source = Numbered24(13, 7);
    for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
        SCOPED_TRACE(testing::Message() << bpp << " bits");
        DibImage image;
        ASSERT_TRUE(source.ToDepth(image, bpp));
        const QByteArray bytes = SaveBmpToMemory(image);
        ASSERT_FALSE(bytes.isEmpty());
        MemoryStream stream(bytes.constData(), size_t(bytes.size()));
        BitmapInfoBlock block;
        DibImage back;
        ASSERT_TRUE(ReadBmp(stream, false, kMaxDecodedBytes, block, back));
        if (bpp == 16) {
            // 5-6-5 is read back as 5-5-5: green loses its lowest bit.
            std::vector<uint32_t> expected = Colors(image);
            for (uint32_t& c : expected)
                c &= ~0x0700u;
            EXPECT_EQ(Colors(back), expected);
        } else {
            EXPECT_EQ(Colors(back), Colors(image));
        }

        QImage independent;
        ASSERT_TRUE(independent.loadFromData(bytes, "BMP"));
        ASSERT_EQ(independent.size(), QSize(13, 7));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) {
                const QRgb q = independent.pixel(x, y);
                const DibColor c = ColorAt(image, x, y);
                ASSERT_EQ(Bgr(uint8_t(qBlue(q)), uint8_t(qGreen(q)), uint8_t(qRed(q))), Bgr(c.blue, c.green, c.red))
                    << x << "," << y;
            }
    }
}

TEST(BmpWrite, PicturesAreSavedAtTheirStoredDepth)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    BmpSpec s;
    s.width = 4;
    s.height = 2;
    s.bpp = 8;
    s.palette = kPalette;
    s.clrUsed = 16;
    s.pixels = StoredRows(4, 2, 8, false, [](int x, int y) { return uint32_t(x + 4 * y); });
    const auto picture = Load(BuildBmp(s));
    ASSERT_FALSE(picture->IsEmpty());
    const QString path = dir.filePath(QStringLiteral("eight.bmp"));
    BmpCodec codec;
    ASSERT_TRUE(codec.SaveToFile(path, *picture));
    const auto back = LoadPicture(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->record.bpp, 8);
    EXPECT_EQ(back->record.sourcePath, path);
    EXPECT_EQ(PictureColors(*back), PictureColors(*picture));

    // A 32-bit picture keeps its mask through a save.
    BmpSpec a;
    a.width = 2;
    a.height = 1;
    a.bpp = 32;
    a.pixels = StoredRows(2, 1, 32, false, [](int x, int) { return x ? 0x40A0B0C0u : 0xFF010203u; });
    const auto alpha = Load(BuildBmp(a));
    ASSERT_TRUE(alpha->HasAlpha());
    const QByteArray bytes = SavePicture(*alpha);
    const auto again = LoadPicture(bytes.constData(), size_t(bytes.size()));
    ASSERT_TRUE(again && again->HasAlpha());
    EXPECT_EQ(Colors(again->image.mask), Colors(alpha->image.mask));
    EXPECT_EQ(PictureColors(*again), PictureColors(*alpha));
}
