#pragma once
// WebP files made with libwebp's own encoder (lossy, lossless, with alpha, with an EXIF chunk,
// animated through its animation encoder), and libwebp's own decode as the reference. Link
// PkgConfig::LIBWEBP and PkgConfig::LIBWEBPMUX.

#include <cstdint>
#include <vector>

#include <webp/decode.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "RgbaFixture.h"

namespace tessary::test {

struct WebpRecipe {
    int width = 64;
    int height = 48;
    bool lossless = false;
    bool alpha = false;   // the sample's alpha is stored; otherwise the file is opaque
    int quality = 90;
    // A TIFF block (byte-order mark first) stored as the file's EXIF chunk.
    std::vector<uint8_t> exif;
};

// A still file; empty when encoding fails.
inline std::vector<uint8_t> EncodeWebp(const WebpRecipe& r, const RgbaSampleFn& sample)
{
    RgbaPixels pixels = MakeRgba(r.width, r.height, sample);
    if (!r.alpha)
        for (size_t i = 3; i < pixels.rgba.size(); i += 4)
            pixels.rgba[i] = 255;
    std::vector<uint8_t> out;
    uint8_t* encoded = nullptr;
    size_t size = 0;
    if (r.alpha || r.lossless) {
        size = r.lossless ? WebPEncodeLosslessRGBA(pixels.rgba.data(), r.width, r.height, r.width * 4, &encoded)
                          : WebPEncodeRGBA(pixels.rgba.data(), r.width, r.height, r.width * 4, float(r.quality), &encoded);
    } else {
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < pixels.rgba.size(); ++i)
            if (i % 4 != 3)
                rgb.push_back(pixels.rgba[i]);
        size = WebPEncodeRGB(rgb.data(), r.width, r.height, r.width * 3, float(r.quality), &encoded);
    }
    if (size == 0)
        return out;
    out.assign(encoded, encoded + size);
    WebPFree(encoded);
    if (r.exif.empty())
        return out;
    WebPMux* mux = WebPMuxNew();
    const WebPData image{out.data(), out.size()};
    const WebPData exif{r.exif.data(), r.exif.size()};
    WebPData assembled{nullptr, 0};
    std::vector<uint8_t> muxed;
    if (WebPMuxSetImage(mux, &image, 1) == WEBP_MUX_OK && WebPMuxSetChunk(mux, "EXIF", &exif, 1) == WEBP_MUX_OK
        && WebPMuxAssemble(mux, &assembled) == WEBP_MUX_OK)
        muxed.assign(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    WebPMuxDelete(mux);
    return muxed;
}

// An animation of `frames` full-canvas frames; frame f's pixels come from sample(x + f, y, c).
inline std::vector<uint8_t> EncodeAnimatedWebp(int width, int height, int frames, const RgbaSampleFn& sample)
{
    std::vector<uint8_t> out;
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return out;
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(width, height, &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = 1;
    bool ok = encoder != nullptr;
    for (int f = 0; ok && f < frames; ++f) {
        const RgbaPixels pixels = MakeRgba(width, height, [&](int x, int y, int c) { return sample(x + f, y, c); });
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = width;
        picture.height = height;
        ok = WebPPictureImportRGBA(&picture, pixels.rgba.data(), width * 4)
          && WebPAnimEncoderAdd(encoder, &picture, f * 100, &config);
        WebPPictureFree(&picture);
    }
    WebPData assembled{nullptr, 0};
    if (ok && WebPAnimEncoderAdd(encoder, nullptr, frames * 100, nullptr) && WebPAnimEncoderAssemble(encoder, &assembled))
        out.assign(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    WebPAnimEncoderDelete(encoder);
    return out;
}

// libwebp's own decode of a still file as straight RGBA.
inline RgbaPixels ReferenceWebp(const std::vector<uint8_t>& bytes)
{
    RgbaPixels out;
    uint8_t* rgba = WebPDecodeRGBA(bytes.data(), bytes.size(), &out.width, &out.height);
    if (!rgba)
        return RgbaPixels{};
    out.rgba.assign(rgba, rgba + size_t(out.width) * size_t(out.height) * 4);
    WebPFree(rgba);
    return out;
}

} // namespace tessary::test
