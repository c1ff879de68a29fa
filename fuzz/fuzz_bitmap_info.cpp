// Bitmap info blocks as BMP files and bitmap resources carry them, followed by pixel bytes:
// the block reader must refuse anything malformed, and every image it lets through must
// survive the conversions and transforms the codecs apply to it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FuzzSeeds.h"
#include "imaging/DibDepths.h"
#include "imaging/ExifOrientation.h"
#include "imaging/FitInBox.h"
#include "imaging/MaskedImage.h"
#include "imaging/QImageView.h"

using namespace tessary;

namespace {

void Put(std::vector<unsigned char>& v, uint32_t x, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        v.push_back(uint8_t(x >> (8 * i)));
}

std::vector<unsigned char> Header(uint32_t size, int32_t w, int32_t h, uint16_t bpp, uint32_t compression,
                                  uint32_t clrUsed, const std::vector<uint32_t>& masks)
{
    std::vector<unsigned char> v;
    Put(v, size, 4);
    Put(v, uint32_t(w), 4);
    Put(v, uint32_t(h), 4);
    Put(v, 1, 2);
    Put(v, bpp, 2);
    Put(v, compression, 4);
    Put(v, 0, 4);
    Put(v, 0, 4);
    Put(v, 0, 4);
    Put(v, clrUsed, 4);
    Put(v, 0, 4);
    for (uint32_t m : masks)
        Put(v, m, 4);
    v.resize(std::max<size_t>(v.size(), size), 0);
    for (int i = 0; i < 64; ++i)
        v.push_back(uint8_t(i * 37));
    return v;
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::vector<unsigned char> pal = Header(40, 5, -3, 8, 0, 3, {});
    fuzz::WriteSeed("pal8", pal);
    fuzz::WriteSeed("mono", Header(40, 9, 2, 1, 0, 0, {}));
    fuzz::WriteSeed("bitfields565", Header(40, 3, 3, 16, 3, 0, {0xF800, 0x07E0, 0x001F}));
    fuzz::WriteSeed("argb4444", Header(56, 4, 2, 16, 3, 0, {0x0F00, 0x00F0, 0x000F, 0xF000}));
    fuzz::WriteSeed("v5_32", Header(124, 3, 2, 32, 3, 0, {0x0000FF, 0x00FF00, 0xFF0000, 0xFF000000}));
    std::vector<unsigned char> core;
    Put(core, 12, 4);
    Put(core, 4, 2);
    Put(core, 3, 2);
    Put(core, 1, 2);
    Put(core, 4, 2);
    for (int i = 0; i < 48 + 12; ++i)
        core.push_back(uint8_t(i * 5));
    fuzz::WriteSeed("core4", core);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto block = BitmapInfoBlock::Read(data, size);
    if (!block)
        return 0;
    Check(block->byteCount <= size);
    // Keep each run small; large sizes are refused or allocated lazily, not decoded here.
    const int64_t w = block->header.width;
    const int64_t h = std::llabs(int64_t(block->header.height));
    if (w * h > 4096)
        return 0;
    DibImage img;
    if (!img.CreateFromInfo(*block))
        return 0;
    Check(img.Width() == w && img.Height() == h);
    const size_t pixels = std::min<size_t>(size - block->byteCount, size_t(img.ImageSize()));
    std::memcpy(img.Bits(), data + block->byteCount, pixels);

    DibImage out;
    Check(img.To24(out) && out.Size() == img.Size());
    Check(img.To32(out) && out.Bpp() == 32);
    MaskedImage masked;
    Check(masked.Split(out));
    Check(img.ToGray8(out));
    Check(img.ToDepth(out, 4) && out.Bpp() == 4);
    Check(img.ToDepth(out, 1));
    const DibSize fit = FitInBox({7, 7}, img.Size());
    Check(img.ResizeInto(out, fit.IsEmpty() ? DibSize{1, 1} : fit, true));
    for (int x = 0; x < img.Width(); ++x) {
        DibColor c;
        Check(img.GetColor(c, x, img.Height() - 1));
    }
    Check(!ToQImage(img).isNull());
    DibImage copy;
    Check(copy.CopyFrom(img));
    const uint8_t orientation = size ? data[size - 1] : 0;
    Check(ApplyExifOrientation(copy, orientation % 9));
    img.Normalize();
    Check(img.TrimBorder());
    return 0;
}
