// The JPEG reader over hostile bytes: header-only, full and reduced-scale decodes. The library's
// errors must come back as failures, never as a crash, a print or a read past the input.
#include <cstdint>

#include "../tests/imagefiles/ExifBuilder.h"
#include "../tests/imagefiles/JpegFixture.h"
#include "FuzzSeeds.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/JpegCodec.h"
#include "imagefiles/JpegDecoder.h"

using namespace tessary;
using namespace tessary::test;

namespace {
constexpr int64_t kFuzzPixelBytes = 4 << 20;

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void WriteSeeds()
{
    auto photo = [](int w, int h, int components, bool progressive) {
        JpegRecipe recipe;
        recipe.width = w;
        recipe.height = h;
        recipe.components = components;
        recipe.progressive = progressive;
        recipe.quality = 75;
        return EncodeJpeg(recipe, [&](int x, int y, int c) { return PhotoLikeSample(x, y, c, w, h); });
    };
    fuzz::WriteSeed("baseline", photo(40, 24, 3, false));
    fuzz::WriteSeed("progressive", photo(33, 17, 3, true));
    fuzz::WriteSeed("grey", photo(16, 16, 1, false));
    fuzz::WriteSeed("cmyk", photo(16, 8, 4, false));
    TiffBuilder tiff(false);
    tiff.AddShort(TiffBuilder::kIfd0, 274, 6);
    tiff.SetThumbnail(photo(16, 12, 3, false));
    fuzz::WriteSeed("exif", InsertAfterSoi(photo(64, 48, 3, false), ExifSegment(tiff.Build())));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    JpegCodec codec;
    codec.SetMaxPixelBytes(kFuzzPixelBytes);
    JpegPicture header;
    const bool headerOk = codec.LoadFromMemory(header, data, size, true);
    JpegPicture picture;
    if (codec.LoadFromMemory(picture, data, size)) {
        Check(headerOk);
        Check(picture.Size() == (DibSize{header.record.width, header.record.height}));
    } else {
        Check(picture.IsEmpty());
    }

    MemoryStream stream(data, size);
    JpegDecodeRequest request;
    request.fitBox = {8, 8};
    request.maxPixelBytes = kFuzzPixelBytes;
    JpegImageInfo info;
    DibImage24 image;
    if (DecodeJpeg(stream, request, info, image)) {
        const DibSize full{info.width, info.height};
        bool someScale = false;
        for (int d : {1, 2, 4, 8})
            someScale = someScale || image.Size() == JpegScaledSize(full, d);
        Check(someScale);
    }
    return 0;
}
