// The picture sizes HEIF and AVIF files declare to their decoders: read from real files as the
// encoders wrote them, and from parameter sets rewritten to declare a huge picture, in the
// container's properties and inside the coded data, which the reader must refuse to decode.
#include <gtest/gtest.h>

#include <cstring>

#include "FormatTestSupport.h"
#include "HeifFixture.h"
#include "imagefiles/HeifCodec.h"
#include "imagefiles/HeifCodedSizes.h"
#include "imagefiles/ImageStreams.h"

using namespace tessary;
using namespace tessary::test;

namespace {

class BitWriter {
public:
    void Put(uint32_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            if (m_bits % 8 == 0)
                bytes.push_back(0);
            bytes.back() |= uint8_t(((value >> i) & 1u) << (7 - m_bits % 8));
            ++m_bits;
        }
    }
    void PutUe(uint32_t value)
    {
        const uint64_t v = uint64_t(value) + 1;
        int length = 0;
        while ((v >> length) > 1)
            ++length;
        Put(0, length);
        Put(uint32_t(v), length + 1);
    }
    std::vector<uint8_t> bytes;

private:
    int m_bits = 0;
};

// An HEVC sequence parameter set, NAL header included, declaring width x height, padded to
// `size` bytes.
std::vector<uint8_t> HevcSps(uint32_t width, uint32_t height, size_t size)
{
    BitWriter w;
    w.Put(0x4201, 16); // NAL type 33
    w.Put(0, 4);
    w.Put(0, 3); // one sub-layer
    w.Put(1, 1);
    w.Put(0x01, 8); // Main profile
    w.Put(0x60000000, 32);
    for (int i = 0; i < 6; ++i)
        w.Put(i == 0 ? 0x90 : 0x11, 8);
    w.Put(93, 8);
    w.PutUe(0);
    w.PutUe(1); // 4:2:0
    w.PutUe(width);
    w.PutUe(height);
    w.Put(1, 1);
    std::vector<uint8_t> out = w.bytes;
    out.resize(std::max(size, out.size()), 0x80);
    return out;
}

// An AV1 reduced still-picture sequence header payload declaring width x height.
std::vector<uint8_t> Av1SequenceHeader(uint32_t width, uint32_t height, size_t size)
{
    BitWriter w;
    w.Put(0, 3);
    w.Put(1, 1);
    w.Put(1, 1); // reduced still picture header
    w.Put(8, 5);
    w.Put(15, 4);
    w.Put(15, 4);
    w.Put(width - 1, 16);
    w.Put(height - 1, 16);
    std::vector<uint8_t> out = w.bytes;
    out.resize(std::max(size, out.size()), 0);
    return out;
}

size_t FindType(const std::vector<uint8_t>& bytes, const char* type, size_t from = 0)
{
    for (size_t i = std::max<size_t>(from, 4); i + 4 <= bytes.size(); ++i) {
        if (std::memcmp(bytes.data() + i, type, 4) == 0)
            return i;
    }
    return std::string::npos;
}

std::optional<CodedPictureSize> Largest(const std::vector<uint8_t>& bytes)
{
    MemoryStream stream(bytes.data(), bytes.size());
    return LargestCodedPicture(stream);
}

// Replaces the HEVC parameter set in "hvcC" by one declaring a picture of side x side.
bool PatchHvcC(std::vector<uint8_t>& bytes, uint32_t side)
{
    const size_t type = FindType(bytes, "hvcC");
    if (type == std::string::npos)
        return false;
    size_t at = type + 4 + 22;
    const int arrays = bytes[at++];
    for (int i = 0; i < arrays; ++i) {
        const int nalType = bytes[at] & 0x3f;
        const int count = bytes[at + 1] << 8 | bytes[at + 2];
        at += 3;
        for (int j = 0; j < count; ++j) {
            const size_t length = size_t(bytes[at] << 8 | bytes[at + 1]);
            at += 2;
            if (nalType == 33) {
                const std::vector<uint8_t> sps = HevcSps(side, side, length);
                if (sps.size() != length)
                    return false;
                std::copy(sps.begin(), sps.end(), bytes.begin() + long(at));
                return true;
            }
            at += length;
        }
    }
    return false;
}

class HeifCodedSizes : public ::testing::Test {
protected:
    static std::vector<uint8_t> Encode(bool avif, int thumbnailSide = 0)
    {
        HeifRecipe r;
        r.avif = avif;
        r.width = 64;
        r.height = 48;
        r.thumbnailSide = thumbnailSide;
        return EncodeHeif(r, SmoothSample);
    }

