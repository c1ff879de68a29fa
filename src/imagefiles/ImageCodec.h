#pragma once
// The codec objects: one per readable format, made per operation by MakeCodec. A codec fills
// a picture of its own format from a stream (a file, memory, a resource) and, for BMP, writes
// a picture out. Codecs keep no shared state; each thread makes its own.
//
// Failure: every operation returns false and shows nothing. A failed load leaves the picture
// empty (its planes are cleared before reading); its record then holds whatever the header
// gave. Readers never allocate more than the pixel limit (kMaxDecodedBytes unless lowered)
// and never read outside their stream.

#include <cstddef>
#include <memory>

#include <QByteArray>
#include <QString>

#include "imagefiles/DecodeLimits.h"
#include "imagefiles/Picture.h"

namespace tessary {

class ImageStream;

class ImageCodec {
public:
    virtual ~ImageCodec() = default;
    ImageCodec(const ImageCodec&) = delete;
    ImageCodec& operator=(const ImageCodec&) = delete;

    // Writes the picture as a file of the codec's format, replacing the file atomically.
    bool SaveToFile(const QString& path, const Picture& picture);
    // The format's writer; only BMP has one.
    virtual bool Write(ImageStream& stream, const Picture& picture) = 0;
    bool SaveToMemory(QByteArray& out, const Picture& picture);

    // On success the picture's source path becomes `path`.
    bool LoadFromFile(Picture& picture, const QString& path, bool headerOnly = false);
    // The format's reader, from the stream's position.
    virtual bool Read(Picture& picture, ImageStream& stream, bool headerOnly = false) = 0;
    bool LoadFromMemory(Picture& picture, const void* data, size_t size, bool headerOnly = false);
    // The program's resource `id` of the format's resource type (see AppResources.h).
    virtual bool LoadFromResource(Picture& picture, int id, bool headerOnly = false);
    // Reads the file's header into a temporary picture and copies its format record (depth,
    // size, options) into `picture`; the planes and source path are left alone.
    bool LoadInfo(Picture& picture, const QString& path);

    virtual PhotoFormat FormatCode() const = 0;
    // The picture is of the codec's format (a null picture fits only a codec of no format).
    bool Accepts(const Picture* picture) const;

    // Lowers (or restores) the pixel limit of this codec's reads.
    void SetMaxPixelBytes(int64_t bytes) { m_maxPixelBytes = bytes; }
    int64_t MaxPixelBytes() const { return m_maxPixelBytes; }

protected:
    ImageCodec() = default;

private:
    int64_t m_maxPixelBytes = kMaxDecodedBytes;
};

// The codec of a format: BMP, GIF, JPEG, PNG, TIFF, WebP, HEIF and AVIF; null for every other
// code.
std::unique_ptr<ImageCodec> MakeCodec(PhotoFormat format);

// The picture of a file, its format taken from the extension; null for a format without a
// reader or a file that cannot be read.
std::unique_ptr<Picture> MakePictureFromFile(const QString& path, bool headerOnly = false);

} // namespace tessary
