#pragma once
// GIF files written by giflib itself (a palette, interlacing, a transparent colour, frames
// that leave part of the screen uncovered, animations), and giflib's own full read (DGifSlurp)
// of the first frame, put on the screen by hand, as the reference. Link GIF::GIF.

#include <cstdint>
#include <functional>
#include <vector>

#include <gif_lib.h>

#include "RgbaFixture.h"

namespace tessary::test {

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    int transparent = -1; // palette index shown transparent
    // Palette index of frame pixel (x, y).
    std::function<int(int x, int y)> index;
};

struct GifRecipe {
    int screenWidth = 40;
    int screenHeight = 30;
    int colors = 16;         // a power of two; entry i is (i * 16, 255 - i * 16, i * 7)
    std::vector<GifFrame> frames;
};

inline GifColorType GifPaletteEntry(int i)
{
    return GifColorType{uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i * 7)};
}

namespace detail {
inline int AppendGif(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}
} // namespace detail

inline std::vector<uint8_t> EncodeGif(const GifRecipe& r)
{
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, detail::AppendGif, &error);
    if (!gif)
        return {};
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(r.colors, nullptr);
    for (int i = 0; i < r.colors; ++i)
        map->Colors[i] = GifPaletteEntry(i);
    bool ok = EGifPutScreenDesc(gif, r.screenWidth, r.screenHeight, 8, 0, map) != GIF_ERROR;
    for (const GifFrame& f : r.frames) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.DelayTime = 10;
        gcb.TransparentColor = f.transparent >= 0 ? f.transparent : NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        const size_t n = EGifGCBToExtension(&gcb, ext);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), ext) != GIF_ERROR
          && EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, nullptr) != GIF_ERROR;
        std::vector<int> rows;
        if (f.interlaced) {
            const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
            for (int p = 0; p < 4; ++p)
                for (int y = start[p]; y < f.height; y += step[p])
                    rows.push_back(y);
        } else {
            for (int y = 0; y < f.height; ++y)
                rows.push_back(y);
        }
        std::vector<GifPixelType> line(size_t(f.width));
        for (const int y : rows) {
            for (int x = 0; x < f.width; ++x)
                line[size_t(x)] = GifPixelType(f.index(x, y));
            ok = ok && EGifPutLine(gif, line.data(), f.width) != GIF_ERROR;
        }
    }
    GifFreeMapObject(map);
    ok = EGifCloseFile(gif, &error) != GIF_ERROR && ok;
    return ok ? out : std::vector<uint8_t>();
}

namespace detail {
struct GifReadSource {
    const std::vector<uint8_t>* bytes;
    size_t at;
};
inline int ReadGifBytes(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* s = static_cast<GifReadSource*>(gif->UserData);
    const size_t n = std::min(size_t(length), s->bytes->size() - s->at);
    std::copy(s->bytes->begin() + long(s->at), s->bytes->begin() + long(s->at + n), buffer);
    s->at += n;
    return int(n);
}
} // namespace detail

// The first frame on a transparent screen, read by DGifSlurp.
inline RgbaPixels ReferenceGif(const std::vector<uint8_t>& bytes)
{
    RgbaPixels out;
    detail::GifReadSource source{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, detail::ReadGifBytes, &error);
    if (!gif)
        return out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& frame = gif->SavedImages[0];
        const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, 0, &gcb);
        out = MakeRgba(gif->SWidth, gif->SHeight, [](int, int, int c) { return uint8_t(c == 3 ? 0 : 255); });
        const GifImageDesc& d = frame.ImageDesc;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int sx = d.Left + x, sy = d.Top + y;
                const int index = frame.RasterBits[size_t(y) * size_t(d.Width) + size_t(x)];
                if (sx >= out.width || sy >= out.height || index == gcb.TransparentColor)
                    continue;
                uint8_t* o = out.rgba.data() + (size_t(sy) * size_t(out.width) + size_t(sx)) * 4;
                const GifColorType c = map->Colors[index];
                o[0] = c.Red;
                o[1] = c.Green;
                o[2] = c.Blue;
                o[3] = 255;
            }
    }
    DGifCloseFile(gif, &error);
    return out;
}

} // namespace tessary::test
