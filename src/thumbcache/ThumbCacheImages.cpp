// The image-level Store and Lookup of ThumbCacheStore: a record's payload is the image as a
// BMP file, written and read in place through the mapped view.
#include "ThumbCacheStore.h"

#include "imaging/BitmapInfo.h"
#include "imagefiles/BmpReader.h"
#include "imagefiles/BmpWriter.h"
#include "imagefiles/DecodeLimits.h"
#include "imaging/DibImage.h"
#include "imagefiles/ImageStreams.h"

namespace tessary {

namespace {
// An empty or oversized image still goes through, so that the path loses its old entry as
// with any failed store; the writer then refuses it.
uint32_t PayloadSizeOf(const DibImage& image)
{
    const int64_t fileSize = image.FileSize();
    return fileSize > 0 && fileSize <= int64_t(ThumbCacheFile::MaxCapacity()) ? uint32_t(fileSize) : 0;
}

ThumbCacheFile::PayloadWriter BmpPayloadWriter(const DibImage& image)
{
    return [&image](uint8_t* dest, uint32_t size) {
        if (size == 0)
            return false;
        MemoryStream stream(dest, size, MemoryStream::kWritable);
        return WriteBmp(stream, image) && stream.Tell() == int64_t(size);
    };
}
} // namespace

bool ThumbCacheStore::Store(const DibImage& image, const QString& photoPath)
{
    return StoreRecord(photoPath, PayloadSizeOf(image), BmpPayloadWriter(image), false);
}

bool ThumbCacheStore::StoreOnce(const DibImage& image, const QString& photoPath)
{
    return StoreRecord(photoPath, PayloadSizeOf(image), BmpPayloadWriter(image), true);
}

bool ThumbCacheStore::Lookup(DibImage& image, const QString& photoPath)
{
    DibImage read;
    const bool found = Lookup(photoPath, [&read](const uint8_t* data, uint32_t size) {
        MemoryStream stream(data, size);
        BitmapInfoBlock block;
        return ReadBmp(stream, false, kMaxDecodedBytes, block, read);
    });
    return found && image.Adopt(read);
}

} // namespace tessary
