#include "BitmapInfo.h"

#include "imaging/DibImage.h"

namespace tessary {

namespace {

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

bool IsKnownDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

bool CompressionFits(uint32_t compression, int bpp)
{
    switch (compression) {
    case kBiRgb:
        return true;
    case kBiRle8:
        return bpp == 8;
    case kBiRle4:
        return bpp == 4;
    case kBiBitFields:
        return bpp == 16 || bpp == 32;
    default:
        return false;
    }
}

} // namespace

std::optional<BitmapInfoBlock> BitmapInfoBlock::Read(const uint8_t* data, size_t size)
{
    if (!data || size < 4)
        return std::nullopt;
    BitmapInfoBlock b;
    const uint32_t headerSize = Le32(data);
    b.sourceHeaderSize = headerSize;
    size_t pos = 0;
    int paletteEntryBytes = 4;

    if (headerSize == 12) {
        if (size < 12)
            return std::nullopt;
        b.header.width = Le16(data + 4);
        b.header.height = Le16(data + 6);
        b.header.planes = Le16(data + 8);
        b.header.bitCount = Le16(data + 10);
        paletteEntryBytes = 3;
        pos = 12;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        if (size < headerSize)
            return std::nullopt;
        BitmapInfoHeader& h = b.header;
        h.width = int32_t(Le32(data + 4));
        h.height = int32_t(Le32(data + 8));
        h.planes = Le16(data + 12);
        h.bitCount = Le16(data + 14);
        h.compression = Le32(data + 16);
        h.sizeImage = Le32(data + 20);
        h.xPelsPerMeter = int32_t(Le32(data + 24));
        h.yPelsPerMeter = int32_t(Le32(data + 28));
        h.clrUsed = Le32(data + 32);
        h.clrImportant = Le32(data + 36);
        pos = headerSize;
        if (h.compression == kBiBitFields) {
            b.hasMasks = true;
            if (headerSize == 40) {
                if (size < 52)
                    return std::nullopt;
                for (size_t i = 0; i < 3; ++i)
                    b.masks[i] = Le32(data + 40 + 4 * i);
                pos = 52;
            } else {
                for (size_t i = 0; i < 3; ++i)
                    b.masks[i] = Le32(data + 40 + 4 * i);
                if (headerSize >= 56)
                    b.masks[3] = Le32(data + 52);
            }
        }
    } else {
        return std::nullopt;
    }

    BitmapInfoHeader& h = b.header;
    const int bpp = h.bitCount;
    if (!IsKnownDepth(bpp) || !CompressionFits(h.compression, bpp))
        return std::nullopt;
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN)
        return std::nullopt;

    const uint64_t full = bpp <= 8 ? (uint64_t(1) << bpp) : 0;
    uint64_t count = h.clrUsed;
    if (bpp <= 8)
        count = (count == 0 || count > full) ? full : count;
    if (headerSize == 12)
        count = full;
    const uint64_t tableBytes = count * uint64_t(paletteEntryBytes);
    if (tableBytes > size - pos)
        return std::nullopt;
    if (bpp <= 8) {
        std::vector<DibColor> entries(static_cast<size_t>(count));
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + pos + i * size_t(paletteEntryBytes);
            entries[i] = DibColor{e[0], e[1], e[2], paletteEntryBytes == 4 ? e[3] : uint8_t(0)};
        }
        b.colors = ColorTable(std::move(entries));
        h.clrUsed = count == full ? 0 : uint32_t(count);
    }
    b.byteCount = pos + size_t(tableBytes);
    if (headerSize == 12) {
        h.size = 40;
        h.compression = kBiRgb;
    } else {
        h.size = 40;
    }
    return b;
}

BitmapInfoBlock BitmapInfoBlock::ForImage(const DibImage& image)
{
    BitmapInfoBlock b;
    const DibHeader* dh = image.Header();
    if (!IsValidHeader(dh))
        return b;
    b.header = dh->info;
    b.header.size = 40;
    b.header.height = dh->Height();
    b.header.sizeImage = uint32_t(int64_t(dh->stride) * dh->Height());
    b.hasMasks = dh->UsesBitFields();
    if (b.hasMasks)
        b.masks = dh->masks;
    b.colors = dh->colors;
    b.header.clrUsed = dh->Bpp() <= 8 && dh->colors.Count() != (1 << dh->Bpp()) ? uint32_t(dh->colors.Count()) : 0;
    b.byteCount = 40 + (b.hasMasks ? 12 : 0) + size_t(b.colors.Count()) * 4;
    return b;
}

std::vector<uint8_t> BitmapInfoBlock::ToBytes() const
{
    std::vector<uint8_t> out;
    out.reserve(52 + size_t(colors.Count()) * 4);
    Put32(out, 40);
    Put32(out, uint32_t(header.width));
    Put32(out, uint32_t(header.height));
    Put16(out, header.planes);
    Put16(out, header.bitCount);
    Put32(out, header.compression);
    Put32(out, header.sizeImage);
    Put32(out, uint32_t(header.xPelsPerMeter));
    Put32(out, uint32_t(header.yPelsPerMeter));
    Put32(out, header.clrUsed);
    Put32(out, header.clrImportant);
    if (hasMasks) {
        for (size_t i = 0; i < 3; ++i)
            Put32(out, masks[i]);
    }
    for (const DibColor& c : colors.Entries()) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(c.alpha);
    }
    return out;
}

} // namespace tessary
