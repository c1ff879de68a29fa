#include "PngDecoder.h"

#include <csetjmp>
#include <new>

#include <png.h>

#include "imagefiles/ImageStreams.h"

namespace tessary {

namespace {

constexpr size_t kSignatureSize = 8;
// Sides beyond this are refused by the library while it reads the header.
constexpr uint32_t kMaxSide = 1u << 20;
// One ancillary chunk (text, profile, ...) may take at most this much memory, and a file may
// carry at most this many of them.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_uint_32 kMaxChunks = 1000;

// Plain data only: nothing here owns a resource, so the library's jump back out of any depth
// leaves nothing to destroy except the library structures, which the caller always destroys.
struct PngJob {
    png_structp png;
    png_infop info;
    png_infop endInfo;
    ImageStream* stream;
    bool headerOnly;
    int64_t maxPixelBytes;
    PngImageInfo* header;
    DibImage* target;
    char message[256];
};

void ErrorFn(png_structp png, png_const_charp text)
{
    char* message = static_cast<char*>(png_get_error_ptr(png));
    if (message && text) {
        size_t i = 0;
        for (; i + 1 < sizeof(PngJob::message) && text[i]; ++i)
            message[i] = text[i];
        message[i] = 0;
    }
    png_longjmp(png, 1);
}

void WarningFn(png_structp, png_const_charp) {}

void ReadFn(png_structp png, png_bytep data, size_t length)
{
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (job->stream->Read(data, 1, length) != length)
        png_error(png, "Read Error");
}

bool DecodeSteps(PngJob& job)
{
    png_structp png = job.png;
    png_infop info = job.info;
    png_set_read_fn(png, &job, ReadFn);
    png_set_sig_bytes(png, int(kSignatureSize));
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_chunk_cache_max(png, kMaxChunks);

    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    int interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    PngImageInfo& h = *job.header;
    h.width = int(width);
    h.height = int(height);
    h.bitDepth = bitDepth;
    h.channels = png_get_channels(png, info);
    h.colorType = colorType;
    h.interlace = interlace;
    h.hasAlpha = png_get_valid(png, info, PNG_INFO_tRNS) || (colorType & PNG_COLOR_MASK_ALPHA);
    if (job.headerOnly)
        return true;

    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (bitDepth < 8)
        png_set_packing(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (colorType & PNG_COLOR_MASK_COLOR)
        png_set_bgr(png);
    double fileGamma = 0;
    if (!png_get_gAMA(png, info, &fileGamma))
        fileGamma = kPngDefaultFileGamma;
    png_set_gamma(png, kPngScreenGamma, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int bpp = h.hasAlpha ? 32 : 24;
    if (png_get_rowbytes(png, info) != size_t(width) * size_t(bpp / 8))
        return false;
    if (!FitsPixelLimit(width, height, bpp, job.maxPixelBytes))
        return false;
    if (!job.target->Create(int(width), int(height), bpp))
        return false;
    png_read_image(png, const_cast<png_bytepp>(job.target->Rows()));
    png_read_end(png, job.endInfo);
    return true;
}

// The one place the library jumps back to.
bool RunGuarded(PngJob& job)
{
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    return DecodeSteps(job);
}

} // namespace

bool DecodePng(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, PngImageInfo& info, DibImage& out)
{
    png_byte signature[kSignatureSize];
    if (!stream.IsOpen() || stream.Read(signature, 1, kSignatureSize) != kSignatureSize
        || png_sig_cmp(signature, 0, kSignatureSize) != 0) {
        if (!headerOnly)
            out.Reset();
        return false;
    }

    PngJob job{};
    job.stream = &stream;
    job.headerOnly = headerOnly;
    job.maxPixelBytes = maxPixelBytes;
    job.header = &info;
    DibImage decoded;
    job.target = &decoded;

    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job.message, ErrorFn, WarningFn);
    if (!job.png) {
        if (!headerOnly)
            out.Reset();
        return false;
    }
    job.info = png_create_info_struct(job.png);
    job.endInfo = headerOnly ? nullptr : png_create_info_struct(job.png);
    bool ok = false;
    if (job.info && (headerOnly || job.endInfo))
        ok = RunGuarded(job);
    png_destroy_read_struct(&job.png, job.info ? &job.info : nullptr, job.endInfo ? &job.endInfo : nullptr);

    if (headerOnly)
        return ok;
    if (!ok) {
        out.Reset();
        return false;
    }
    out.Adopt(decoded);
    return true;
}

} // namespace tessary
