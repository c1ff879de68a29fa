#pragma once
// The file-type code of a photo, taken from a file name's extension (compared without regard
// to case). Codes 0 to 6 are the ones album files have always used; the formats read through
// their own libraries since (WebP, HEIF, AVIF) follow after 6. Every code with a reader can be
// stored in an album: BMP, GIF, JPEG, PNG, TIFF, WebP, HEIF and AVIF.

#include <QString>
#include <QStringView>

namespace tessary {

enum class PhotoFormat : int {
    Unrecognised = -1,
    Reserved = 0, // "ved"
    Bmp = 1,      // "bmp", "dib", "rle"
    Gif = 2,      // "gif" (its first frame)
    Icon = 3,     // "ico"
    Jpeg = 4,     // "jpg", "jpeg", "jpe", "jfif"
    Png = 5,      // "png"
    Tiff = 6,     // "tif", "tiff" (its first page)
    Webp = 7,     // "webp"
    Heif = 8,     // "heic", "heif", "hif"
    Avif = 9,     // "avif"
};

// The highest code in use.
inline constexpr int kLastPhotoFormatCode = 9;

// The code of an extension given without its dot.
PhotoFormat PhotoFormatFromExtension(QStringView extension);
// The code of a path's extension (the text after the last dot of the file name).
PhotoFormat PhotoFormatFromPath(const QString& path);
// "bmp", "gif", "jpg", "png", "tif", "webp", "heic", "avif" ...; empty for an unknown code.
const char* CanonicalExtension(PhotoFormat format);
// A format with a reader, which an album may hold.
bool IsStorablePhotoFormat(PhotoFormat format);
// The code stored in a file, when it names a storable format.
bool StorablePhotoFormatFromCode(int code, PhotoFormat& format);
// The type as the interface names it before " image": "JPEG", "PNG", "GIF", "TIFF", "WebP",
// "HEIF", "AVIF", and "Bitmap" for BMP and every other code.
const char* PhotoTypeName(PhotoFormat format);
// Every extension of the storable formats, lower case without the dot, in table order.
QStringList StorablePhotoExtensions();

} // namespace tessary
