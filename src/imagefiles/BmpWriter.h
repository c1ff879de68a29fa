#pragma once
// Writing images as BMP files, to memory for the thumbnail cache and to disk. Re-entrant.
//
// Layout: the 14-byte file header ("BM", file size = header size + image size + 14, two zero
// reserved words, pixel offset = file size - image size), the 40-byte info header of the image
// (positive height; compression 0, or 3 followed by the red, green and blue masks when the
// image uses bit fields), the colour table (4 bytes per entry), then the rows as the image
// stores them: bottom row first, each padded to 4 bytes.

#include <QByteArray>
#include <QString>

namespace tessary {

class DibImage;
class ImageStream;

// False for an empty image, a file that would pass 4 GiB, or a short write.
bool WriteBmp(ImageStream& stream, const DibImage& image);
// The whole file in memory; empty on failure.
QByteArray SaveBmpToMemory(const DibImage& image);
// Replaces the file atomically: on failure an earlier file of that name is left as it was.
bool SaveBmpToFile(const QString& path, const DibImage& image);

} // namespace tessary
