// Creation, layout, limits, info blocks and ownership of DibImage.
#include <cstring>

#include "ImageTestUtil.h"
#include "imaging/DibDepths.h"

using namespace tessary;
using namespace tessary::test;

namespace {

void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(uint8_t(x >> (8 * i)));
}
void Put16(std::vector<uint8_t>& v, uint16_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

// An info header of `size` bytes (40 and up) with the given fields; the rest zero.
std::vector<uint8_t> InfoHeader(uint32_t size, int32_t w, int32_t h, uint16_t bpp, uint32_t compression,
                                uint32_t clrUsed = 0, const std::array<uint32_t, 4>& masks = {})
{
    std::vector<uint8_t> v;
    Put32(v, size);
    Put32(v, uint32_t(w));
    Put32(v, uint32_t(h));
    Put16(v, 1);
    Put16(v, bpp);
    Put32(v, compression);
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, clrUsed);
    Put32(v, 0);
    if (size >= 52)
        for (int i = 0; i < 3; ++i)
            Put32(v, masks[size_t(i)]);
    if (size >= 56)
        Put32(v, masks[3]);
    v.resize(size, 0);
    return v;
}

} // namespace

TEST(DibImageCreate, LayoutIsBottomUpWithPaddedRows)
{
    struct Case { int bpp; int width; int stride; };
    for (const Case c : {Case{1, 33, 8}, Case{4, 9, 8}, Case{8, 5, 8}, Case{15, 3, 8}, Case{16, 2, 4},
                         Case{24, 5, 16}, Case{32, 3, 12}}) {
        DibImage img;
        ASSERT_TRUE(img.Create(c.width, 3, c.bpp)) << c.bpp;
        EXPECT_EQ(img.Stride(), c.stride) << c.bpp;
        EXPECT_EQ(img.Bpp(), c.bpp == 15 ? 16 : c.bpp);
        EXPECT_EQ(img.ImageSize(), 3 * c.stride);
        // Row 0 is the top row and lies last in memory.
        EXPECT_EQ(img.Row(0), img.Bits() + 2 * c.stride);
        EXPECT_EQ(img.Row(2), img.Bits());
        for (int i = 0; i < img.ImageSize(); ++i)
            ASSERT_EQ(img.Bits()[i], 0);
    }
}