    static void ExpectRefused(const std::vector<uint8_t>& bytes, PhotoFormat format)
    {
        HeifCodec codec(format);
        HeifPicture picture(format);
        EXPECT_FALSE(codec.LoadFromMemory(picture, bytes.data(), bytes.size()));
        EXPECT_TRUE(picture.IsEmpty());
        EXPECT_TRUE(codec.LoadFromMemory(picture, bytes.data(), bytes.size(), true)) << "the header still reads";
    }
};

} // namespace

TEST_F(HeifCodedSizes, RealFilesDeclareTheirPictureSize)
{
    for (const bool avif : {false, true}) {
        const std::vector<uint8_t> bytes = Encode(avif, 16);
        ASSERT_FALSE(bytes.empty()) << avif;
        const std::optional<CodedPictureSize> sizes = Largest(bytes);
        ASSERT_TRUE(sizes) << avif;
        // The HEVC encoder codes whole blocks and crops them away.
        EXPECT_EQ(sizes->width, 64) << avif;
        EXPECT_GE(sizes->height, 48) << avif;
        EXPECT_LE(sizes->height, avif ? 48 : 64) << avif;
    }
    // The coded picture is what the decoder allocates: a limit the cropped 64 x 48 picture
    // fits but the coded 64 x 64 one does not refuses the file.
    const std::vector<uint8_t> hevc = Encode(false);
    HeifCodec codec(PhotoFormat::Heif);
    HeifPicture picture(PhotoFormat::Heif);
    codec.SetMaxPixelBytes(12000);
    EXPECT_FALSE(codec.LoadFromMemory(picture, hevc.data(), hevc.size()));
    codec.SetMaxPixelBytes(20000);
    EXPECT_TRUE(codec.LoadFromMemory(picture, hevc.data(), hevc.size()));
    // The stream is left where it was.
    const std::vector<uint8_t> bytes = Encode(false);
    MemoryStream stream(bytes.data(), bytes.size());
    ASSERT_TRUE(LargestCodedPicture(stream));
    EXPECT_EQ(stream.Tell(), 0);
}

TEST_F(HeifCodedSizes, AHugePictureInTheSequenceHeadersIsRefusedBeforeDecoding)
{
    std::vector<uint8_t> hevc = Encode(false);
    ASSERT_TRUE(PatchHvcC(hevc, 40000));
    ASSERT_TRUE(Largest(hevc));
    EXPECT_EQ(Largest(hevc)->width, 40000);
    ExpectRefused(hevc, PhotoFormat::Heif);

    // The AV1 encoder leaves "av1C" without units; the item's data opens with its sequence
    // header.
    std::vector<uint8_t> av1 = Encode(true);
    size_t obu = FindType(av1, "mdat");
    ASSERT_NE(obu, std::string::npos);
    obu += 4;
    while (obu + 2 < av1.size() && ((av1[obu] >> 3) & 15) != 1) {
        ASSERT_TRUE(av1[obu] & 2) << "units with sizes";
        ASSERT_LT(av1[obu + 1], 0x80);
        obu += 2 + av1[obu + 1];
    }
    ASSERT_LT(obu + 2, av1.size());
    ASSERT_LT(av1[obu + 1], 0x80);
    const size_t payload = av1[obu + 1];
    const std::vector<uint8_t> header = Av1SequenceHeader(40000, 30000, payload);
    ASSERT_EQ(header.size(), payload);
    std::copy(header.begin(), header.end(), av1.begin() + long(obu + 2));
    ASSERT_TRUE(Largest(av1));
    EXPECT_EQ(Largest(av1)->width, 40000);
    EXPECT_EQ(Largest(av1)->height, 30000);
    ExpectRefused(av1, PhotoFormat::Avif);
}

TEST_F(HeifCodedSizes, ParameterSetsInsideTheCodedDataCount)
{
    // The only item's data opens the media box: its first unit becomes a parameter set.
    std::vector<uint8_t> bytes = Encode(false);
    const size_t mdat = FindType(bytes, "mdat");
    ASSERT_NE(mdat, std::string::npos);
    const size_t at = mdat + 4;
    const size_t length = size_t(bytes[at]) << 24 | size_t(bytes[at + 1]) << 16 | size_t(bytes[at + 2]) << 8 | bytes[at + 3];
    const std::vector<uint8_t> sps = HevcSps(50000, 20, length);
    ASSERT_EQ(sps.size(), length);
    std::copy(sps.begin(), sps.end(), bytes.begin() + long(at + 4));
    const int64_t height = Largest(Encode(false))->height;
    ASSERT_TRUE(Largest(bytes));
    EXPECT_EQ(Largest(bytes)->width, 50000);
    EXPECT_EQ(Largest(bytes)->height, height) << "the largest of each side";
    ExpectRefused(bytes, PhotoFormat::Heif);
}

