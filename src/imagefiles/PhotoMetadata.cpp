#include "PhotoMetadata.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "imagefiles/ExifReader.h"
#include "imagefiles/ImageStreams.h"
#include "util/PhotoFormat.h"

namespace tessary {

namespace {
// Offset of the TIFF header in an Exif record: the two length bytes and "Exif\0\0".
constexpr int64_t kTiffStart = 8;

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
    if (PhotoFormatFromPath(path) != PhotoFormat::Jpeg)
        return false;
    MarkerList markers;
    return ReadHeaderMarkers(path, markers) && markers.Find(kMarkerExif) != nullptr;
}

int ExifOrientation(const MarkerList& markers)
{
    const std::optional<ExifView> view = FirstExifView(markers);
    if (!view)
        return 1;
    const std::optional<ExifEntry> entry = view->Find(ExifIfd::kIfd0, kTagOrientation);
    const std::optional<double> value = entry ? view->Number(*entry) : std::nullopt;
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
    if (!view)
        return std::nullopt;
    const std::optional<ExifEntry> entry = view->Find(ExifIfd::kExifSubIfd, kTagDateTimeOriginal);
    const std::optional<std::string> text = entry ? view->Text(*entry) : std::nullopt;
    return text ? ParseExifDateTime(*text) : std::nullopt;
}

std::optional<DateTime> DateTaken(const QString& path)
{
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
