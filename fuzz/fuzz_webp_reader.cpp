// The WebP reader over hostile bytes: header-only, full and library-scaled decodes and the
// chunk walk. libwebp's errors must come back as failures, never as a crash, a read past the
// input or an unbounded allocation.
#include <cstdint>
#include <cstdlib>

#include "../tests/imagefiles/WebpFixture.h"
#include "FuzzDecodeChecks.h"
#include "FuzzSeeds.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/Picture.h"
#include "imagefiles/WebpCodec.h"
#include "imagefiles/WebpDecoder.h"

using namespace tessary;
using namespace tessary::test;

namespace {
constexpr int64_t kFuzzPixelBytes = 4 << 20;

using fuzz::Check;

uint8_t Sample(int x, int y, int c) { return uint8_t(c == 3 ? x * 40 : x * 17 + y * 29 + c * 53); }

void WriteSeeds()
{
    // Encoding costs time in every run; only the seeding pass keeps the files.
    if (!std::getenv("TESSARY_FUZZ_SEEDS"))
        return;
    WebpRecipe r;
    r.width = 12;
    r.height = 10;
    fuzz::WriteSeed("lossy", EncodeWebp(r, Sample));
    r.alpha = true;
    fuzz::WriteSeed("lossy_alpha", EncodeWebp(r, Sample));
    r.lossless = true;
    r.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
    fuzz::WriteSeed("lossless_alpha_exif", EncodeWebp(r, Sample));
    fuzz::WriteSeed("animated", EncodeAnimatedWebp(8, 6, 2, Sample));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WebpCodec codec;
    codec.SetMaxPixelBytes(kFuzzPixelBytes);
    WebpPicture header;
    WebpPicture picture;
    if (fuzz::ReadBothWays(codec, data, size, header, picture).full) {
        // The reduced decode gives the size asked for a still picture.
        MemoryStream stream(data, size);
        WebpImageInfo info;
        DibImage scaled;
        const DibSize half{(picture.Size().width + 1) / 2, (picture.Size().height + 1) / 2};
        if (DecodeWebp(stream, false, half, kFuzzPixelBytes, info, scaled) && !info.animated)
            Check(scaled.Size() == half);
    }
    MemoryStream stream(data, size);
    const std::optional<std::vector<uint8_t>> exif = ReadWebpChunk(stream, "EXIF", 1u << 16);
    if (exif)
        Check(exif->size() <= size);
    return 0;
}
