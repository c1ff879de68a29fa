#pragma once
// The TIFF codec: the first page of a TIFF file through libtiff into a TiffPicture, an alpha
// sample as its mask. The pixels stay as stored; the Orientation tag is in the options. It
// has no writer.

#include "imagefiles/ImageCodec.h"

namespace tessary {

class TiffCodec final : public ImageCodec {
public:
    // Always fails: nothing in the program writes TIFF files.
    bool Write(ImageStream& stream, const Picture& picture) override;
    bool Read(Picture& picture, ImageStream& stream, bool headerOnly = false) override;
    PhotoFormat FormatCode() const override { return PhotoFormat::Tiff; }
};

} // namespace tessary
