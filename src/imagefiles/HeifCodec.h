#pragma once
// The HEIF and AVIF codec (one object per format): the primary image of the file through
// libheif into a HeifPicture, upright as the container says, alpha as its mask. A file whose
// brands declare the other format is refused. It has no writer.

#include "imagefiles/ImageCodec.h"

namespace tessary {

class HeifCodec final : public ImageCodec {
public:
    // PhotoFormat::Heif or PhotoFormat::Avif.
    explicit HeifCodec(PhotoFormat format) : m_format(format) {}
    // Always fails: nothing in the program writes these files.
    bool Write(ImageStream& stream, const Picture& picture) override;
    bool Read(Picture& picture, ImageStream& stream, bool headerOnly = false) override;
    PhotoFormat FormatCode() const override { return m_format; }

private:
    PhotoFormat m_format;
};

} // namespace tessary