TEST_F(HeifCodedSizes, MalformedContainersGiveNothing)
{
    const std::vector<uint8_t> bytes = Encode(false);
    // Every cut that takes part of the metadata box, or of the coded data.
    const size_t meta = FindType(bytes, "meta");
    ASSERT_NE(meta, std::string::npos);
    for (size_t n = 0; n < bytes.size(); n += 7) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(n));
        EXPECT_FALSE(Largest(cut)) << n;
    }
    // An item located past the end of the file.
    std::vector<uint8_t> far = bytes;
    const size_t iloc = FindType(far, "iloc");
    ASSERT_NE(iloc, std::string::npos);
    const size_t mdat = FindType(bytes, "mdat");
    const uint32_t offset = uint32_t(mdat + 4);
    bool moved = false;
    for (size_t i = iloc; i + 4 <= meta + 4 + 4096 && i + 4 <= far.size(); ++i) {
        if ((uint32_t(far[i]) << 24 | uint32_t(far[i + 1]) << 16 | uint32_t(far[i + 2]) << 8 | far[i + 3]) == offset) {
            far[i] = 0x7f;
            moved = true;
            break;
        }
    }
    ASSERT_TRUE(moved);
    EXPECT_FALSE(Largest(far));
}

namespace {

std::vector<uint8_t> Be(uint64_t v, int bytes)
{
    std::vector<uint8_t> out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(i < 8 ? uint8_t(v >> (8 * i)) : 0);
    return out;
}

std::vector<uint8_t> MakeBox(const char* type, std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> body;
    for (const auto& p : parts)
        body.insert(body.end(), p.begin(), p.end());
    std::vector<uint8_t> out = Be(body.size() + 8, 4);
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<uint8_t> Text(const char* s) { return std::vector<uint8_t>(s, s + std::strlen(s)); }

// A container whose only item is a derived image of `type` with `data` in "idat".
std::vector<uint8_t> DerivedImageFile(const char* type, const std::vector<uint8_t>& data)
{
    const std::vector<uint8_t> infe = MakeBox("infe", {{2, 0, 0, 0}, Be(1, 2), Be(0, 2), Text(type), {0}});
    const std::vector<uint8_t> meta = MakeBox(
        "meta", {{0, 0, 0, 0},
                 MakeBox("hdlr", {{0, 0, 0, 0}, Be(0, 4), Text("pict"), Be(0, 12), {0}}),
                 MakeBox("pitm", {{0, 0, 0, 0}, Be(1, 2)}),
                 MakeBox("iinf", {{0, 0, 0, 0}, Be(1, 2), infe}),
                 // Version 1: 4-byte offsets and lengths, the item in "idat".
                 MakeBox("iloc", {{1, 0, 0, 0}, {0x44, 0x00}, Be(1, 2), Be(1, 2), Be(1, 2), Be(0, 2), Be(1, 2),
                                  Be(0, 4), Be(data.size(), 4)}),
                 MakeBox("idat", {data})});
    std::vector<uint8_t> file = MakeBox("ftyp", {Text("heic"), Be(0, 4), Text("mif1heic")});
    file.insert(file.end(), meta.begin(), meta.end());
    return file;
}

} // namespace

TEST_F(HeifCodedSizes, DerivedImagesCountWithTheirOwnOutputSize)
{
    // libheif makes a grid's or an overlay's canvas by these sides, whatever "ispe" says.
    const auto grid16 = Largest(DerivedImageFile("grid", {0, 0, 0, 0, 0x68, 0x65, 0x76, 0x78}));
    ASSERT_TRUE(grid16);
    EXPECT_EQ(grid16->width, 0x6865);
    EXPECT_EQ(grid16->height, 0x7678);
    std::vector<uint8_t> wide = {0, 1, 1, 1};
    for (const auto& side : {Be(65536, 4), Be(131072, 4)})
        wide.insert(wide.end(), side.begin(), side.end());
    const auto grid32 = Largest(DerivedImageFile("grid", wide));
    ASSERT_TRUE(grid32);
    EXPECT_EQ(grid32->width, 65536);
    EXPECT_EQ(grid32->height, 131072);
    std::vector<uint8_t> overlay = {0, 0};
    overlay.resize(10, 0xff); // fill values
    for (const auto& side : {Be(3000, 2), Be(2000, 2)})
        overlay.insert(overlay.end(), side.begin(), side.end());
    const auto canvas = Largest(DerivedImageFile("iovl", overlay));
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->width, 3000);
    EXPECT_EQ(canvas->height, 2000);
    EXPECT_FALSE(Largest(DerivedImageFile("grid", {0, 0, 0, 0, 1}))) << "cut short";
    EXPECT_FALSE(Largest(DerivedImageFile("grid", {}))) << "no data";
}
