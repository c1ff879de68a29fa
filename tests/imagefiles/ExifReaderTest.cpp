#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "ExifBuilder.h"
#include "imagefiles/ExifReader.h"

using namespace tessary;
using namespace tessary::test;

namespace {
// The record bytes of an APP1 Exif segment (length bytes onwards) around a TIFF block.
Bytes RecordOf(const Bytes& tiff)
{
    const Bytes segment = ExifSegment(tiff);
    return Bytes(segment.begin() + 2, segment.end());
}

// Writes a 32-bit value into a TIFF block in its byte order.
void Patch32(Bytes& tiff, uint32_t at, uint32_t value, const TiffBuilder& b)
{
    const Bytes v = b.U32(value);
    std::copy(v.begin(), v.end(), tiff.begin() + at);
}

void Patch16(Bytes& tiff, uint32_t at, uint16_t value, const TiffBuilder& b)
{
    const Bytes v = b.U16(value);
    std::copy(v.begin(), v.end(), tiff.begin() + at);
}

class EveryType : public ::testing::TestWithParam<bool> {};
} // namespace

TEST(ExifView, RecognisesOnlyExifWithAByteOrderMark)
{
    TiffBuilder little(false), big(true);
    const Bytes ii = RecordOf(little.Build()), mm = RecordOf(big.Build());
    ASSERT_TRUE(ExifView::FromRecordBytes(ii).has_value());
    EXPECT_EQ(ExifView::FromRecordBytes(ii)->ByteOrder(), ExifByteOrder::kLittleEndian);
    EXPECT_EQ(ExifView::FromRecordBytes(mm)->ByteOrder(), ExifByteOrder::kBigEndian);
    EXPECT_EQ(ExifView::FromRecordBytes(ii)->Tiff().size(), ii.size() - 8);

    Bytes mixed = ii;
    mixed[9] = 'M';
    EXPECT_FALSE(ExifView::FromRecordBytes(mixed).has_value());
    Bytes badSignature = ii;
    badSignature[5] = 'X';
    EXPECT_FALSE(ExifView::FromRecordBytes(badSignature).has_value());
    for (size_t n = 0; n < 10; ++n)
        EXPECT_FALSE(ExifView::FromRecordBytes(std::span<const uint8_t>(ii.data(), n)).has_value()) << n;
    // A bare byte-order mark is a view with nothing in it.
    const auto bare = ExifView::FromRecordBytes(std::span<const uint8_t>(ii.data(), 10));
    ASSERT_TRUE(bare.has_value());
    EXPECT_FALSE(bare->IfdOffset(ExifIfd::kIfd0).has_value());
}

