#pragma once
// What the photo generators of the benchmarks and the end-to-end journeys share: the Exif
// block of a camera photo and writing the bytes to a file.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ExifBuilder.h"
#include "JpegFixture.h"

namespace tessary::test {

// `jpeg` with an Exif block after its SOI: the orientation (274), the date taken (36867,
// "YYYY:MM:DD HH:MM:SS") and, when not empty, the embedded JPEG thumbnail.
inline std::vector<uint8_t> WithCameraExif(const std::vector<uint8_t>& jpeg, uint16_t orientation,
                                           const std::string& taken, const std::vector<uint8_t>& thumbnail = {})
{
    TiffBuilder tiff(false);
    tiff.AddShort(TiffBuilder::kIfd0, 274, orientation);
    tiff.AddAscii(TiffBuilder::kExif, 36867, taken);
    if (!thumbnail.empty())
        tiff.SetThumbnail(thumbnail);
    return InsertAfterSoi(jpeg, ExifSegment(tiff.Build()));
}

// False when the file cannot be written whole.
inline bool WriteBytesToFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace tessary::test
