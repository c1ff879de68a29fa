#pragma once
// The WebP codec: a WebP file (an animation's first frame) through libwebp into a
// WebpPicture, alpha as its mask. The pixels stay as stored (an Exif orientation is not
// applied). It has no writer.

#include "imagefiles/ImageCodec.h"

namespace tessary {

class WebpCodec final : public ImageCodec {
public:
    // Always fails: nothing in the program writes WebP files.
    bool Write(ImageStream& stream, const Picture& picture) override;
    bool Read(Picture& picture, ImageStream& stream, bool headerOnly = false) override;
    PhotoFormat FormatCode() const override { return PhotoFormat::Webp; }
};

} // namespace tessary