TEST_P(EveryType, ReadsEveryValueTypeInBothByteOrders)
{
    TiffBuilder b(GetParam());
    using T = TiffBuilder;
    b.AddRaw(T::kIfd0, 1, kExifByte, 3, {200, 7, 9});
    b.AddAscii(T::kIfd0, 2, "Orvanne");
    b.AddRaw(T::kIfd0, 3, kExifShort, 2, [&] { Bytes v = b.U16(60000); Append(v, b.U16(2)); return v; }());
    b.AddRaw(T::kIfd0, 33, kExifShort, 3,
             [&] { Bytes v = b.U16(1); Append(v, b.U16(2)); Append(v, b.U16(3)); return v; }());
    b.AddRaw(T::kIfd0, 4, kExifLong, 1, b.U32(4000000000u));
    b.AddRaw(T::kIfd0, 5, kExifRational, 2,
             [&] { Bytes v = b.U32(3); Append(v, b.U32(2)); Append(v, b.U32(3000000000u)); Append(v, b.U32(1)); return v; }());
    b.AddRaw(T::kIfd0, 6, kExifSByte, 1, {uint8_t(-5)});
    b.AddRaw(T::kIfd0, 7, kExifUndefined, 4, {'0', '2', '3', '0'});
    b.AddRaw(T::kIfd0, 8, kExifSShort, 1, b.U16(uint16_t(-30000)));
    b.AddRaw(T::kIfd0, 9, kExifSLong, 1, b.U32(uint32_t(-2000000000)));
    b.AddRaw(T::kIfd0, 10, kExifSRational, 2,
             [&] { Bytes v = b.U32(uint32_t(-7)); Append(v, b.U32(2)); Append(v, b.U32(5)); Append(v, b.U32(0)); return v; }());
    b.AddRaw(T::kIfd0, 11, kExifFloat, 1, b.U32(std::bit_cast<uint32_t>(1.5f)));
    b.AddRaw(T::kIfd0, 12, kExifDouble, 1, b.U64(std::bit_cast<uint64_t>(-2.25)));
    const Bytes record = RecordOf(b.Build());
    const auto view = ExifView::FromRecordBytes(record);
    ASSERT_TRUE(view.has_value());

    auto number = [&](uint16_t tag, uint32_t index = 0) -> std::optional<double> {
        const auto e = view->Find(ExifIfd::kIfd0, tag);
        return e ? view->Number(*e, index) : std::nullopt;
    };
    EXPECT_EQ(number(1), 200.0);
    EXPECT_EQ(number(1, 2), 9.0);
    EXPECT_FALSE(number(1, 3).has_value()) << "past the count";
    EXPECT_EQ(number(2), 0.0) << "ASCII has no numeric value";
    EXPECT_EQ(number(3), 60000.0);
    EXPECT_EQ(number(3, 1), 2.0);
    EXPECT_EQ(number(33, 2), 3.0) << "three shorts lie outside the entry";
    EXPECT_EQ(number(4), 4000000000.0);
    EXPECT_EQ(number(5), 1.5);
    EXPECT_EQ(number(5, 1), 3000000000.0) << "unsigned rationals stay unsigned";
    EXPECT_EQ(number(6), -5.0);
    EXPECT_EQ(number(7), 0.0);
    EXPECT_EQ(number(8), -30000.0);
    EXPECT_EQ(number(9), -2000000000.0);
    EXPECT_EQ(number(10), -3.5);
    EXPECT_EQ(number(10, 1), 0.0) << "zero denominator";
    EXPECT_EQ(number(11), 1.5);
    EXPECT_EQ(number(12), -2.25);

    const auto ascii = view->Find(ExifIfd::kIfd0, 2);
    ASSERT_TRUE(ascii.has_value());
    EXPECT_EQ(view->Text(*ascii), std::string("Orvanne"));
    EXPECT_EQ(ascii->count, 8u);
    const auto undefined = view->Find(ExifIfd::kIfd0, 7);
    EXPECT_EQ(view->Text(*undefined), std::string("0230"));
    EXPECT_EQ(view->Bytes(*undefined).size(), 4u);
    EXPECT_FALSE(view->Text(*view->Find(ExifIfd::kIfd0, 3)).has_value()) << "a number is no text";

    auto integer = [&](uint16_t tag) {
        const auto e = view->Find(ExifIfd::kIfd0, tag);
        return view->Integer(*e);
    };
    EXPECT_EQ(integer(4), 4000000000);
    EXPECT_EQ(integer(9), -2000000000);
    EXPECT_EQ(integer(6), -5);
    EXPECT_FALSE(integer(5).has_value()) << "a rational is no integer";
    EXPECT_FALSE(integer(2).has_value());
    EXPECT_FALSE(integer(11).has_value());
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, EveryType, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "BigEndian" : "LittleEndian"; });

