// GIF files written by giflib itself, read by the program's codec: the first frame as giflib's
// own full read shows it, interlaced rows in place, transparency and uncovered screen as
// alpha, and damaged files refused.
#include <gtest/gtest.h>

#include "FormatTestSupport.h"
#include "GifFixture.h"
#include "imagefiles/GifCodec.h"
#include "imaging/DibDepths.h"

using namespace tessary;
using namespace tessary::test;

namespace {
class GifFiles : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
};

GifFrame Full(int w, int h, bool interlaced, int transparent, int shift = 0)
{
    GifFrame f;
    f.width = w;
    f.height = h;
    f.interlaced = interlaced;
    f.transparent = transparent;
    f.index = [=](int x, int y) { return (x / 3 + y / 2 + shift) % 16; };
    return f;
}
} // namespace

TEST_F(GifFiles, TheFirstFrameDecodesAsGiflibReadsIt)
{
    struct Case {
        const char* name;
        bool interlaced;
        int transparent;
        int frames;
    };
    for (const Case c : {Case{"plain", false, -1, 1}, Case{"interlaced", true, -1, 1},
                         Case{"transparent", false, 5, 1}, Case{"animated", true, 3, 3}}) {
        SCOPED_TRACE(c.name);
        GifRecipe r;
        for (int f = 0; f < c.frames; ++f)
            r.frames.push_back(Full(40, 30, c.interlaced, c.transparent, f * 5));
        const std::vector<uint8_t> bytes = EncodeGif(r);
        ASSERT_FALSE(bytes.empty());
        const QString path = WriteTemp(m_dir, QString::fromLatin1(c.name) + QStringLiteral(".gif"), bytes);
        const std::unique_ptr<Picture> picture = LoadPicture(path);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Format(), PhotoFormat::Gif);
        EXPECT_EQ(picture->Size(), (DibSize{40, 30}));
        EXPECT_EQ(picture->HasAlpha(), c.transparent >= 0);
        EXPECT_EQ(static_cast<const GifPicture&>(*picture).options.interlaced, c.interlaced);
        EXPECT_EQ(MaxDifference(PicturePixels(*picture), ReferenceGif(bytes)), 0);
        EXPECT_EQ(LoadHeader(path), (std::optional<DibSize>{DibSize{40, 30}}));
    }
}

TEST_F(GifFiles, ScreenTheFirstFrameLeavesUncoveredIsTransparent)
{
    GifRecipe r;
    GifFrame f = Full(10, 8, false, -1);
    f.left = 25;
    f.top = 18;
    f.width = 20; // runs past the screen's right edge: clipped
    r.frames.push_back(f);
    const std::vector<uint8_t> bytes = EncodeGif(r);
    ASSERT_FALSE(bytes.empty());
    const QString path = WriteTemp(m_dir, QStringLiteral("corner.gif"), bytes);
    const std::unique_ptr<Picture> picture = LoadPicture(path);
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(picture->HasAlpha());
    const RgbaPixels ours = PicturePixels(*picture);
    EXPECT_EQ(MaxDifference(ours, ReferenceGif(bytes)), 0);
    EXPECT_EQ(ours.At(0, 0)[3], 0);
    EXPECT_EQ(ours.At(25, 18)[3], 255);
    EXPECT_EQ(ours.At(39, 25)[3], 255);
    // Flattened on white, as every thumbnail is.
    DibImage24 thumb;
    ASSERT_TRUE(LoadImageFitted(thumb, path, {40, 40}));
    const RgbaPixels flat = FromDib(thumb);
    EXPECT_EQ(flat.At(0, 0)[0] + flat.At(0, 0)[1] + flat.At(0, 0)[2], 3 * 255);
}

TEST_F(GifFiles, DamagedFilesAreRefused)
{
    GifRecipe r;
    r.frames.push_back(Full(40, 30, true, 2));
    const std::vector<uint8_t> bytes = EncodeGif(r);
    GifCodec codec;
    for (size_t n = 0; n + 1 < bytes.size(); n += 3) {
        GifPicture picture;
        const std::vector<uint8_t> cut = Cut(bytes, n);
        EXPECT_FALSE(codec.LoadFromMemory(picture, cut.data(), cut.size())) << "cut at " << n;
        EXPECT_TRUE(picture.IsEmpty());
    }
    // No image at all; a screen larger than the pixel limit allows.
    GifRecipe empty;
    const std::vector<uint8_t> none = EncodeGif(empty);
    ASSERT_FALSE(none.empty());
    GifPicture picture;
    EXPECT_FALSE(codec.LoadFromMemory(picture, none.data(), none.size()));
    EXPECT_TRUE(codec.LoadFromMemory(picture, none.data(), none.size(), true)) << "its screen still reads";
    codec.SetMaxPixelBytes(1000);
    EXPECT_FALSE(codec.LoadFromMemory(picture, bytes.data(), bytes.size()));
    EXPECT_EQ(LoadPicture(WriteTemp(m_dir, QStringLiteral("fake.gif"), {'B', 'M', 0, 0})), nullptr);
}
