#pragma once
// The GIF codec: the first frame of a GIF file through giflib into a GifPicture, transparency
// (a transparent colour, or screen the frame leaves uncovered) as its mask. It has no writer.

#include "imagefiles/ImageCodec.h"

namespace tessary {

class GifCodec final : public ImageCodec {
public:
    // Always fails: nothing in the program writes GIF files.
    bool Write(ImageStream& stream, const Picture& picture) override;
    bool Read(Picture& picture, ImageStream& stream, bool headerOnly = false) override;
    PhotoFormat FormatCode() const override { return PhotoFormat::Gif; }
};

} // namespace tessary