TEST(DibImageCreate, RefusesBadArgumentsAndKeepsOldImage)
{
    DibImage img;
    ASSERT_TRUE(img.Create(4, 4, 24));
    img.SetColor(1, 1, Bgr(1, 2, 3));
    EXPECT_FALSE(img.Create(0, 4, 24));
    EXPECT_FALSE(img.Create(4, 0, 24));
    EXPECT_FALSE(img.Create(-4, 4, 24));
    EXPECT_FALSE(img.Create(4, 4, 2));
    EXPECT_FALSE(img.Create(4, 4, 0));
    EXPECT_EQ(img.Size(), (DibSize{4, 4}));
    EXPECT_EQ(ColorAt(img, 1, 1), Bgr(1, 2, 3));

    DibImage empty;
    EXPECT_FALSE(empty.Create(4, 4, 2));
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(DibImageCreate, RefusesMemoryBeyondOneGibibyte)
{
    DibImage img;
    EXPECT_FALSE(img.Create(40000, 40000, 24));
    EXPECT_FALSE(img.Create(16384, 16384, 32)) << "exactly 1 GiB of pixels plus the row table";
    EXPECT_FALSE(img.Create(INT32_MAX, 2, 32)) << "stride alone beyond the limit";
    EXPECT_FALSE(img.Create(1, 100'000'000, 1)) << "the row table counts too";
    EXPECT_FALSE(img.Create(INT32_MAX, INT32_MAX, 1));
    EXPECT_TRUE(img.IsEmpty());
}

TEST(DibImageCreate, DepthClassesTakeOnlyTheirDepth)
{
    DibImage24 img24;
    EXPECT_FALSE(img24.Create(2, 2, 8));
    EXPECT_TRUE(img24.IsEmpty());
    EXPECT_TRUE(img24.Create(2, 2, 24));
    DibImage16 img16;
    EXPECT_TRUE(img16.Create(2, 2, 15)) << "15 is stored as 16";
    EXPECT_TRUE(img16.TakesDepth(15));
    EXPECT_FALSE(img16.TakesDepth(24));
}

TEST(DibImageCreate, DefaultTables)
{
    DibImage one, four, eight, few;
    ASSERT_TRUE(one.Create(1, 1, 1));
    ASSERT_TRUE(four.Create(1, 1, 4));
    ASSERT_TRUE(eight.Create(1, 1, 8));
    EXPECT_EQ(one.Colors().Entries(), (std::vector<DibColor>{{0, 0, 0, 0}, {255, 255, 255, 0}}));
    ASSERT_EQ(four.ColorCount(), 16);
    EXPECT_EQ(four.Colors().At(1), (DibColor{128, 0, 0, 0}));
    EXPECT_EQ(four.Colors().At(7), (DibColor{192, 192, 192, 0}));
    EXPECT_EQ(four.Colors().At(8), (DibColor{128, 128, 128, 0}));
    EXPECT_EQ(four.Colors().At(12), (DibColor{0, 0, 255, 0}));
    ASSERT_EQ(eight.ColorCount(), 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(eight.Colors().At(i), (DibColor{uint8_t(i), uint8_t(i), uint8_t(i), 0}));

    ASSERT_TRUE(few.Create(2, 2, 8, 5));
    EXPECT_EQ(few.ColorCount(), 5);
    EXPECT_EQ(few.Colors().At(4), DibColor{}) << "a partial table is not filled";
    EXPECT_EQ(few.HeaderSize(), 40 + 5 * 4);
}

TEST(DibImageCreate, BitFieldsAndSizes)
{
    DibImage i565, i555, plain16, i32;
    ASSERT_TRUE(i565.Create(3, 2, 16, 0, true));
    ASSERT_TRUE(i555.Create(3, 2, 15, 0, true));
    ASSERT_TRUE(plain16.Create(3, 2, 16));
    ASSERT_TRUE(i32.Create(3, 2, 32, 0, true));
    EXPECT_TRUE(i565.UsesBitFields());
    EXPECT_EQ(i565.Header()->masks, (std::array<uint32_t, 4>{0xF800, 0x07E0, 0x001F, 0}));
    EXPECT_EQ(i565.Header()->shifts, (std::array<int32_t, 4>{11, 5, 0, 0}));
    EXPECT_EQ(i565.Header()->losses, (std::array<int32_t, 4>{3, 2, 3, 0}));
    EXPECT_EQ(i555.Header()->masks, (std::array<uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}));
    EXPECT_FALSE(plain16.UsesBitFields());
    EXPECT_EQ(plain16.Header()->masks, i555.Header()->masks) << "plain 16 bits is 5-5-5";
    EXPECT_EQ(i32.Header()->masks, (std::array<uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0}));
    EXPECT_EQ(i565.HeaderSize(), 52);
    EXPECT_EQ(plain16.HeaderSize(), 40);
    EXPECT_EQ(i565.FileSize(), 52 + 2 * 8 + 14);
    EXPECT_FALSE(i565.SameFormat(plain16));
    EXPECT_TRUE(i555.SameFormat(i555));
}

