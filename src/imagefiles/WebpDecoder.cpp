#include "WebpDecoder.h"

#include <algorithm>
#include <cstring>

#include <webp/decode.h>
#include <webp/demux.h>

#include "imagefiles/DecodeLimits.h"
#include "imagefiles/DecodedRows.h"
#include "imagefiles/ImageStreams.h"
#include "imaging/Guard.h"

namespace tessary {

namespace {

// Enough for the headers of every still file (RIFF, VP8X and the bitstream's frame header);
// files with long chunks before the bitstream are read whole.
constexpr size_t kHeaderBytes = 64 * 1024;
constexpr size_t kRiffHeader = 12;

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Up to `limit` bytes from `start` on (all of the rest when limit is 0).
bool ReadBytes(ImageStream& stream, int64_t start, size_t limit, std::vector<uint8_t>& bytes)
{
    const int64_t available = stream.Size() - start;
    if (available < int64_t(kRiffHeader) || available > kMaxDecodedBytes)
        return false;
    const size_t size = limit == 0 ? size_t(available) : std::min(size_t(available), limit);
    bytes.resize(size);
    return stream.Seek(start, ImageStream::kFromStart) && stream.Read(bytes.data(), 1, size) == size;
}

bool ReadFeatures(const std::vector<uint8_t>& bytes, WebpImageInfo& info, VP8StatusCode& status)
{
    WebPBitstreamFeatures features;
    status = WebPGetFeatures(bytes.data(), bytes.size(), &features);
    if (status != VP8_STATUS_OK)
        return false;
    info.width = features.width;
    info.height = features.height;
    info.hasAlpha = features.has_alpha != 0;
    info.animated = features.has_animation != 0;
    info.lossless = features.format == 2;
    return info.width > 0 && info.height > 0;
}

bool DecodeStill(const std::vector<uint8_t>& bytes, DibSize size, bool scale, bool alpha, DibImage& image)
{
    if (!image.Create(size.width, size.height, alpha ? 32 : 24))
        return false;
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return false;
    config.options.use_threads = 0;
    config.options.use_scaling = scale ? 1 : 0;
    config.options.scaled_width = size.width;
    config.options.scaled_height = size.height;
    // The image's memory holds the bottom row first; flipped output lands the right way up.
    config.options.flip = 1;
    config.output.colorspace = alpha ? MODE_BGRA : MODE_BGR;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = image.Bits();
    config.output.u.RGBA.stride = image.Stride();
    config.output.u.RGBA.size = size_t(image.Stride()) * size_t(size.height);
    const VP8StatusCode status = WebPDecode(bytes.data(), bytes.size(), &config);
    WebPFreeDecBuffer(&config.output);
    return status == VP8_STATUS_OK && config.output.width == size.width && config.output.height == size.height;
}

struct DemuxDeleter {
    void operator()(WebPDemuxer* d) const { WebPDemuxDelete(d); }
};

// The first frame of an animation on a transparent canvas of info's size.
bool DecodeFirstFrame(const std::vector<uint8_t>& bytes, const WebpImageInfo& info, int64_t maxPixelBytes,
                      DibImage& image)
{
    const WebPData data{bytes.data(), bytes.size()};
    std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&data));
    if (!demux)
        return false;
    WebPIterator frame;
    if (!WebPDemuxGetFrame(demux.get(), 1, &frame))
        return false;
    bool ok = frame.width > 0 && frame.height > 0 && frame.complete && frame.x_offset >= 0 && frame.y_offset >= 0
           && AcceptableSize(frame.width, frame.height, 32, maxPixelBytes) && image.Create(info.width, info.height, 32);
    std::vector<uint8_t> pixels;
    if (ok) {
        const size_t stride = size_t(frame.width) * 4;
        pixels.resize(stride * size_t(frame.height));
        ok = WebPDecodeBGRAInto(frame.fragment.bytes, frame.fragment.size, pixels.data(), pixels.size(),
                                int(stride))
          != nullptr;
    }
    if (ok) {
        for (int y = 0; y < info.height; ++y) {
            uint8_t* row = image.Row(y);
            for (int x = 0; x < info.width; ++x)
                row[x * 4] = row[x * 4 + 1] = row[x * 4 + 2] = 255;
        }
        const int w = std::min(frame.width, info.width - frame.x_offset);
        const int h = std::min(frame.height, info.height - frame.y_offset);
        for (int y = 0; y < h; ++y) {
            std::memcpy(image.Row(frame.y_offset + y) + size_t(frame.x_offset) * 4,
                        pixels.data() + size_t(y) * size_t(frame.width) * 4, size_t(std::max(w, 0)) * 4);
        }
    }
    WebPDemuxReleaseIterator(&frame);
    return ok;
}

