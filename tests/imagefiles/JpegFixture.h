#pragma once
// Real JPEG files made with the JPEG library's compressor (not our code), for the codec tests,
// the fuzz seeds and the benchmarks. Link JPEG::JPEG.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace tessary::test {

struct JpegRecipe {
    int width = 16;
    int height = 16;
    // 1 grey, 3 colour (given as red, green, blue), 4 CMYK bytes stored as given.
    int components = 3;
    int quality = 90;
    bool progressive = false;
    // 2 x 2 chroma subsampling of colour files (the usual photo layout); off keeps full chroma.
    bool subsample = true;
};

// Sample `c` (0 .. components-1) of pixel (x, y).
using JpegSampleFn = std::function<uint8_t(int x, int y, int c)>;

inline std::vector<uint8_t> EncodeJpeg(const JpegRecipe& recipe, const JpegSampleFn& sample)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(recipe.width);
    cinfo.image_height = JDIMENSION(recipe.height);
    cinfo.input_components = recipe.components;
    cinfo.in_color_space = recipe.components == 1 ? JCS_GRAYSCALE : recipe.components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, recipe.quality, TRUE);
    if (recipe.components == 3 && !recipe.subsample) {
        for (int i = 0; i < 3; ++i)
            cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    }
    if (recipe.progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(recipe.width) * size_t(recipe.components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < recipe.width; ++x)
            for (int c = 0; c < recipe.components; ++c)
                row[size_t(x * recipe.components + c)] = sample(x, y, c);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

// A smooth, photo-like picture: gradients with a little texture, so that it compresses like a
// real photo rather than a flat field.
inline uint8_t PhotoLikeSample(int x, int y, int c, int width, int height)
{
    const int base = c == 0 ? 255 * x / width : c == 1 ? 255 * y / height : 255 * (x + y) / (width + height);
    const int texture = int((uint32_t(x * 73856093u ^ y * 19349663u ^ uint32_t(c) * 83492791u) >> 27) & 15);
    const int v = base + texture - 8;
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

// A JPEG file with an application segment placed right after its SOI.
inline std::vector<uint8_t> InsertAfterSoi(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& segment)
{
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), segment.begin(), segment.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

} // namespace tessary::test
