#pragma once
// A decoded picture as the codecs fill and drain it: a masked image (24-bit colour plane plus
// an optional 8-bit alpha mask) and a format record (where it came from, its stored depth and
// size, and the options of its format). One picture class per readable format.
//
// Ownership: a picture owns its planes. A failed load leaves it empty. Pictures belong to the
// thread that made them.

#include <memory>

#include <QString>

#include "imaging/BitmapInfo.h"
#include "imaging/DibDepths.h"
#include "imaging/MaskedImage.h"
#include "util/PhotoFormat.h"

namespace tessary {

// The part of the format record every format has.
struct PictureRecord {
    QString sourcePath; // set after a successful load from a file
    int bpp = 0;        // bits per pixel as stored in the file
    int width = 0;
    int height = 0;
    QString text;
};

struct JpegOptions {
    int components = 3;
};

struct PngOptions {
    int bitDepth = 8;
    int channels = 4;
    int colorType = 6;
    int interlace = 0;
};

struct BmpOptions {
    // As read from the file; the height keeps its sign (negative: stored top-down).
    BitmapInfoBlock info;
};

struct GifOptions {
    int colors = 0; // entries of the first frame's colour table
    bool interlaced = false;
};

struct TiffOptions {
    int bitsPerSample = 8;
    int samplesPerPixel = 3;
    int photometric = 2;
    int orientation = 1; // the Orientation tag; the pixels are as stored
};

struct WebpOptions {
    bool lossless = false;
    bool animated = false; // the picture is the animation's first frame
};

// HEIF and AVIF.
struct HeifOptions {
    int bitDepth = 8;
    bool hasThumbnail = false;
};

class Picture {
public:
    virtual ~Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    virtual PhotoFormat Format() const = 0;
    // Takes over depth, size and format options (not path, text or pixels) of a picture of
    // the same format; false for another format.
    virtual bool CopyFormatFrom(const Picture& other) = 0;

    bool IsEmpty() const { return !image.IsValid(); }
    bool HasAlpha() const { return image.HasMask(); }
    DibSize Size() const { return image.Size(); }
    // Empties the planes; the record stays.
    void Clear() { image.Reset(); }

    MaskedImage image;
    PictureRecord record;

protected:
    Picture() = default;
    void CopyCommonFormat(const Picture& other)
    {
        record.bpp = other.record.bpp;
        record.width = other.record.width;
        record.height = other.record.height;
    }
};

class JpegPicture final : public Picture {
public:
    PhotoFormat Format() const override { return PhotoFormat::Jpeg; }
    bool CopyFormatFrom(const Picture& other) override;
    JpegOptions options;
};

class PngPicture final : public Picture {
public:
    PhotoFormat Format() const override { return PhotoFormat::Png; }
    bool CopyFormatFrom(const Picture& other) override;
    PngOptions options;
};

class BmpPicture final : public Picture {
public:
    PhotoFormat Format() const override { return PhotoFormat::Bmp; }
    bool CopyFormatFrom(const Picture& other) override;
    BmpOptions options;
};

class GifPicture final : public Picture {
public:
    PhotoFormat Format() const override { return PhotoFormat::Gif; }
    bool CopyFormatFrom(const Picture& other) override;
    GifOptions options;
};

class TiffPicture final : public Picture {
public:
    PhotoFormat Format() const override { return PhotoFormat::Tiff; }
    bool CopyFormatFrom(const Picture& other) override;
    TiffOptions options;
};

class WebpPicture final : public Picture {
public:
    PhotoFormat Format() const override { return PhotoFormat::Webp; }
    bool CopyFormatFrom(const Picture& other) override;
    WebpOptions options;
};

// HEIF and AVIF pictures differ only in their code.
class HeifPicture final : public Picture {
public:
    explicit HeifPicture(PhotoFormat format = PhotoFormat::Heif) : m_format(format) {}
    PhotoFormat Format() const override { return m_format; }
    bool CopyFormatFrom(const Picture& other) override;
    HeifOptions options;

private:
    PhotoFormat m_format;
};

// The picture object of a format with a reader; null for every other code.
std::unique_ptr<Picture> MakePicture(PhotoFormat format);

// ---- picture to image ----------------------------------------------------------------------

// The picture as a 24-bit image: an alpha picture blended onto `background` (each pixel moves
// toward its colour by its alpha), others copied. False for an empty picture.
bool GetImage(const Picture& picture, DibImage24& target, DibColor background = kDibWhite);
// The picture flattened onto white and, when it is larger than `maximum` in either direction,
// shrunk smoothly to the size the fit rule gives; otherwise at its natural size (never
// enlarged). False for an empty picture, a maximum without area, or a fitted size of 0.
bool GetFittedImage(const Picture& picture, DibImage24& target, DibSize maximum);
// The picture at its stored depth, as the BMP writer saves it: 32 bits: colour and mask
// joined (alpha 255 without a mask); 24 bits (or no depth recorded): flattened onto white;
// 1, 4, 8, 15, 16 bits: flattened onto white, then converted to that depth.
bool ImageForSaving(const Picture& picture, DibImage& target);

} // namespace tessary
