#pragma once
// HEIF and AVIF files made with libheif's own encoders (x265 for HEVC, aom for AV1), and
// libheif's own decode of them as the reference. Link PkgConfig::LIBHEIF.

#include <cstdint>
#include <vector>

#include <libheif/heif.h>

#include "RgbaFixture.h"

namespace tessary::test {

struct HeifRecipe {
    bool avif = false;
    int width = 64;
    int height = 48;
    bool alpha = false;
    bool grey = false; // a monochrome image (the sample's red channel)
    // Exif orientation values 1..8, written as the container's rotation and mirroring.
    int orientation = 1;
    // Largest side of an embedded thumbnail; 0 for none.
    int thumbnailSide = 0;
    // A TIFF block (byte-order mark first) stored as the image's Exif item.
    std::vector<uint8_t> exif;
    int quality = 90;
    // An encoder speed setting ("preset" for x265, "speed" for aom); null keeps libheif's.
    const char* preset = nullptr;
};

namespace detail {
inline heif_error AppendBytes(heif_context*, const void* data, size_t size, void* user)
{
    auto* out = static_cast<std::vector<uint8_t>*>(user);
    const auto* p = static_cast<const uint8_t*>(data);
    out->insert(out->end(), p, p + size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}
} // namespace detail

// The file's bytes; empty when the encoder is missing or fails.
inline std::vector<uint8_t> EncodeHeif(const HeifRecipe& r, const RgbaSampleFn& sample)
{
    std::vector<uint8_t> out;
    heif_context* ctx = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    if (!ctx || heif_context_get_encoder_for_format(ctx, r.avif ? heif_compression_AV1 : heif_compression_HEVC, &encoder).code != heif_error_Ok) {
        heif_context_free(ctx);
        return out;
    }
    heif_encoder_set_lossy_quality(encoder, r.quality);
    if (r.preset)
        heif_encoder_set_parameter_string(encoder, r.avif ? "speed" : "preset", r.preset);
    heif_image* image = nullptr;
    const heif_colorspace space = r.grey ? heif_colorspace_monochrome : heif_colorspace_RGB;
    const heif_chroma chroma = r.grey ? heif_chroma_monochrome
                             : r.alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
    heif_image_create(r.width, r.height, space, chroma, &image);
    if (r.grey) {
        heif_image_add_plane(image, heif_channel_Y, r.width, r.height, 8);
        if (r.alpha)
            heif_image_add_plane(image, heif_channel_Alpha, r.width, r.height, 8);
        int stride = 0, alphaStride = 0;
        uint8_t* y = heif_image_get_plane(image, heif_channel_Y, &stride);
        uint8_t* a = r.alpha ? heif_image_get_plane(image, heif_channel_Alpha, &alphaStride) : nullptr;
        for (int j = 0; j < r.height; ++j)
            for (int i = 0; i < r.width; ++i) {
                y[j * stride + i] = sample(i, j, 0);
                if (a)
                    a[j * alphaStride + i] = sample(i, j, 3);
            }
    } else {
        heif_image_add_plane(image, heif_channel_interleaved, r.width, r.height, 8);
        int stride = 0;
        uint8_t* p = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        const int channels = r.alpha ? 4 : 3;
        for (int j = 0; j < r.height; ++j)
            for (int i = 0; i < r.width; ++i)
                for (int c = 0; c < channels; ++c)
                    p[j * stride + i * channels + c] = sample(i, j, c);
    }
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(r.orientation);
    heif_image_handle* handle = nullptr;
    bool ok = heif_context_encode_image(ctx, image, encoder, options, &handle).code == heif_error_Ok;
    if (ok && r.thumbnailSide > 0)
        ok = heif_context_encode_thumbnail(ctx, image, handle, encoder, options, r.thumbnailSide, nullptr).code == heif_error_Ok;
    if (ok && !r.exif.empty())
        ok = heif_context_add_exif_metadata(ctx, handle, r.exif.data(), int(r.exif.size())).code == heif_error_Ok;
    heif_writer writer{1, detail::AppendBytes};
    if (ok)
        ok = heif_context_write(ctx, &writer, &out).code == heif_error_Ok;
    if (!ok)
        out.clear();
    heif_image_handle_release(handle);
    heif_encoding_options_free(options);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(ctx);
    return out;
}

// libheif's own decode of the primary image (or its first thumbnail) as straight RGBA.
inline RgbaPixels ReferenceHeif(const std::vector<uint8_t>& bytes, bool thumbnail = false)
{
    RgbaPixels out;
    heif_context* ctx = heif_context_alloc();
    heif_image_handle* primary = nullptr;
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    if (heif_context_read_from_memory_without_copy(ctx, bytes.data(), bytes.size(), nullptr).code == heif_error_Ok
        && heif_context_get_primary_image_handle(ctx, &primary).code == heif_error_Ok) {
        handle = primary;
        heif_item_id id = 0;
        if (thumbnail)
            handle = heif_image_handle_get_list_of_thumbnail_IDs(primary, &id, 1) == 1
                          && heif_image_handle_get_thumbnail(primary, id, &handle).code == heif_error_Ok
                         ? handle
                         : nullptr;
        if (handle && heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr).code == heif_error_Ok) {
            int stride = 0;
            const uint8_t* p = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
            out.width = heif_image_get_width(image, heif_channel_interleaved);
            out.height = heif_image_get_height(image, heif_channel_interleaved);
            out.rgba.resize(size_t(out.width) * size_t(out.height) * 4);
            for (int y = 0; y < out.height; ++y)
                std::copy(p + y * stride, p + y * stride + out.width * 4, out.rgba.begin() + long(y) * out.width * 4);
        }
    }
    heif_image_release(image);
    if (handle && handle != primary)
        heif_image_handle_release(handle);
    heif_image_handle_release(primary);
    heif_context_free(ctx);
    return out;
}

} // namespace tessary::test
