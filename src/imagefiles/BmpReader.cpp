#include "BmpReader.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "imaging/DibDepths.h"
#include "imaging/Guard.h"
#include "imagefiles/ImageStreams.h"

namespace tessary {

namespace {

constexpr int64_t kFileHeaderSize = 14;
// The largest info block of a picture with a palette: a 124-byte header and a 256-entry table
// (masks of a 40-byte header included).
constexpr int64_t kMaxPaletteBlockBytes = 124 + 12 + 256 * 4;

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// How much of the area before the rows (`area` bytes) the info block may take: a true-colour
// picture may carry a table of any length (skipped, but it must lie inside the area), a
// palette is never longer than 256 entries. Whatever else lies before the rows is skipped.
int64_t InfoBlockBytes(const uint8_t* head, int64_t headBytes, int64_t area)
{
    int64_t need = kMaxPaletteBlockBytes;
    if (headBytes >= 36) {
        const int64_t headerSize = Le32(head);
        const uint16_t bitCount = uint16_t(head[14] | head[15] << 8);
        if (headerSize >= 40 && headerSize <= 124 && bitCount > 8)
            need = std::max(need, headerSize + 12 + int64_t(Le32(head + 32)) * 4);
    }
    return std::min(need, area);
}

bool IsRle(const BitmapInfoBlock& block)
{
    return block.header.compression == kBiRle8 || block.header.compression == kBiRle4;
}

// 16-bit bit fields with an alpha mask (only the 56-, 108- and 124-byte headers carry one).
bool Is16WithAlpha(const BitmapInfoBlock& block)
{
    return block.header.bitCount == 16 && block.hasMasks && block.masks[kChAlpha] != 0
        && block.sourceHeaderSize >= 56;
}

// Bit fields unpacked, and the rows turned upright.
bool Finish(const BitmapInfoBlock& block, DibImage& image)
{
    if (Is16WithAlpha(block)) {
        DibImage wide;
        if (!image.To32(wide))
            return false;
        image.Adopt(wide);
    } else if (block.hasMasks && !image.Normalize()) {
        return false;
    }
    // Plain files store the bottom row first and run-length files are decoded top row first,
    // so each is upside down in one of the two height signs.
    const bool topDown = block.header.height < 0;
    const bool upsideDown = IsRle(block) ? !topDown : topDown;
    if (upsideDown && image.Height() > 1 && !image.FlipVertical())
        return false;
    return true;
}

// The rows at the stream's position; `available` bytes of the stream belong to them.
bool ReadRows(ImageStream& stream, int64_t available, const BitmapInfoBlock& block, int64_t maxPixelBytes,
              DibImage& out)
{
    const BitmapInfoHeader& h = block.header;
    const int64_t height = std::llabs(int64_t(h.height));
    if (!FitsPixelLimit(h.width, height, h.bitCount, maxPixelBytes))
        return false;
    const int64_t rowBytes = DibStride(h.width, h.bitCount) * height;
    // A plain file must hold every row; refused before anything is allocated.
    if (!IsRle(block) && rowBytes > available)
        return false;

    return detail::Guarded([&] {
        DibImage image;
        if (!image.CreateFromInfo(block))
            return false;
        if (IsRle(block)) {
            if (!DecodeBmpRle(stream, image))
                return false;
        } else if (stream.Read(image.Bits(), 1, size_t(rowBytes)) != size_t(rowBytes)) {
            return false;
        }
        if (!Finish(block, image))
            return false;
        return out.Adopt(image);
    });
}

} // namespace

bool ReadBmp(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, BitmapInfoBlock& block, DibImage& out)
{
    if (!stream.IsOpen())
        return false;
    const int64_t start = stream.Tell();
    uint8_t fileHeader[kFileHeaderSize];
    if (stream.Read(fileHeader, 1, sizeof fileHeader) != sizeof fileHeader || fileHeader[0] != 'B'
        || fileHeader[1] != 'M')
        return false;
    // bfSize is often wrong in real files; the stream's own size bounds everything instead.
    const int64_t offBits = Le32(fileHeader + 10);
    const int64_t total = stream.Size() - start;
    if (offBits < kFileHeaderSize + 12 || offBits > total)
        return false;

    // The area between the file header and the rows; offBits lies inside the stream, so what
    // is read here is bounded by the file's size.
    const int64_t area = offBits - kFileHeaderSize;
    std::vector<uint8_t> info(size_t(std::min(area, kMaxPaletteBlockBytes)));
    if (stream.Read(info.data(), 1, info.size()) != info.size())
        return false;
    const size_t infoBytes = size_t(InfoBlockBytes(info.data(), int64_t(info.size()), area));
    if (infoBytes > info.size()) {
        const size_t head = info.size();
        info.resize(infoBytes);
        if (stream.Read(info.data() + head, 1, infoBytes - head) != infoBytes - head)
            return false;
    }
    std::optional<BitmapInfoBlock> read = BitmapInfoBlock::Read(info.data(), infoBytes);
    if (!read)
        return false;
    block = *read;
    if (headerOnly)
        return true;
    if (!stream.Seek(start + offBits, ImageStream::kFromStart))
        return false;
    return ReadRows(stream, total - offBits, block, maxPixelBytes, out);
}

bool ReadPackedBitmap(const uint8_t* data, size_t size, int64_t maxPixelBytes, DibImage& out)
{
    if (!data)
        return false;
    std::optional<BitmapInfoBlock> block = BitmapInfoBlock::Read(data, size);
    if (!block || block->byteCount > size)
        return false;
    MemoryStream stream(data + block->byteCount, size - block->byteCount);
    return ReadRows(stream, int64_t(size - block->byteCount), *block, maxPixelBytes, out);
}

} // namespace tessary
