// The BMP reader over hostile bytes, as files (header-only and full reads) and as packed bitmap
// resources. Whatever it accepts must be a consistent picture that can be written back.
#include <cstdint>
#include <cstring>
#include <cstdlib>

#include "../tests/imagefiles/BmpFixture.h"
#include "FuzzSeeds.h"
#include "imagefiles/BmpCodec.h"
#include "imagefiles/BmpReader.h"
#include "imagefiles/BmpWriter.h"
#include "imagefiles/Picture.h"
#include "imagefiles/ImageStreams.h"

using namespace tessary;
using namespace tessary::test;

namespace {
// Decoded rows of one input stay small, so that each run is quick.
constexpr int64_t kFuzzPixelBytes = 4 << 20;

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void WriteSeeds()
{
    const std::vector<std::array<uint8_t, 3>> palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    BmpSpec s;
    s.width = 5;
    s.height = 3;
    s.pixels = StoredRows(5, 3, 24, false, [](int x, int y) { return uint32_t(x * 50 + y * 0x5000); });
    fuzz::WriteSeed("rgb24", BuildBmp(s));
    s.height = -3;
    fuzz::WriteSeed("topdown24", BuildBmp(s));
    s.height = 3;
    s.bpp = 32;
    s.pixels = StoredRows(5, 3, 32, false, [](int x, int) { return uint32_t(x) * 0x30000000u | 0x123456u; });
    fuzz::WriteSeed("alpha32", BuildBmp(s));
    s.headerSize = 124;
    s.compression = 3;
    s.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    fuzz::WriteSeed("v5alpha32", BuildBmp(s));

    BmpSpec p;
    p.width = 6;
    p.height = 4;
    p.bpp = 8;
    p.palette = palette;
    p.clrUsed = 4;
    p.compression = 1;
    p.pixels = {3, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 2, 0, 0, 6, 3, 0, 1};
    fuzz::WriteSeed("rle8", BuildBmp(p));
    p.bpp = 4;
    p.compression = 2;
    p.pixels = {4, 0x12, 0, 3, 0x12, 0x30, 0, 0, 0, 5, 0x12, 0x31, 0x20, 0, 0, 1};
    fuzz::WriteSeed("rle4", BuildBmp(p));
    p.compression = 0;
    p.bpp = 1;
    p.pixels = StoredRows(6, 4, 1, false, [](int x, int y) { return uint32_t((x + y) & 1); });
    fuzz::WriteSeed("mono", BuildBmp(p));

    BmpSpec c;
    c.headerSize = 12;
    c.width = 3;
    c.height = 2;
    c.bpp = 8;
    c.palette.assign(256, {7, 8, 9});
    c.pixels = StoredRows(3, 2, 8, false, [](int x, int) { return uint32_t(x); });
    fuzz::WriteSeed("core8", BuildBmp(c));

    BmpSpec f;
    f.headerSize = 108;
    f.width = 4;
    f.height = 2;
    f.bpp = 16;
    f.compression = 3;
    f.masks = {0x0F00, 0x00F0, 0x000F, 0xF000};
    f.pixels = StoredRows(4, 2, 16, false, [](int x, int) { return uint32_t(0x1234 * (x + 1)); });
    fuzz::WriteSeed("argb4444", BuildBmp(f));
    f.headerSize = 40;
    f.masks = {0xF800, 0x07E0, 0x001F};
    fuzz::WriteSeed("rgb565", BuildBmp(f));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BmpCodec codec;
    codec.SetMaxPixelBytes(kFuzzPixelBytes);
    BmpPicture header;
    const bool headerOk = codec.LoadFromMemory(header, data, size, true);
    Check(header.IsEmpty());

    BmpPicture picture;
    if (codec.LoadFromMemory(picture, data, size)) {
        Check(headerOk);
        Check(picture.image.IsValid());
        Check(picture.Size() == (DibSize{header.record.width, header.record.height}));
        // Written back at its stored depth (palette depths run the quantiser: small ones only).
        if (int64_t(picture.Size().width) * picture.Size().height <= 4096) {
            GrowableMemoryStream out;
            Check(codec.Write(out, picture));
        }
    } else {
        Check(picture.IsEmpty());
    }

    // The thumbnail path's row-by-row shrink: the bytes of the full decode and resize.
    {
        MemoryStream stream(data, size);
        DibImage24 streamed;
        const FittedRead read = ReadBmpFitted(stream, {16, 16}, kFuzzPixelBytes, streamed);
        DibImage24 full;
        if (!picture.IsEmpty() && GetFittedImage(picture, full, {16, 16})) {
            Check(read != FittedRead::Failed);
            if (read == FittedRead::Done)
                Check(streamed.Size() == full.Size() && std::memcmp(streamed.Bits(), full.Bits(), size_t(full.Stride()) * size_t(full.Height())) == 0);
        }
    }

    // The same bytes after a file header's worth: a packed bitmap.
    if (size > 14) {
        DibImage image;
        if (ReadPackedBitmap(data + 14, size - 14, kFuzzPixelBytes, image))
            Check(image.IsValid() && !SaveBmpToMemory(image).isEmpty());
    }
    return 0;
}
