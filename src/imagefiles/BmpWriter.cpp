#include "BmpWriter.h"

#include <cstdint>
#include <vector>

#include "imaging/BitmapInfo.h"
#include "imaging/DibImage.h"
#include "imaging/Guard.h"
#include "imagefiles/ImageStreams.h"
#include "util/AtomicFile.h"

namespace tessary {

namespace {
void Put16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}
} // namespace

bool WriteBmp(ImageStream& stream, const DibImage& image)
{
    if (!image.IsValid() || !stream.IsOpen())
        return false;
    return detail::Guarded([&] {
        const std::vector<uint8_t> info = BitmapInfoBlock::ForImage(image).ToBytes();
        const int64_t headerSize = image.HeaderSize();
        const int64_t imageSize = image.ImageSize();
        const int64_t fileSize = headerSize + imageSize + 14;
        if (int64_t(info.size()) != headerSize || fileSize > int64_t(UINT32_MAX))
            return false;
        uint8_t fileHeader[14];
        fileHeader[0] = 'B';
        fileHeader[1] = 'M';
        Put32(fileHeader + 2, uint32_t(fileSize));
        Put16(fileHeader + 6, 0);
        Put16(fileHeader + 8, 0);
        Put32(fileHeader + 10, uint32_t(fileSize - imageSize));
        return stream.Write(fileHeader, 1, sizeof fileHeader) == sizeof fileHeader
            && stream.Write(info.data(), 1, info.size()) == info.size()
            && stream.Write(image.Bits(), 1, size_t(imageSize)) == size_t(imageSize);
    });
}

QByteArray SaveBmpToMemory(const DibImage& image)
{
    QByteArray bytes;
    detail::Guarded([&] {
        GrowableMemoryStream stream;
        if (!WriteBmp(stream, image))
            return false;
        bytes = stream.TakeBytes();
        return true;
    });
    return bytes;
}

bool SaveBmpToFile(const QString& path, const DibImage& image)
{
    const QByteArray bytes = SaveBmpToMemory(image);
    return !bytes.isEmpty() && WriteFileAtomically(path, bytes);
}

} // namespace tessary
