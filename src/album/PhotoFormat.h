#pragma once
// The file-type code of a photo, taken from a file name's extension (compared without regard
// to case). Only BMP, JPEG and PNG photos can be read and stored in an album.

#include <QString>
#include <QStringView>

namespace tessary {

enum class PhotoFormat : int {
    Unrecognised = -1,
    Reserved = 0, // "ved"
    Bmp = 1,      // "bmp", "dib", "rle"
    Gif = 2,
    Icon = 3,
    Jpeg = 4,     // "jpg", "jpeg", "jpe", "jfif"
    Png = 5,
    Tiff = 6,     // "tif"
};

// The code of an extension given without its dot.
PhotoFormat PhotoFormatFromExtension(QStringView extension);
// The code of a path's extension (the text after the last dot of the file name).
PhotoFormat PhotoFormatFromPath(const QString& path);
// "bmp", "jpg", "png" ...; empty for a code outside 0..6.
const char* CanonicalExtension(PhotoFormat format);
// BMP, JPEG or PNG.
bool IsStorablePhotoFormat(PhotoFormat format);
// The code stored in a file, when it names a storable format.
bool StorablePhotoFormatFromCode(int code, PhotoFormat& format);

} // namespace tessary
