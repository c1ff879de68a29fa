#pragma once
// The file-type code of a photo, taken from its file name's extension. The same numbers are
// stored in album files; only BMP, JPEG and PNG have readers.

#include <QString>

namespace tessary {

enum PhotoFormat : int {
    kFormatUnknown = -1,
    kFormatVed = 0,
    kFormatBmp = 1,
    kFormatGif = 2,
    kFormatIco = 3,
    kFormatJpeg = 4,
    kFormatPng = 5,
    kFormatTif = 6,
};

// The code of the path's extension, compared lower-cased; kFormatUnknown for anything else.
PhotoFormat FormatOfPath(const QString& path);
// "bmp", "jpg", "png" ...; empty for kFormatUnknown.
QString CanonicalExtension(PhotoFormat format);
// True for the formats that can be read and stored in an album (BMP, JPEG, PNG).
bool HasReader(PhotoFormat format);

} // namespace tessary
