// The TIFF reader over hostile bytes: header-only and full reads, the band-by-band rows of the
// thumbnail path and the metadata read. libtiff's errors must come back as failures, never as
// a crash, a print, a read past the input or an unbounded allocation.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "../tests/imagefiles/TiffFixture.h"
#include "FuzzDecodeChecks.h"
#include "FuzzSeeds.h"
#include "imagefiles/DecodedRows.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/Picture.h"
#include "imagefiles/TiffCodec.h"
#include "imagefiles/TiffDecoder.h"

using namespace tessary;
using namespace tessary::test;

namespace {
constexpr int64_t kFuzzPixelBytes = 4 << 20;

using fuzz::Check;

uint8_t Sample(int x, int y, int c) { return uint8_t(x * 17 + y * 29 + c * 53); }

void WriteSeeds()
{
    // Encoding costs time in every run; only the seeding pass keeps the files.
    if (!std::getenv("TESSARY_FUZZ_SEEDS"))
        return;
    auto seed = [](const char* name, TiffRecipe r) { fuzz::WriteSeed(name, EncodeTiff(r, Sample)); };
    TiffRecipe r;
    r.width = 9;
    r.height = 7;
    r.rowsPerStrip = 3;
    seed("rgb8_lzw", r);
    TiffRecipe grey16 = r;
    grey16.grey = true;
    grey16.bits = 16;
    grey16.compression = COMPRESSION_ADOBE_DEFLATE;
    seed("grey16_deflate", grey16);
    TiffRecipe alpha = r;
    alpha.alpha = true;
    alpha.tiled = true;
    alpha.width = 20;
    alpha.height = 18;
    seed("rgba8_tiled", alpha);
    TiffRecipe pages = r;
    pages.pages = 2;
    pages.orientation = 6;
    pages.compression = COMPRESSION_PACKBITS;
    seed("pages_packbits", pages);
    TiffRecipe exif = r;
    exif.compression = COMPRESSION_NONE;
    exif.dateTaken = "2001:02:03 04:05:06";
    seed("exif_none", exif);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TiffCodec codec;
    codec.SetMaxPixelBytes(kFuzzPixelBytes);
    TiffPicture header;
    TiffPicture picture;
    fuzz::ReadBothWays(codec, data, size, header, picture);

    // The thumbnail path's rows: as many as the picture has, each the flattened full decode's.
    {
        MemoryStream stream(data, size);
        DibImage24 flat;
        const bool whole = !picture.IsEmpty() && GetImage(picture, flat);
        int rows = 0;
        int width = 0;
        bool same = true;
        const bool read = ReadTiffRows(
            stream, kFuzzPixelBytes,
            [&](const TiffImageInfo& info) {
                width = info.width;
                return true;
            },
            [&](const uint8_t* row) {
                if (whole && rows < flat.Height())
                    same = same && std::memcmp(row, flat.Row(rows), size_t(width) * 3) == 0;
                ++rows;
                return true;
            });
        if (read && whole)
            Check(rows == flat.Height() && width == flat.Width() && same);
    }
    MemoryStream stream(data, size);
    const std::optional<TiffMetadata> metadata = ReadTiffMetadata(stream);
    if (metadata)
        Check(metadata->orientation >= 1 && metadata->orientation <= 8);
    return 0;
}
