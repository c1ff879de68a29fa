#pragma once
// The JPEG codec: reads JPEG files at full size through the JPEG library into a JpegPicture
// (grey files come out as grey colour, four-component files as inverted CMYK turned into
// colour). It has no writer.

#include "imagefiles/ImageCodec.h"

namespace tessary {

class JpegCodec final : public ImageCodec {
public:
    // Always fails: nothing in the program writes JPEG files.
    bool Write(ImageStream& stream, const Picture& picture) override;
    bool Read(Picture& picture, ImageStream& stream, bool headerOnly = false) override;
    PhotoFormat FormatCode() const override { return PhotoFormat::Jpeg; }
};

} // namespace tessary
