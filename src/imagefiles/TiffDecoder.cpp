#include "TiffDecoder.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include <tiffio.h>

#include "imagefiles/DecodedRows.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"
#include "imaging/Guard.h"

namespace tessary {

namespace {

// A band that would take more than this is read as the whole picture instead, so that a
// strip is never decoded twice.
constexpr int64_t kMaxBandBytes = int64_t(64) << 20;

struct ClientData {
    ImageStream* stream;
    int64_t start; // the stream position of the file's first byte
};

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size)
{
    auto* c = static_cast<ClientData*>(handle);
    return size > 0 ? tmsize_t(c->stream->Read(buffer, 1, size_t(size))) : 0;
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return 0; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence)
{
    auto* c = static_cast<ClientData*>(handle);
    ImageStream& s = *c->stream;
    int64_t target = 0;
    if (whence == SEEK_SET)
        target = offset > toff_t(INT64_MAX - c->start) ? -1 : c->start + int64_t(offset);
    else if (whence == SEEK_CUR)
        target = s.Tell() + int64_t(offset);
    else
        target = s.Size() + int64_t(offset);
    // libtiff seeks past the end only to find the size or write; reading there just fails.
    if (target < c->start || !s.Seek(std::min(target, s.Size()), ImageStream::kFromStart))
        return toff_t(-1);
    return toff_t(target - c->start);
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t handle)
{
    auto* c = static_cast<ClientData*>(handle);
    return toff_t(std::max<int64_t>(0, c->stream->Size() - c->start));
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

int QuietHandler(TIFF*, void*, const char*, const char*, va_list) { return 1; }

void SilenceGlobalHandlers()
{
    // Messages raised before a handle exists would otherwise reach stderr.
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

TiffHandle Open(ClientData& client, int64_t maxAlloc)
{
    SilenceGlobalHandlers();
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(maxAlloc));
    TIFFOpenOptionsSetErrorHandlerExtR(options, QuietHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, QuietHandler, nullptr);
    // "m": no memory mapping (the procedures read through the stream).
    TIFF* tif = TIFFClientOpenExt("tiff", "rm", &client, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc,
                                  UnmapProc, options);
    TIFFOpenOptionsFree(options);
    return TiffHandle(tif);
}

void ReadInfo(TIFF* tif, TiffImageInfo& info)
{
    uint32_t width = 0, height = 0;
    uint16_t bits = 0, samples = 0, photometric = 0, orientation = 1;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    info.width = int(std::min<uint32_t>(width, INT32_MAX));
    info.height = int(std::min<uint32_t>(height, INT32_MAX));
    info.bitsPerSample = bits;
    info.samplesPerPixel = samples;
    info.photometric = photometric;
    info.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    info.tiled = TIFFIsTiled(tif);
    uint32_t band = 0;
    if (info.tiled) {
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &band);
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &band);
    }
    info.bandRows = int(std::clamp<uint32_t>(band, 1, std::max<uint32_t>(height, 1)));
}

// libtiff's RGBA reader over the first page, in stored row order.
class RgbaReader {
public:
    explicit RgbaReader(TIFF* tif) : m_tif(tif) {}
    ~RgbaReader()
    {
        if (m_begun)
            TIFFRGBAImageEnd(&m_image);
    }
    RgbaReader(const RgbaReader&) = delete;
    RgbaReader& operator=(const RgbaReader&) = delete;

    bool Begin(TiffImageInfo& info)
    {
        char message[1024] = {};
        if (!TIFFRGBAImageOK(m_tif, message) || !TIFFRGBAImageBegin(&m_image, m_tif, 1, message))
            return false;
        m_begun = true;
        // Rows as stored: the caller turns the picture by the orientation tag itself.
        m_image.req_orientation = ORIENTATION_TOPLEFT;
        m_image.orientation = ORIENTATION_TOPLEFT;
        info.hasAlpha = m_image.alpha != 0;
        return true;
    }

    // Rows [y, y + rows) into `raster` (rows * width packed ABGR words).
    bool Band(uint32_t* raster, int width, int y, int rows)
    {
        m_image.row_offset = y;
        m_image.col_offset = 0;
        return TIFFRGBAImageGet(&m_image, raster, uint32_t(width), uint32_t(rows)) != 0;
    }

private:
    TIFF* m_tif;
    TIFFRGBAImage m_image{};
    bool m_begun = false;
};

// One raster row (libtiff's packed words: red in the low byte) to blue-green-red(-alpha).
void RasterRow(const uint32_t* in, uint8_t* out, int width, bool alpha)
{
    for (int x = 0; x < width; ++x) {
        const uint32_t p = in[x];
        out[0] = uint8_t(TIFFGetB(p));
        out[1] = uint8_t(TIFFGetG(p));
        out[2] = uint8_t(TIFFGetR(p));
        if (alpha) {
            out[3] = uint8_t(TIFFGetA(p));
            out += 4;
        } else {
            out += 3;
        }
    }
    // libtiff premultiplies whatever alpha the file has.
    if (alpha)
        UnpremultiplyBgraRow(out - size_t(width) * 4, width);
}