bool DecodeSteps(ImageStream& stream, bool headerOnly, DibSize scaled, int64_t maxPixelBytes, WebpImageInfo& info,
                 DibImage& out)
{
    const int64_t start = stream.Tell();
    std::vector<uint8_t> bytes;
    if (!ReadBytes(stream, start, headerOnly ? kHeaderBytes : 0, bytes))
        return false;
    if (std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WEBP", 4) != 0)
        return false;
    VP8StatusCode status = VP8_STATUS_OK;
    if (!ReadFeatures(bytes, info, status)) {
        if (status != VP8_STATUS_NOT_ENOUGH_DATA || !headerOnly || !ReadBytes(stream, start, 0, bytes)
            || !ReadFeatures(bytes, info, status))
            return false;
    }
    if (headerOnly)
        return true;
    if (!AcceptableSize(info.width, info.height, 32, maxPixelBytes))
        return false;
    DibImage image;
    bool ok = false;
    if (info.animated) {
        ok = DecodeFirstFrame(bytes, info, maxPixelBytes, image);
    } else {
        const bool scale = !scaled.IsEmpty() && (scaled.width != info.width || scaled.height != info.height)
                        && scaled.width <= info.width && scaled.height <= info.height;
        const DibSize size = scale ? scaled : DibSize{info.width, info.height};
        ok = DecodeStill(bytes, size, scale, info.hasAlpha, image);
    }
    return ok && out.Adopt(image);
}

} // namespace

bool DecodeWebp(ImageStream& stream, bool headerOnly, DibSize scaled, int64_t maxPixelBytes, WebpImageInfo& info,
                DibImage& out)
{
    if (!stream.IsOpen())
        return false;
    DibImage decoded;
    const bool ok = detail::Guarded([&] { return DecodeSteps(stream, headerOnly, scaled, maxPixelBytes, info, decoded); });
    if (headerOnly)
        return ok;
    if (!ok) {
        out.Reset();
        return false;
    }
    return out.Adopt(decoded);
}

std::optional<std::vector<uint8_t>> ReadWebpChunk(ImageStream& stream, const char* fourcc, uint32_t maxBytes)
{
    if (!stream.IsOpen())
        return std::nullopt;
    const int64_t start = stream.Tell();
    uint8_t head[kRiffHeader];
    if (stream.Read(head, 1, kRiffHeader) != kRiffHeader || std::memcmp(head, "RIFF", 4) != 0
        || std::memcmp(head + 8, "WEBP", 4) != 0)
        return std::nullopt;
    const int64_t end = std::min(stream.Size(), start + 8 + int64_t(Le32(head + 4)));
    int64_t at = start + int64_t(kRiffHeader);
    while (at + 8 <= end) {
        uint8_t chunk[8];
        if (!stream.Seek(at, ImageStream::kFromStart) || stream.Read(chunk, 1, 8) != 8)
            return std::nullopt;
        const uint32_t size = Le32(chunk + 4);
        if (int64_t(size) > end - at - 8)
            return std::nullopt;
        if (std::memcmp(chunk, fourcc, 4) == 0) {
            if (size > maxBytes)
                return std::nullopt;
            std::vector<uint8_t> data;
            const bool ok = detail::Guarded([&] {
                data.resize(size);
                return stream.Read(data.data(), 1, size) == size;
            });
            if (!ok)
                return std::nullopt;
            return data;
        }
        at += 8 + int64_t(size) + (size & 1);
    }
    return std::nullopt;
}

} // namespace tessary