TEST(ExifView, FindsTheThreeIfds)
{
    for (bool big : {false, true}) {
        TiffBuilder b(big);
        b.AddShort(TiffBuilder::kIfd0, 274, 6);
        b.AddShort(TiffBuilder::kIfd0, 274, 3); // a second entry with the same tag
        b.AddAscii(TiffBuilder::kExif, 36867, "2009:07:14 18:30:05");
        b.AddShort(TiffBuilder::kIfd1, 274, 8);
        b.SetThumbnail(Bytes(10, 0xAB));
        const Bytes record = RecordOf(b.Build());
        const auto view = ExifView::FromRecordBytes(record);
        ASSERT_TRUE(view.has_value());
        EXPECT_EQ(view->IfdOffset(ExifIfd::kIfd0), b.IfdOffset(TiffBuilder::kIfd0));
        EXPECT_EQ(view->IfdOffset(ExifIfd::kExifSubIfd), b.IfdOffset(TiffBuilder::kExif));
        EXPECT_EQ(view->IfdOffset(ExifIfd::kIfd1), b.IfdOffset(TiffBuilder::kIfd1));
        EXPECT_EQ(view->Number(*view->Find(ExifIfd::kIfd0, 274)), 6.0) << "the first entry wins";
        EXPECT_EQ(view->Number(*view->Find(ExifIfd::kIfd1, 274)), 8.0);
        EXPECT_FALSE(view->Find(ExifIfd::kExifSubIfd, 274).has_value());
        EXPECT_FALSE(view->Find(ExifIfd::kIfd0, 36867).has_value());
        const auto offset = view->Find(ExifIfd::kIfd1, 513);
        ASSERT_TRUE(offset.has_value());
        EXPECT_EQ(view->Integer(*offset), b.ThumbnailOffset());
    }
}

TEST(ExifView, MissingIfdsAreAbsent)
{
    TiffBuilder b(false);
    b.AddShort(TiffBuilder::kIfd0, 274, 1);
    const Bytes record = RecordOf(b.Build());
    const auto view = ExifView::FromRecordBytes(record);
    EXPECT_TRUE(view->IfdOffset(ExifIfd::kIfd0).has_value());
    EXPECT_FALSE(view->IfdOffset(ExifIfd::kIfd1).has_value()) << "next-IFD link of 0";
    EXPECT_FALSE(view->IfdOffset(ExifIfd::kExifSubIfd).has_value());
    EXPECT_FALSE(view->Find(ExifIfd::kIfd1, 513).has_value());
}

TEST(ExifView, InvalidTypesAreAbsent)
{
    for (uint16_t type : {uint16_t(0), uint16_t(13), uint16_t(0xFFFF)}) {
        TiffBuilder b(true);
        b.AddRaw(TiffBuilder::kIfd0, 274, type, 1, b.U16(1));
        const Bytes record = RecordOf(b.Build());
        EXPECT_FALSE(ExifView::FromRecordBytes(record)->Find(ExifIfd::kIfd0, 274).has_value()) << type;
    }
}

