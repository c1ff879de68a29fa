#pragma once
// Loading pictures and thumbnails: the entry points the rest of the program uses. Every
// function is re-entrant; the thumbnail workers and the UI thread call them at once on
// different files. Nothing is shown or logged; failures are false, null or 0.

#include <cstddef>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QString>

#include "imaging/DibDepths.h"
#include "imagefiles/Picture.h"

namespace tessary {

// ---- pictures ------------------------------------------------------------------------------

// The picture of a file, its format taken from the extension.
std::unique_ptr<Picture> LoadPicture(const QString& path);
// The picture of a file image in memory, its format recognised from its first bytes ("BM",
// the PNG signature, 0xFF 0xD8, "GIF8", a TIFF byte-order mark, "RIFF" with "WEBP", or a HEIF
// "ftyp" box); the bytes are only read during the call.
std::unique_ptr<Picture> LoadPicture(const void* data, size_t size);
// The program's resource `id` of the format's resource type.
std::unique_ptr<Picture> LoadPicture(PhotoFormat format, int resourceId);
// The format of a file image from its first bytes; PhotoFormat::Unrecognised when none fits.
PhotoFormat FormatOfBytes(const void* data, size_t size);

// Width and height from the file's header, without decoding pixels.
std::optional<DibSize> LoadHeader(const QString& path);

// The BMP writer into memory at the picture's stored depth (see ImageForSaving); empty on
// failure.
QByteArray SavePicture(const Picture& picture);

// ---- thumbnails ----------------------------------------------------------------------------

// Smallest box LoadImageFitted takes.
inline constexpr DibSize kMinFittedBox{4, 4};

// The thumbnail and preview loader: a 24-bit image of the photo, fitted into `maximum` with
// smoothing when it is larger in either direction, never enlarged. A JPEG photo's Exif
// thumbnail is used when it has one (turned upright by its orientation); otherwise the photo
// is decoded without orientation, a JPEG at a reduced scale when the box is at most half the
// photo in both directions (the result has the same size as the full decode would give).
// BMP and PNG photos larger than the box are shrunk while their rows are read (see
// ReadBmpFitted, DecodePngFitted), so only a band of rows is held, with the same result.
// TIFF photos are shrunk band by band as libtiff decodes them, WebP photos decoded by the
// library at twice the fitted size when they are at least four times larger; both are then
// turned upright by their orientation (PhotoOrientation). A HEIF or AVIF photo's embedded
// thumbnail is used when it has one, as a JPEG's Exif thumbnail is; both come upright from
// their decoder. GIF photos are decoded whole.
// False for a maximum below 4 x 4, unreadable files and a fitted size of 0.
bool LoadImageFitted(DibImage& target, const QString& path, DibSize maximum);

// A JPEG file's Exif thumbnail as a 24-bit image, turned upright when applyOrientation is
// set. Returns the orientation (1-8; a missing or invalid tag counts as 1), or 0 when the file
// is not a JPEG by extension, has no readable Exif thumbnail, or a step fails (target then
// unchanged).
int LoadExifThumbnail(DibImage& target, const QString& path, bool applyOrientation);

// A HEIF or AVIF file's (by extension) embedded thumbnail of its primary image as a 24-bit
// image, upright, alpha flattened onto white; thumbnails of more than kMaxEmbeddedPixelBytes
// are refused. False when the file has none or it cannot be decoded (target then unchanged).
bool LoadHeifThumbnail(DibImage& target, const QString& path);

// An embedded JPEG (an Exif thumbnail) decoded by the JPEG reader into a 24-bit image.
// Embedded thumbnails that claim more than kMaxEmbeddedPixelBytes of pixels are refused.
inline constexpr int64_t kMaxEmbeddedPixelBytes = int64_t(8) << 20;
bool DecodeEmbeddedJpeg(DibImage& target, const uint8_t* bytes, size_t length);

// ---- artwork -------------------------------------------------------------------------------

// A bitmap resource converted to `depth` (0 keeps the stored depth; 1, 4, 8, 15, 16, 24, 32).
bool LoadBitmapResource(DibImage& target, int resourceId, int depth = 0);

} // namespace tessary
