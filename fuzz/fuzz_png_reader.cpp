// The PNG reader over hostile bytes: header-only and full reads. The library's errors must come
// back as failures, never as a crash, a print, a read past the input or an unbounded allocation.
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

#include <png.h>

#include "FuzzDecodeChecks.h"
#include "FuzzSeeds.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PngCodec.h"
#include "imagefiles/PngDecoder.h"
#include "imagefiles/Picture.h"

using namespace tessary;

namespace {
constexpr int64_t kFuzzPixelBytes = 4 << 20;

using fuzz::Check;

void Append(png_structp png, png_bytep bytes, size_t length)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), bytes, bytes + length);
}

void NoFlush(png_structp) {}

struct PngSeed {
    int width, height, colorType, depth, interlace;
    bool trns;
    png_bytep* rows;
    std::vector<unsigned char>* out;
};

// The library's jump lands here; nothing in this function owns a resource.
bool WritePng(const PngSeed& seed)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, seed.out, Append, NoFlush);
    png_set_IHDR(png, info, png_uint_32(seed.width), png_uint_32(seed.height), seed.depth, seed.colorType,
                 seed.interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    if (seed.colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, 4);
    png_byte alphas[2] = {0, 128};
    png_color_16 key{};
    key.gray = 1;
    key.red = 1;
    if (seed.trns)
        png_set_tRNS(png, info, alphas, 2, &key);
    png_set_gAMA(png, info, 0.7);
    png_write_info(png, info);
    png_write_image(png, seed.rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// A small PNG written with the PNG library; samples are a simple pattern.
std::vector<unsigned char> Encode(int w, int h, int colorType, int depth, int interlace, bool trns)
{
    const int channels = colorType == PNG_COLOR_TYPE_RGB ? 3 : colorType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                       : colorType == PNG_COLOR_TYPE_GRAY_ALPHA                                   ? 2
                                                                                                  : 1;
    const size_t rowBytes = (size_t(w) * size_t(channels) * size_t(depth) + 7) / 8;
    std::vector<png_byte> rows(rowBytes * size_t(h));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = png_byte(i * 37 % 251 & (colorType == PNG_COLOR_TYPE_PALETTE ? 0x11 : 0xFF));
    std::vector<png_bytep> pointers(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        pointers[size_t(y)] = rows.data() + size_t(y) * rowBytes;
    std::vector<unsigned char> out;
    const PngSeed seed{w, h, colorType, depth, interlace, trns, pointers.data(), &out};
    return WritePng(seed) ? out : std::vector<unsigned char>();
}

void WriteSeeds()
{
    fuzz::WriteSeed("grey1", Encode(13, 5, PNG_COLOR_TYPE_GRAY, 1, 0, false));
    fuzz::WriteSeed("grey4trns", Encode(9, 9, PNG_COLOR_TYPE_GRAY, 4, 0, true));
    fuzz::WriteSeed("palette2trns", Encode(8, 3, PNG_COLOR_TYPE_PALETTE, 2, 0, true));
    fuzz::WriteSeed("rgb16interlaced", Encode(11, 7, PNG_COLOR_TYPE_RGB, 16, 1, false));
    fuzz::WriteSeed("rgba8", Encode(6, 6, PNG_COLOR_TYPE_RGB_ALPHA, 8, 0, false));
    fuzz::WriteSeed("greyalpha16", Encode(5, 4, PNG_COLOR_TYPE_GRAY_ALPHA, 16, 1, false));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PngCodec codec;
    codec.SetMaxPixelBytes(kFuzzPixelBytes);
    PngPicture header;
    PngPicture picture;
    fuzz::ReadBothWays(codec, data, size, header, picture);

    // The thumbnail path's row-by-row shrink: the bytes of the full decode and resize.
    {
        MemoryStream stream(data, size);
        DibImage24 streamed;
        const FittedRead read = DecodePngFitted(stream, {16, 16}, kFuzzPixelBytes, streamed);
        DibImage24 full;
        if (!picture.IsEmpty() && GetFittedImage(picture, full, {16, 16})) {
            Check(read != FittedRead::Failed);
            if (read == FittedRead::Done)
                Check(streamed.Size() == full.Size() && std::memcmp(streamed.Bits(), full.Bits(), size_t(full.Stride()) * size_t(full.Height())) == 0);
        }
    }
    return 0;
}
