#include "GifDecoder.h"

#include <algorithm>
#include <vector>

#include <gif_lib.h>

#include "imagefiles/DecodedRows.h"
#include "imagefiles/ImageStreams.h"
#include "imaging/Guard.h"

namespace tessary {

namespace {

int ReadFn(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* stream = static_cast<ImageStream*>(gif->UserData);
    return length > 0 ? int(stream->Read(buffer, 1, size_t(length))) : 0;
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

// Skips records up to the first image descriptor, remembering the transparent index of the
// graphic control extension that precedes it (-1 for none). False at the end of the file.
bool SeekFirstImage(GifFileType* gif, int& transparent)
{
    transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return false;
        if (type == IMAGE_DESC_RECORD_TYPE)
            return true;
        if (type != EXTENSION_RECORD_TYPE)
            return false;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
            return false;
        if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
            transparent = (block[1] & 1) ? block[4] : -1;
        while (block) {
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                return false;
        }
    }
}

// The rows of a frame in the order they are stored: all of them for a plain frame, the four
// passes of an interlaced one.
std::vector<int> StoredRowOrder(int height, bool interlaced)
{
    std::vector<int> order;
    order.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            order.push_back(y);
    }
    return order;
}

bool DecodeFirstFrame(GifFileType* gif, int64_t maxPixelBytes, GifImageInfo& info, DibImage& out)
{
    int transparent = -1;
    if (!SeekFirstImage(gif, transparent) || DGifGetImageDesc(gif) == GIF_ERROR)
        return false;
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map || !map->Colors || map->ColorCount <= 0 || frame.Width <= 0 || frame.Height <= 0)
        return false;
    if (info.width <= 0 || info.height <= 0) {
        // A screen of no size: the first frame's extent stands for it.
        info.width = frame.Left + frame.Width;
        info.height = frame.Top + frame.Height;
    }
    info.colors = map->ColorCount;
    info.interlaced = frame.Interlace;
    const bool covers = frame.Left == 0 && frame.Top == 0 && frame.Width >= info.width && frame.Height >= info.height;
    info.hasAlpha = !covers || (transparent >= 0 && transparent < map->ColorCount);
    const int bpp = info.hasAlpha ? 32 : 24;
    if (!AcceptableSize(info.width, info.height, bpp, maxPixelBytes))
        return false;
    DibImage canvas;
    if (!canvas.Create(info.width, info.height, bpp))
        return false;
    if (info.hasAlpha) {
        // Uncovered screen: transparent white, so that flattening leaves it white.
        for (int y = 0; y < info.height; ++y) {
            uint8_t* row = canvas.Row(y);
            for (int x = 0; x < info.width; ++x)
                row[x * 4] = row[x * 4 + 1] = row[x * 4 + 2] = 255;
        }
    }
    std::vector<GifByteType> line(size_t(frame.Width));
    const int visibleWidth = std::max(0, std::min(frame.Width, info.width - frame.Left));
    const int bytes = bpp / 8;
    for (const int y : StoredRowOrder(frame.Height, frame.Interlace)) {
        const int canvasY = frame.Top + y;
        // Rows are stored top to bottom in a plain frame: nothing after this one shows.
        if (!frame.Interlace && canvasY >= info.height)
            break;
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR)
            return false;
        if (canvasY >= info.height)
            continue;
        uint8_t* row = canvas.Row(canvasY) + size_t(frame.Left) * size_t(bytes);
        for (int x = 0; x < visibleWidth; ++x, row += bytes) {
            const int index = line[size_t(x)];
            if (index == transparent) {
                if (bytes == 4)
                    row[3] = 0;
                continue;
            }
            // An index past the table shows black, as browsers show it.
            const GifColorType c = index < map->ColorCount ? map->Colors[index] : GifColorType{0, 0, 0};
            row[0] = c.Blue;
            row[1] = c.Green;
            row[2] = c.Red;
            if (bytes == 4)
                row[3] = 255;
        }
    }
    return out.Adopt(canvas);
}

} // namespace

bool DecodeGif(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, GifImageInfo& info, DibImage& out)
{
    if (!stream.IsOpen())
        return false;
    int error = 0;
    GifHandle gif(DGifOpen(&stream, ReadFn, &error));
    if (!gif)
        return false;
    info.width = gif->SWidth;
    info.height = gif->SHeight;
    if (headerOnly && info.width > 0 && info.height > 0)
        return true;
    if (headerOnly) {
        // A screen of no size: the first frame's descriptor gives the extent.
        int transparent = -1;
        if (!SeekFirstImage(gif.get(), transparent) || DGifGetImageDesc(gif.get()) == GIF_ERROR)
            return false;
        info.width = gif->Image.Left + gif->Image.Width;
        info.height = gif->Image.Top + gif->Image.Height;
        return gif->Image.Width > 0 && gif->Image.Height > 0;
    }
    DibImage decoded;
    const bool ok = detail::Guarded([&] { return DecodeFirstFrame(gif.get(), maxPixelBytes, info, decoded); });
    if (!ok) {
        out.Reset();
        return false;
    }
    return out.Adopt(decoded);
}

} // namespace tessary