TEST(BitmapInfoBlock, ReadsEveryHeaderVariant)
{
    // 40 bytes with a two-entry table.
    std::vector<uint8_t> b40 = InfoHeader(40, 7, -3, 1, kBiRgb, 2);
    for (uint8_t v : {1, 2, 3, 0, 4, 5, 6, 0})
        b40.push_back(v);
    auto block = BitmapInfoBlock::Read(b40.data(), b40.size());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->header.height, -3);
    EXPECT_EQ(block->byteCount, 48u);
    EXPECT_EQ(block->colors.Entries(), (std::vector<DibColor>{{1, 2, 3, 0}, {4, 5, 6, 0}}));
    DibImage img;
    ASSERT_TRUE(img.CreateFromInfo(*block));
    EXPECT_EQ(img.Size(), (DibSize{7, 3})) << "top-down block, bottom-up image";
    EXPECT_EQ(img.Colors(), block->colors);

    // 40 bytes with bit fields: three masks follow.
    std::vector<uint8_t> bf = InfoHeader(40, 2, 2, 16, kBiBitFields);
    Put32(bf, 0xF800);
    Put32(bf, 0x07E0);
    Put32(bf, 0x001F);
    block = BitmapInfoBlock::Read(bf.data(), bf.size());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->masks, (std::array<uint32_t, 4>{0xF800, 0x07E0, 0x001F, 0}));
    EXPECT_EQ(block->byteCount, 52u);

    // 52, 56, 108 and 124 bytes carry the masks inside; alpha from 56 on.
    const std::array<uint32_t, 4> argb4444{0x0F00, 0x00F0, 0x000F, 0xF000};
    for (uint32_t size : {52u, 56u, 108u, 124u}) {
        std::vector<uint8_t> v = InfoHeader(size, 2, 2, 16, kBiBitFields, 0, argb4444);
        block = BitmapInfoBlock::Read(v.data(), v.size());
        ASSERT_TRUE(block) << size;
        EXPECT_EQ(block->masks[0], 0x0F00u);
        EXPECT_EQ(block->masks[3], size >= 56 ? 0xF000u : 0u) << size;
        EXPECT_EQ(block->byteCount, size);
        ASSERT_TRUE(img.CreateFromInfo(*block));
        EXPECT_EQ(img.Header()->masks, block->masks);
    }

    // 12-byte core header: 16-bit fields and 3-byte palette entries.
    std::vector<uint8_t> core;
    Put32(core, 12);
    Put16(core, 5);
    Put16(core, 4);
    Put16(core, 1);
    Put16(core, 1);
    for (uint8_t v : {10, 20, 30, 40, 50, 60})
        core.push_back(v);
    block = BitmapInfoBlock::Read(core.data(), core.size());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->sourceHeaderSize, 12u);
    EXPECT_EQ(block->header.size, 40u);
    EXPECT_EQ(block->header.width, 5);
    EXPECT_EQ(block->header.height, 4);
    EXPECT_EQ(block->colors.Entries(), (std::vector<DibColor>{{10, 20, 30, 0}, {40, 50, 60, 0}}));
    EXPECT_EQ(block->byteCount, 18u);
}

TEST(BitmapInfoBlock, RefusesMalformedBlocks)
{
    auto refused = [](const std::vector<uint8_t>& v) { return !BitmapInfoBlock::Read(v.data(), v.size()); };
    EXPECT_TRUE(refused(InfoHeader(64, 2, 2, 24, kBiRgb))) << "unknown header size";
    EXPECT_TRUE(refused(InfoHeader(40, 2, 2, 2, kBiRgb))) << "2 bits";
    EXPECT_TRUE(refused(InfoHeader(40, 2, 2, 4, kBiRle8))) << "RLE8 needs 8 bits";
    EXPECT_TRUE(refused(InfoHeader(40, 2, 2, 8, kBiRle4))) << "RLE4 needs 4 bits";
    EXPECT_TRUE(refused(InfoHeader(40, 2, 2, 24, kBiBitFields))) << "bit fields need 16/32";
    EXPECT_TRUE(refused(InfoHeader(40, 2, 2, 24, 4))) << "embedded JPEG";
    EXPECT_TRUE(refused(InfoHeader(40, 0, 2, 24, kBiRgb)));
    EXPECT_TRUE(refused(InfoHeader(40, -2, 2, 24, kBiRgb)));
    EXPECT_TRUE(refused(InfoHeader(40, 2, 0, 24, kBiRgb)));
    EXPECT_TRUE(refused(InfoHeader(40, 2, INT32_MIN, 24, kBiRgb)));
    EXPECT_TRUE(refused(InfoHeader(40, 2, 2, 8, kBiRgb))) << "256-entry table missing";
    EXPECT_TRUE(refused(InfoHeader(40, 2, 2, 16, kBiBitFields))) << "masks missing";
    std::vector<uint8_t> cut = InfoHeader(108, 2, 2, 24, kBiRgb);
    cut.resize(100);
    EXPECT_TRUE(refused(cut));
    EXPECT_TRUE(refused({40, 0, 0}));

    // A colour count beyond 2^bpp is cut to 2^bpp.
    std::vector<uint8_t> many = InfoHeader(40, 2, 2, 1, kBiRgb, 1000);
    many.resize(many.size() + 8, 0xAA);
    auto block = BitmapInfoBlock::Read(many.data(), many.size());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->colors.Count(), 2);

    // Valid blocks that would need too much memory are refused when creating the image.
    std::vector<uint8_t> huge = InfoHeader(40, 100000, 100000, 24, kBiRgb);
    block = BitmapInfoBlock::Read(huge.data(), huge.size());
    ASSERT_TRUE(block);
    DibImage img;
    EXPECT_FALSE(img.CreateFromInfo(*block));
}

