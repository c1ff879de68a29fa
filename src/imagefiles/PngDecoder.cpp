#include "PngDecoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>

#include <png.h>

#include "imagefiles/ImageStreams.h"
#include "imaging/DibDepths.h"
#include "imaging/FitInBox.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"
#include "imaging/RowResampler.h"

namespace tessary {

namespace {

constexpr size_t kSignatureSize = 8;
// Sides beyond this are refused by the library while it reads the header.
constexpr uint32_t kMaxSide = 1u << 20;
// One ancillary chunk (text, profile, ...) may take at most this much memory, and a file may
// carry at most this many of them.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_uint_32 kMaxChunks = 1000;
// Deflate's largest ratio of output to input (a 258-byte match in two bits), with room for
// the zlib stream's own bytes.
constexpr int64_t kMaxInflateRatio = 1032;
constexpr int64_t kInflateSlack = 1024;

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
    int64_t start;                // the stream position of the signature
    AreaRowResampler* resampler;  // rows go here one at a time instead of into target
    DibImage* flat;               // one 24-bit row for a resampled picture with alpha
    char message[256];
};

uint32_t Be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Whether the file's image data could inflate to `rawBytes`: the IDAT chunks are summed by
// walking the chunk list (lengths and types only), and the stream is put back where it was.
bool DataCanHold(ImageStream& stream, int64_t start, int64_t rawBytes)
{
    const int64_t back = stream.Tell();
    int64_t compressed = 0;
    int64_t at = start + int64_t(kSignatureSize);
    const int64_t end = stream.Size();
    while (at + 12 <= end) {
        uint8_t head[8];
        if (!stream.Seek(at, ImageStream::kFromStart) || stream.Read(head, 1, 8) != 8)
            break;
        const int64_t length = Be32(head);
        if (std::memcmp(head + 4, "IDAT", 4) == 0)
            compressed += std::min(length, end - at - 12);
        if (std::memcmp(head + 4, "IEND", 4) == 0)
            break;
        at += 12 + length;
    }
    if (!stream.Seek(back, ImageStream::kFromStart))
        return false;
    return rawBytes <= compressed * kMaxInflateRatio + kInflateSlack;
}

// Out of memory ends the decode with false; no exception may cross the library's frames.
bool PushRow(AreaRowResampler& resampler, const uint8_t* row) noexcept
{
    try {
        resampler.Push(row);
        return true;
    } catch (...) {
        return false;
    }
}

// Flattens a blue-green-red-alpha row onto white, as GetImage flattens a picture with a mask.
void FlattenRow(const uint8_t* bgra, uint8_t* bgr, int width)
{
    for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
        bgr[0] = bgr[1] = bgr[2] = 255;
        pixel::BlendBgr(bgr, bgra, bgra[3]);
    }
}

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
    // At least the packed pixel bits must come out of the compressed data.
    const int64_t rawBytes = int64_t(width) * int64_t(height) * int64_t(bitDepth) * int64_t(h.channels) / 8;
    if (!DataCanHold(*job.stream, job.start, rawBytes))
        return false;

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
    if (job.resampler) {
        // Non-interlaced only (the caller checks): one row of the picture at a time.
        if (!job.target->Create(int(width), 1, bpp) || (bpp == 32 && !job.flat->Create(int(width), 1, 24)))
            return false;
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, job.target->Row(0), nullptr);
            if (bpp == 32) {
                FlattenRow(job.target->Row(0), job.flat->Row(0), int(width));
                if (!PushRow(*job.resampler, job.flat->Row(0)))
                    return false;
            } else if (!PushRow(*job.resampler, job.target->Row(0))) {
                return false;
            }
        }
        png_read_end(png, job.endInfo);
        return true;
    }
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

namespace {

// The decode with the library structures made and destroyed around it; `job` carries what
// the caller set (stream, limits, where rows go).
bool RunJob(PngJob& job)
{
    png_byte signature[kSignatureSize];
    if (!job.stream->IsOpen() || job.stream->Read(signature, 1, kSignatureSize) != kSignatureSize
        || png_sig_cmp(signature, 0, kSignatureSize) != 0)
        return false;
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job.message, ErrorFn, WarningFn);
    if (!job.png)
        return false;
    job.info = png_create_info_struct(job.png);
    job.endInfo = job.headerOnly ? nullptr : png_create_info_struct(job.png);
    bool ok = false;
    if (job.info && (job.headerOnly || job.endInfo))
        ok = RunGuarded(job);
    png_destroy_read_struct(&job.png, job.info ? &job.info : nullptr, job.endInfo ? &job.endInfo : nullptr);
    return ok;
}

} // namespace

FittedRead DecodePngFitted(ImageStream& stream, DibSize box, int64_t maxPixelBytes, DibImage& target)
{
    if (!stream.IsOpen() || box.IsEmpty())
        return FittedRead::NotStreamed;
    const int64_t start = stream.Tell();
    PngImageInfo info;
    DibImage unused;
    if (!DecodePng(stream, true, maxPixelBytes, info, unused))
        return FittedRead::Failed;
    if (info.interlace != 0 || (info.width <= box.width && info.height <= box.height))
        return FittedRead::NotStreamed;
    // The full decode's refusal of what its rows could not hold, before anything is made.
    if (!FitsPixelLimit(info.width, info.height, info.hasAlpha ? 32 : 24, maxPixelBytes))
        return FittedRead::Failed;
    const DibSize fitted = FitInBox(box, {info.width, info.height});
    if (fitted.IsEmpty() || !stream.Seek(start, ImageStream::kFromStart))
        return FittedRead::Failed;
    const bool ok = detail::Guarded([&] {
        DibImage24 out;
        if (!out.Create24(fitted))
            return false;
        AreaRowResampler resampler(info.width, info.height, out, false);
        DibImage row, flat;
        PngJob job{};
        job.stream = &stream;
        job.maxPixelBytes = maxPixelBytes;
        PngImageInfo again;
        job.header = &again;
        job.target = &row;
        job.start = start;
        job.resampler = &resampler;
        job.flat = &flat;
        return RunJob(job) && again.width == info.width && again.height == info.height && resampler.Done()
            && target.Adopt(out);
    });
    return ok ? FittedRead::Done : FittedRead::Failed;
}

bool DecodePng(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, PngImageInfo& info, DibImage& out)
{
    PngJob job{};
    job.stream = &stream;
    job.headerOnly = headerOnly;
    job.maxPixelBytes = maxPixelBytes;
    job.header = &info;
    DibImage decoded;
    job.target = &decoded;
    job.start = stream.IsOpen() ? stream.Tell() : 0;
    const bool ok = RunJob(job);
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