TEST(ExifView, OffsetsOutsideTheBlockMakeTheItemAbsent)
{
    for (bool big : {false, true}) {
        TiffBuilder b(big);
        b.AddAscii(TiffBuilder::kIfd0, 270, "a description"); // entry 0, value outside the entry
        b.AddShort(TiffBuilder::kIfd0, 274, 6);               // entry 1
        b.AddAscii(TiffBuilder::kExif, 36867, "2009:07:14 18:30:05");
        b.SetThumbnail(Bytes(10, 0xAB));
        const Bytes good = b.Build();
        const uint32_t size = uint32_t(good.size());
        auto viewOf = [](const Bytes& tiff, auto check) {
            const Bytes record = RecordOf(tiff);
            const auto view = ExifView::FromRecordBytes(record);
            ASSERT_TRUE(view.has_value());
            check(*view);
        };

        // A value offset past the end, straddling the end, or wrapping around 32 bits.
        for (uint32_t bad : {size, size - 5, 0xFFFFFFF0u}) {
            Bytes t = good;
            Patch32(t, b.EntryOffset(TiffBuilder::kIfd0, 0) + 8, bad, b);
            viewOf(t, [&](const ExifView& v) {
                EXPECT_FALSE(v.Find(ExifIfd::kIfd0, 270).has_value()) << bad;
                EXPECT_TRUE(v.Find(ExifIfd::kIfd0, 274).has_value()) << "other entries stay";
            });
        }
        // A count whose byte size overflows 32 bits.
        {
            Bytes t = good;
            Patch16(t, b.EntryOffset(TiffBuilder::kIfd0, 0) + 2, kExifDouble, b);
            Patch32(t, b.EntryOffset(TiffBuilder::kIfd0, 0) + 4, 0x80000000u, b);
            viewOf(t, [](const ExifView& v) { EXPECT_FALSE(v.Find(ExifIfd::kIfd0, 270).has_value()); });
        }
        // IFD0 itself outside the block: nothing at all.
        {
            Bytes t = good;
            Patch32(t, 4, size, b);
            viewOf(t, [](const ExifView& v) {
                EXPECT_FALSE(v.IfdOffset(ExifIfd::kIfd0).has_value());
                EXPECT_FALSE(v.IfdOffset(ExifIfd::kIfd1).has_value());
                EXPECT_FALSE(v.Find(ExifIfd::kExifSubIfd, 36867).has_value());
            });
        }
        // An entry count reaching past the block: the entries inside are still found, the
        // next-IFD link is not.
        {
            Bytes t = good;
            Patch16(t, b.IfdOffset(TiffBuilder::kIfd0), 0xFFFF, b);
            viewOf(t, [](const ExifView& v) {
                EXPECT_TRUE(v.Find(ExifIfd::kIfd0, 274).has_value());
                EXPECT_FALSE(v.Find(ExifIfd::kIfd0, 999).has_value());
                EXPECT_FALSE(v.IfdOffset(ExifIfd::kIfd1).has_value());
            });
        }
        // IFD1 link and Exif pointer pointing outside.
        {
            Bytes t = good;
            const uint32_t link = b.IfdOffset(TiffBuilder::kIfd0) + 2 + 12 * 3; // 270, 274, 34665
            Patch32(t, link, size - 1, b);
            viewOf(t, [](const ExifView& v) { EXPECT_FALSE(v.IfdOffset(ExifIfd::kIfd1).has_value()); });
            Bytes u = good;
            Patch32(u, b.EntryOffset(TiffBuilder::kIfd0, 2) + 8, size + 100, b);
            viewOf(u, [](const ExifView& v) {
                EXPECT_FALSE(v.IfdOffset(ExifIfd::kExifSubIfd).has_value());
                EXPECT_TRUE(v.IfdOffset(ExifIfd::kIfd1).has_value());
            });
        }
        // An Exif pointer that is not an integer is no pointer.
        {
            Bytes t = good;
            Patch16(t, b.EntryOffset(TiffBuilder::kIfd0, 2) + 2, kExifAscii, b);
            viewOf(t, [](const ExifView& v) { EXPECT_FALSE(v.IfdOffset(ExifIfd::kExifSubIfd).has_value()); });
        }
        // Every truncation of the block: whatever is still found has its full value.
        for (size_t n = 0; n <= good.size(); ++n) {
            const Bytes record = RecordOf(Bytes(good.begin(), good.begin() + int64_t(n)));
            const auto v = ExifView::FromRecordBytes(record);
            if (!v)
                continue;
            if (const auto e = v->Find(ExifIfd::kExifSubIfd, 36867)) {
                EXPECT_EQ(v->Text(*e), std::string("2009:07:14 18:30:05")) << n;
            }
            if (const auto e = v->Find(ExifIfd::kIfd0, 270)) {
                EXPECT_EQ(v->Text(*e), std::string("a description")) << n;
            }
        }
        const Bytes record = RecordOf(good);
        const auto v = ExifView::FromRecordBytes(record);
        EXPECT_TRUE(v->Range(size - 10, 10).has_value());
        EXPECT_FALSE(v->Range(size - 10, 11).has_value());
        EXPECT_FALSE(v->Range(0xFFFFFFFFull, 2).has_value());
    }
}