TEST(BitmapInfoBlock, RoundTripsThroughBytes)
{
    DibImage img;
    ASSERT_TRUE(img.Create(5, 3, 4, 7));
    ColorTable t = img.Colors();
    t.Set(3, DibColor{9, 8, 7, 0});
    ASSERT_TRUE(img.SetColors(t));
    const BitmapInfoBlock block = BitmapInfoBlock::ForImage(img);
    const std::vector<uint8_t> bytes = block.ToBytes();
    EXPECT_EQ(int64_t(bytes.size()), img.HeaderSize());
    const auto again = BitmapInfoBlock::Read(bytes.data(), bytes.size());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->header.width, 5);
    EXPECT_EQ(again->header.height, 3);
    EXPECT_EQ(again->header.clrUsed, 7u);
    EXPECT_EQ(again->header.sizeImage, uint32_t(img.ImageSize()));
    EXPECT_EQ(again->colors, img.Colors());

    DibImage bf;
    ASSERT_TRUE(bf.Create(2, 2, 16, 0, true));
    const std::vector<uint8_t> bfBytes = BitmapInfoBlock::ForImage(bf).ToBytes();
    EXPECT_EQ(int64_t(bfBytes.size()), bf.HeaderSize());
    const auto bfAgain = BitmapInfoBlock::Read(bfBytes.data(), bfBytes.size());
    ASSERT_TRUE(bfAgain);
    EXPECT_EQ(bfAgain->masks, bf.Header()->masks);
}

TEST(DibImageOwnership, AdoptSwapAndCopy)
{
    DibImage24 a;
    DibImage8 b;
    ASSERT_TRUE(a.Create(3, 2, 24));
    ASSERT_TRUE(b.Create(5, 5, 8));
    EXPECT_FALSE(a.Adopt(b)) << "a 24-bit object cannot hold 8 bits";
    EXPECT_FALSE(b.IsEmpty());
    EXPECT_FALSE(a.Swap(b));
    EXPECT_EQ(a.Width(), 3);

    DibImage any;
    EXPECT_TRUE(any.Adopt(b));
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(any.Bpp(), 8);
    EXPECT_TRUE(any.Swap(b)) << "b is empty and takes 8 bits";
    EXPECT_EQ(b.Bpp(), 8);
    EXPECT_TRUE(any.IsEmpty());

    a.SetColor(2, 1, Bgr(7, 8, 9));
    a.SetSmoothStretch(true);
    DibImage copy;
    ASSERT_TRUE(copy.CopyFrom(a));
    EXPECT_TRUE(copy.SameFormat(a));
    EXPECT_TRUE(copy.SmoothStretch());
    EXPECT_EQ(Colors(copy), Colors(a));
    EXPECT_NE(copy.Bits(), a.Bits());

    std::unique_ptr<DibImage> clone = a.Clone();
    ASSERT_TRUE(clone);
    EXPECT_NE(dynamic_cast<DibImage24*>(clone.get()), nullptr);
    EXPECT_EQ(Colors(*clone), Colors(a));

    DibImage24 moved(std::move(a));
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(moved.Width(), 3);
}

TEST(DibImageOwnership, LendingReturnsTheHeader)
{
    DibImage img;
    ASSERT_TRUE(img.Create(4, 2, 8));
    EXPECT_TRUE(img.SetIndex(3, 1, 77));
    EXPECT_EQ(img.GetIndex(3, 1), 77);
    EXPECT_TRUE(img.IsValid());
    // A failing call still gives the header back.
    EXPECT_FALSE(img.SetIndex(9, 9, 1));
    EXPECT_FALSE(img.Normalize()) << "8 bits cannot be normalised";
    EXPECT_EQ(img.GetIndex(3, 1), 77);
    // A lent call that replaces the header leaves the new one with the owner.
    EXPECT_TRUE(img.RotateClockwise());
    EXPECT_EQ(img.Size(), (DibSize{2, 4}));
    EXPECT_EQ(img.GetIndex(0, 3), 77);

    DibImage empty;
    EXPECT_EQ(empty.GetIndex(0, 0), -1);
    EXPECT_FALSE(empty.Rotate180());
}
