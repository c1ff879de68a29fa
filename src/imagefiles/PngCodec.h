#pragma once
// The PNG codec: reads PNG files through the PNG library into a PngPicture, pictures with an
// alpha channel or a tRNS chunk split into colour and mask. It has no writer.

#include "imagefiles/ImageCodec.h"

namespace tessary {

class PngCodec final : public ImageCodec {
public:
    // Always fails: nothing in the program writes PNG files.
    bool Write(ImageStream& stream, const Picture& picture) override;
    bool Read(Picture& picture, ImageStream& stream, bool headerOnly = false) override;
    PhotoFormat FormatCode() const override { return PhotoFormat::Png; }
};

} // namespace tessary
