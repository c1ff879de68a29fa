#include "PhotoMetadata.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "imagefiles/ExifReader.h"
#include "imagefiles/HeifDecoder.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/TiffDecoder.h"
#include "imagefiles/WebpDecoder.h"
#include "util/PhotoFormat.h"

namespace tessary {

namespace {
// Offset of the TIFF header in an Exif record: the two length bytes and "Exif\0\0".
constexpr int64_t kTiffStart = 8;
// WebP EXIF chunks of real files take a few dozen KiB.
constexpr uint32_t kMaxWebpExifBytes = 4u << 20;

bool IsContainerFormat(PhotoFormat format)
{
    return format == PhotoFormat::Heif || format == PhotoFormat::Avif || format == PhotoFormat::Webp;
}

std::optional<TiffMetadata> TiffMetadataOf(const QString& path)
{
    FileStream stream(path);
    return stream.IsOpen() ? ReadTiffMetadata(stream) : std::nullopt;
}

std::optional<ExifView> FirstExifView(const MarkerList& markers)
{
    const MarkerRecord* record = markers.Find(kMarkerExif);
    return record ? ExifView::FromRecord(*record) : std::nullopt;
}

// A whole, non-negative count or offset.
std::optional<uint64_t> UnsignedValue(const ExifView& view, ExifIfd ifd, uint16_t tag)
{
    const std::optional<ExifEntry> entry = view.Find(ifd, tag);
    if (!entry)
        return std::nullopt;
    const std::optional<int64_t> value = view.Integer(*entry);
    if (!value || *value < 0)
        return std::nullopt;
    return uint64_t(*value);
}
} // namespace

bool ReadHeaderMarkers(const QString& path, MarkerList& out)
{
    FileStream stream(path);
    return stream.IsOpen() && ReadMarkers(stream, true, out);
}

bool HasExif(const QString& path)
{
    const PhotoFormat format = PhotoFormatFromPath(path);
    if (format == PhotoFormat::Jpeg) {
        MarkerList markers;
        return ReadHeaderMarkers(path, markers) && markers.Find(kMarkerExif) != nullptr;
    }
    if (format == PhotoFormat::Tiff) {
        const std::optional<TiffMetadata> m = TiffMetadataOf(path);
        return m && m->hasExif;
    }
    const std::optional<std::vector<uint8_t>> block = ReadContainerExif(path);
    return block && ExifView::FromTiffBytes(*block).has_value();
}

std::optional<std::vector<uint8_t>> ReadContainerExif(const QString& path)
{
    const PhotoFormat format = PhotoFormatFromPath(path);
    if (!IsContainerFormat(format))
        return std::nullopt;
    FileStream stream(path);
    if (!stream.IsOpen())
        return std::nullopt;
    if (format != PhotoFormat::Webp)
        return ReadHeifExif(stream, format);
    std::optional<std::vector<uint8_t>> chunk = ReadWebpChunk(stream, "EXIF", kMaxWebpExifBytes);
    // Some writers keep the JPEG marker's signature in front of the TIFF header.
    if (chunk && chunk->size() >= 6 && std::equal(chunk->begin(), chunk->begin() + 6, "Exif\0\0"))
        chunk->erase(chunk->begin(), chunk->begin() + 6);
    return chunk;
}

int PhotoOrientation(const QString& path)
{
    int orientation = 1;
    switch (PhotoFormatFromPath(path)) {
    case PhotoFormat::Jpeg: {
        MarkerList markers;
        if (ReadHeaderMarkers(path, markers))
            orientation = ExifOrientation(markers);
        break;
    }
    case PhotoFormat::Tiff: {
        const std::optional<TiffMetadata> m = TiffMetadataOf(path);
        orientation = m ? m->orientation : 1;
        break;
    }
    case PhotoFormat::Webp: {
        const std::optional<std::vector<uint8_t>> block = ReadContainerExif(path);
        const std::optional<ExifView> view = block ? ExifView::FromTiffBytes(*block) : std::nullopt;
        orientation = view ? ExifOrientation(*view) : 1;
        break;
    }
    default:
        break;
    }
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

int ExifOrientation(const MarkerList& markers)
{
    const std::optional<ExifView> view = FirstExifView(markers);
    return view ? ExifOrientation(*view) : 1;
}

int ExifOrientation(const ExifView& view)
{
    const std::optional<ExifEntry> entry = view.Find(ExifIfd::kIfd0, kTagOrientation);
    const std::optional<double> value = entry ? view.Number(*entry) : std::nullopt;
    if (!value || *value < 1 || *value > 8 || std::floor(*value) != *value)
        return 0;
    return int(*value);
}

std::optional<DateTime> ParseExifDateTime(std::string_view text)
{
    const std::string terminated(text.substr(0, std::min<size_t>(text.size(), 64)));
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(terminated.c_str(), "%04d:%02d:%02d %02d:%02d:%02d", &year, &month, &day, &hour,
                    &minute, &second)
        != 6)
        return std::nullopt;
    DateTime result;
    result.date.SetYmd(year, month, day);
    result.time = Time(hour, minute, second, 0);
    return result;
}

std::optional<DateTime> ExifDateTaken(const MarkerList& markers)
{
    const std::optional<ExifView> view = FirstExifView(markers);
    return view ? ExifDateTaken(*view) : std::nullopt;
}

std::optional<DateTime> ExifDateTaken(const ExifView& view)
{
    const std::optional<ExifEntry> entry = view.Find(ExifIfd::kExifSubIfd, kTagDateTimeOriginal);
    const std::optional<std::string> text = entry ? view.Text(*entry) : std::nullopt;
    return text ? ParseExifDateTime(*text) : std::nullopt;
}

std::optional<DateTime> DateTaken(const QString& path)
{
    const PhotoFormat format = PhotoFormatFromPath(path);
    if (format == PhotoFormat::Tiff) {
        const std::optional<TiffMetadata> m = TiffMetadataOf(path);
        return m ? m->taken : std::nullopt;
    }
    if (IsContainerFormat(format)) {
        const std::optional<std::vector<uint8_t>> block = ReadContainerExif(path);
        const std::optional<ExifView> view = block ? ExifView::FromTiffBytes(*block) : std::nullopt;
        return view ? ExifDateTaken(*view) : std::nullopt;
    }
    MarkerList markers;
    if (!ReadHeaderMarkers(path, markers))
        return std::nullopt;
    return ExifDateTaken(markers);
}

std::optional<ExifThumbnailData> ExifThumbnail(const MarkerList& markers)
{
    const MarkerRecord* record = markers.Find(kMarkerExif);
    const std::optional<ExifView> view = record ? ExifView::FromRecord(*record) : std::nullopt;
    if (!view)
        return std::nullopt;
    const std::optional<uint64_t> offset = UnsignedValue(*view, ExifIfd::kIfd1, kTagThumbnailOffset);
    const std::optional<uint64_t> length = UnsignedValue(*view, ExifIfd::kIfd1, kTagThumbnailLength);
    if (!offset || !length || *length == 0)
        return std::nullopt;
    const std::optional<std::span<const uint8_t>> bytes = view->Range(*offset, *length);
    if (!bytes)
        return std::nullopt;
    ExifThumbnailData data;
    data.bytes = *bytes;
    data.tiffOffset = uint32_t(*offset);
    data.streamOffset = record->streamOffset + kTiffStart + int64_t(*offset);
    return data;
}

} // namespace tessary