// The rows of the first page band by band; `deliver` gets each row's raster words.
bool ForEachBand(const TiffImageInfo& info, int64_t maxPixelBytes, RgbaReader& reader,
                 const std::function<bool(const uint32_t*, int, int)>& deliver)
{
    int band = info.bandRows;
    if (int64_t(band) * info.width * 4 > kMaxBandBytes)
        band = info.height;
    if (!FitsPixelLimit(info.width, band, 32, maxPixelBytes))
        return false;
    std::vector<uint32_t> raster(size_t(info.width) * size_t(band));
    for (int y = 0; y < info.height; y += band) {
        const int rows = std::min(band, info.height - y);
        if (!reader.Band(raster.data(), info.width, y, rows) || !deliver(raster.data(), y, rows))
            return false;
    }
    return true;
}

bool OpenFirstPage(ClientData& client, int64_t maxPixelBytes, TiffHandle& tif, TiffImageInfo& info)
{
    if (!client.stream->IsOpen())
        return false;
    tif = Open(client, maxPixelBytes);
    if (!tif)
        return false;
    ReadInfo(tif.get(), info);
    return info.width > 0 && info.height > 0;
}

} // namespace

bool DecodeTiff(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, TiffImageInfo& info, DibImage& out)
{
    ClientData client{&stream, stream.IsOpen() ? stream.Tell() : 0};
    const bool ok = detail::Guarded([&] {
        TiffHandle tif;
        if (!OpenFirstPage(client, maxPixelBytes, tif, info))
            return false;
        RgbaReader reader(tif.get());
        if (!reader.Begin(info))
            return false;
        if (headerOnly)
            return true;
        const int bpp = info.hasAlpha ? 32 : 24;
        if (!AcceptableSize(info.width, info.height, bpp, maxPixelBytes))
            return false;
        DibImage image;
        if (!image.Create(info.width, info.height, bpp))
            return false;
        const bool read = ForEachBand(info, maxPixelBytes, reader, [&](const uint32_t* raster, int y, int rows) {
            for (int r = 0; r < rows; ++r)
                RasterRow(raster + size_t(r) * size_t(info.width), image.Row(y + r), info.width, info.hasAlpha);
            return true;
        });
        return read && out.Adopt(image);
    });
    if (!ok && !headerOnly)
        out.Reset();
    return ok;
}

bool ReadTiffRows(ImageStream& stream, int64_t maxPixelBytes, const std::function<bool(const TiffImageInfo&)>& start,
                  const std::function<bool(const uint8_t*)>& row)
{
    ClientData client{&stream, stream.IsOpen() ? stream.Tell() : 0};
    return detail::Guarded([&] {
        TiffHandle tif;
        TiffImageInfo info;
        if (!OpenFirstPage(client, maxPixelBytes, tif, info))
            return false;
        RgbaReader reader(tif.get());
        if (!reader.Begin(info) || !AcceptableSize(info.width, 1, 32, maxPixelBytes) || !start(info))
            return false;
        std::vector<uint8_t> straight(size_t(info.width) * 4);
        std::vector<uint8_t> flat(size_t(info.width) * 3);
        return ForEachBand(info, maxPixelBytes, reader, [&](const uint32_t* raster, int, int rows) {
            for (int r = 0; r < rows; ++r) {
                const uint32_t* in = raster + size_t(r) * size_t(info.width);
                if (info.hasAlpha) {
                    RasterRow(in, straight.data(), info.width, true);
                    FlattenBgraRow(straight.data(), flat.data(), info.width);
                } else {
                    RasterRow(in, flat.data(), info.width, false);
                }
                if (!row(flat.data()))
                    return false;
            }
            return true;
        });
    });
}

std::optional<TiffMetadata> ReadTiffMetadata(ImageStream& stream)
{
    ClientData client{&stream, stream.IsOpen() ? stream.Tell() : 0};
    std::optional<TiffMetadata> result;
    detail::Guarded([&] {
        TiffHandle tif;
        TiffImageInfo info;
        if (!stream.IsOpen() || !(tif = Open(client, kMaxDecodedBytes)))
            return false;
        ReadInfo(tif.get(), info);
        TiffMetadata m;
        m.orientation = info.orientation;
        toff_t exifOffset = 0;
        if (TIFFGetField(tif.get(), TIFFTAG_EXIFIFD, &exifOffset) && exifOffset != 0) {
            m.hasExif = true;
            char* text = nullptr;
            if (TIFFReadEXIFDirectory(tif.get(), exifOffset) && TIFFGetField(tif.get(), EXIFTAG_DATETIMEORIGINAL, &text)
                && text)
                m.taken = ParseExifDateTime(text);
        }
        result = m;
        return true;
    });
    return result;
}

} // namespace tessary
