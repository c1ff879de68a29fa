#pragma once
// The three questions the program asks of a photo's Exif block: orientation, date taken and
// the embedded thumbnail. A JPEG carries the block in an APP1 marker, HEIF and AVIF files as
// an Exif item, WebP files as an EXIF chunk; a TIFF file is itself the structure, with the
// Exif facts in its first directory and the Exif directory it points to. Metadata is only
// read. Re-entrant: the thumbnail workers and the UI thread call these on different files at
// once.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>
#include <QString>

#include "imagefiles/JpegMarkers.h"
#include "util/DateTime.h"

namespace tessary {

class ExifView;

// The leading markers of a JPEG file, read headers-only (no entropy-coded data is touched).
// False when the file cannot be opened or its markers are malformed.
bool ReadHeaderMarkers(const QString& path, MarkerList& out);

// The file carries an Exif block its format reader finds: a JPEG (by extension) whose header
// markers hold one, a HEIF, AVIF or WebP file with an Exif item or chunk, a TIFF file whose
// first page points to an Exif directory. False for every other file.
bool HasExif(const QString& path);

// The Exif block of a HEIF, AVIF or WebP file (by extension) from its TIFF header on; nothing
// for other formats or when it is missing or unreadable.
std::optional<std::vector<uint8_t>> ReadContainerExif(const QString& path);

// How a photo's decoded pixels (as its codec gives them) must be turned to stand upright:
// the Exif orientation of a JPEG or WebP file, the Orientation tag of a TIFF file, 1 for HEIF
// and AVIF (their decoder applies the container's rotation already) and every other format.
// Always 1..8.
int PhotoOrientation(const QString& path);

// IFD0's orientation (1-8) of the first Exif block; 0 when that block is valid but the tag is
// missing or out of range; 1 when there is no valid Exif block. 0 and 1 both mean "as stored".
int ExifOrientation(const MarkerList& markers);
// IFD0's orientation of a block (1-8), 0 when the tag is missing or out of range.
int ExifOrientation(const ExifView& view);

// "YYYY:MM:DD HH:MM:SS" as scanned by "%04d:%02d:%02d %02d:%02d:%02d": nothing unless all six
// fields are there. An impossible date gives the null date and an impossible time the invalid
// time, and the pair is still returned.
std::optional<DateTime> ParseExifDateTime(std::string_view text);
// The Exif sub-IFD's DateTimeOriginal (tag 36867) of the first Exif block.
std::optional<DateTime> ExifDateTaken(const MarkerList& markers);
std::optional<DateTime> ExifDateTaken(const ExifView& view);
// The same for a file of any format with an Exif block (see HasExif), read headers-only.
std::optional<DateTime> DateTaken(const QString& path);

struct ExifThumbnailData {
    // Points into the Exif record of the list it came from.
    std::span<const uint8_t> bytes;
    uint32_t tiffOffset = 0; // the value of tag 513
    int64_t streamOffset = 0; // where the bytes start in the stream the markers came from
};

// IFD1's thumbnail (tags 513 offset and 514 length) of the first Exif block; nothing when a
// tag is missing, the length is 0 or the bytes do not lie inside the block.
std::optional<ExifThumbnailData> ExifThumbnail(const MarkerList& markers);

} // namespace tessary
