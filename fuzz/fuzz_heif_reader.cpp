// The HEIF and AVIF readers over hostile bytes: header-only, primary image and embedded
// thumbnail decodes and the Exif item. libheif's (and its decoders') errors must come back as
// failures, never as a crash, a read past the input or an unbounded allocation.
#include <cstdint>
#include <cstdlib>

#include "../tests/imagefiles/ExifBuilder.h"
#include "../tests/imagefiles/HeifFixture.h"
#include "FuzzDecodeChecks.h"
#include "FuzzSeeds.h"
#include "imagefiles/ExifReader.h"
#include "imagefiles/HeifCodec.h"
#include "imagefiles/HeifDecoder.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"
#include "imagefiles/Picture.h"

using namespace tessary;
using namespace tessary::test;

namespace {
constexpr int64_t kFuzzPixelBytes = 4 << 20;

using fuzz::Check;

uint8_t Sample(int x, int y, int c) { return uint8_t(c == 3 ? x * 20 : x * 7 + y * 11 + c * 53); }

void WriteSeeds()
{
    // Encoding costs time in every run; only the seeding pass keeps the files.
    if (!std::getenv("TESSARY_FUZZ_SEEDS"))
        return;
    TiffBuilder exif(false);
    exif.AddShort(TiffBuilder::kIfd0, 274, 6);
    exif.AddAscii(TiffBuilder::kExif, 36867, "2020:01:02 03:04:05");
    HeifRecipe r;
    r.width = 16;
    r.height = 16;
    r.quality = 50;
    fuzz::WriteSeed("heic", EncodeHeif(r, Sample));
    r.alpha = true;
    r.orientation = 6;
    r.thumbnailSide = 8;
    r.exif = exif.Build();
    fuzz::WriteSeed("heic_alpha_turned_thumb_exif", EncodeHeif(r, Sample));
    HeifRecipe a;
    a.avif = true;
    a.width = 16;
    a.height = 16;
    a.quality = 50;
    fuzz::WriteSeed("avif", EncodeHeif(a, Sample));
    a.grey = true;
    a.thumbnailSide = 8;
    fuzz::WriteSeed("avif_grey_thumb", EncodeHeif(a, Sample));
}

void ReadAs(PhotoFormat format, const uint8_t* data, size_t size)
{
    HeifCodec codec(format);
    codec.SetMaxPixelBytes(kFuzzPixelBytes);
    HeifPicture header(format);
    HeifPicture picture(format);
    const bool headerOk = fuzz::ReadBothWays(codec, data, size, header, picture).header;
    if (headerOk && header.options.hasThumbnail) {
        MemoryStream stream(data, size);
        HeifDecodeRequest request;
        request.format = format;
        request.thumbnail = true;
        request.maxPixelBytes = kFuzzPixelBytes;
        HeifImageInfo info;
        DibImage thumbnail;
        if (DecodeHeif(stream, request, info, thumbnail))
            Check(thumbnail.Width() == info.thumbnailWidth && thumbnail.Height() == info.thumbnailHeight);
    }
    MemoryStream stream(data, size);
    if (const std::optional<std::vector<uint8_t>> exif = ReadHeifExif(stream, format)) {
        if (const std::optional<ExifView> view = ExifView::FromTiffBytes(*exif)) {
            const int orientation = ExifOrientation(*view);
            Check(orientation >= 0 && orientation <= 8);
            (void)ExifDateTaken(*view);
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PhotoFormat format = HeifFamilyFormat(data, size);
    ReadAs(format == PhotoFormat::Avif ? PhotoFormat::Avif : PhotoFormat::Heif, data, size);
    return 0;
}
