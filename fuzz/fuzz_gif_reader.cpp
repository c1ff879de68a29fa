// The GIF reader over hostile bytes: header-only and first-frame reads. giflib's errors must
// come back as failures, never as a crash, a read past the input or an unbounded allocation.
#include <cstdint>
#include <cstdlib>

#include "../tests/imagefiles/GifFixture.h"
#include "FuzzDecodeChecks.h"
#include "FuzzSeeds.h"
#include "imagefiles/GifCodec.h"
#include "imagefiles/Picture.h"

using namespace tessary;
using namespace tessary::test;

namespace {
constexpr int64_t kFuzzPixelBytes = 4 << 20;

using fuzz::Check;

GifFrame Frame(int left, int top, int w, int h, bool interlaced, int transparent)
{
    GifFrame f;
    f.left = left;
    f.top = top;
    f.width = w;
    f.height = h;
    f.interlaced = interlaced;
    f.transparent = transparent;
    f.index = [](int x, int y) { return (x + 2 * y) % 16; };
    return f;
}

void WriteSeeds()
{
    // Encoding costs time in every run; only the seeding pass keeps the files.
    if (!std::getenv("TESSARY_FUZZ_SEEDS"))
        return;
    GifRecipe plain;
    plain.screenWidth = 12;
    plain.screenHeight = 9;
    plain.frames = {Frame(0, 0, 12, 9, false, -1)};
    fuzz::WriteSeed("plain", EncodeGif(plain));
    GifRecipe inset = plain;
    inset.frames = {Frame(3, 2, 20, 5, true, 4)};
    fuzz::WriteSeed("inset_interlaced", EncodeGif(inset));
    GifRecipe animated = plain;
    animated.frames = {Frame(0, 0, 12, 9, false, 1), Frame(1, 1, 4, 4, false, -1), Frame(0, 0, 12, 9, true, -1)};
    fuzz::WriteSeed("animated", EncodeGif(animated));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    GifCodec codec;
    codec.SetMaxPixelBytes(kFuzzPixelBytes);
    GifPicture header;
    GifPicture picture;
    fuzz::ReadBothWays(codec, data, size, header, picture);
    return 0;
}
