#include "DibHeader.h"

#include <bit>
#include <cstring>
#include <new>

namespace tessary {

int64_t DibStride(int64_t width, int bpp)
{
    if (width <= 0 || bpp <= 0 || width > INT32_MAX)
        return -1;
    return (width * bpp + 31) / 32 * 4;
}

std::array<uint32_t, 4> StandardMasks(int bpp)
{
    switch (bpp) {
    case 15:
        return {0x7C00, 0x03E0, 0x001F, 0};
    case 16:
        return {0xF800, 0x07E0, 0x001F, 0};
    case 32:
        return {0xFF0000, 0x00FF00, 0x0000FF, 0};
    default:
        return {};
    }
}

void DibHeader::SetMasks(const std::array<uint32_t, 4>& m)
{
    masks = m;
    for (size_t i = 0; i < 4; ++i) {
        shifts[i] = m[i] ? std::countr_zero(m[i]) : 0;
        losses[i] = m[i] ? 8 - std::popcount(m[i]) : 0;
    }
}

std::unique_ptr<DibHeader> DibHeader::Create(const BitmapInfoBlock& block)
{
    const BitmapInfoHeader& in = block.header;
    const int bpp = in.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return nullptr;
    if (in.width <= 0 || in.height == 0 || in.height == INT32_MIN)
        return nullptr;
    const bool bitFields = in.compression == kBiBitFields;
    if (bitFields && bpp != 16 && bpp != 32)
        return nullptr;
    if (in.compression != kBiRgb && !bitFields && in.compression != kBiRle8 && in.compression != kBiRle4)
        return nullptr;
    const int32_t height = in.height < 0 ? -in.height : in.height;
    const int64_t stride = DibStride(in.width, bpp);
    if (stride < 0)
        return nullptr;
    const int64_t pixelBytes = stride * height;
    const int64_t tableBytes = int64_t(height) * int64_t(sizeof(uint8_t*));
    if (pixelBytes + tableBytes > kMaxImageBytes)
        return nullptr;

    std::unique_ptr<DibHeader> h(new (std::nothrow) DibHeader);
    if (!h)
        return nullptr;
    h->bits.reset(static_cast<uint8_t*>(std::calloc(size_t(pixelBytes), 1)));
    h->rows.reset(new (std::nothrow) uint8_t*[size_t(height)]);
    if (!h->bits || !h->rows)
        return nullptr;
    for (int32_t i = 0; i < height; ++i)
        h->rows[size_t(i)] = h->bits.get() + int64_t(height - 1 - i) * stride;

    h->info.size = 40;
    h->info.width = in.width;
    h->info.height = height;
    h->info.planes = 1;
    h->info.bitCount = uint16_t(bpp);
    h->info.compression = bitFields ? kBiBitFields : kBiRgb;
    h->info.sizeImage = uint32_t(pixelBytes);
    h->info.xPelsPerMeter = in.xPelsPerMeter;
    h->info.yPelsPerMeter = in.yPelsPerMeter;
    h->stride = int32_t(stride);
    if (bitFields)
        h->SetMasks(block.masks);
    else if (bpp == 16)
        h->SetMasks(StandardMasks(15));

    if (bpp <= 8) {
        const int full = 1 << bpp;
        int count = block.colors.Count();
        if (count <= 0 || count > full) {
            h->colors = ColorTable::Default(bpp);
        } else {
            h->colors = block.colors;
        }
        count = h->colors.Count();
        h->info.clrUsed = count == full ? 0 : uint32_t(count);
    }
    return h;
}

std::unique_ptr<DibHeader> DibHeader::Copy() const
{
    std::unique_ptr<DibHeader> h(new (std::nothrow) DibHeader);
    if (!h)
        return nullptr;
    const size_t bytes = size_t(stride) * size_t(info.height);
    h->bits.reset(static_cast<uint8_t*>(std::malloc(bytes ? bytes : 1)));
    h->rows.reset(new (std::nothrow) uint8_t*[size_t(info.height)]);
    if (!h->bits || !h->rows)
        return nullptr;
    std::memcpy(h->bits.get(), bits.get(), bytes);
    for (int32_t i = 0; i < info.height; ++i)
        h->rows[size_t(i)] = h->bits.get() + int64_t(info.height - 1 - i) * stride;
    h->info = info;
    h->stride = stride;
    h->shifts = shifts;
    h->losses = losses;
    h->masks = masks;
    h->colors = colors;
    h->flags = flags;
    return h;
}

} // namespace tessary
