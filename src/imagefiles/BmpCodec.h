#pragma once
// The BMP codec: reads BMP files (every depth, run-length coded, bit fields, top-down) into a
// BmpPicture and writes pictures back as BMP files at their stored depth.

#include "imagefiles/ImageCodec.h"

namespace tessary {

class BmpCodec final : public ImageCodec {
public:
    // The picture at its stored depth (ImageForSaving), laid out as BmpWriter.h describes.
    bool Write(ImageStream& stream, const Picture& picture) override;
    // 24-bit files become the colour plane; 32-bit files are split into colour and mask, the
    // mask dropped when every alpha byte is 0 (such files carry no alpha) or 255; other depths
    // are widened to 24 bits.
    bool Read(Picture& picture, ImageStream& stream, bool headerOnly = false) override;
    // Bitmap resources are packed bitmaps (no file header) or whole BMP files.
    bool LoadFromResource(Picture& picture, int id, bool headerOnly = false) override;
    PhotoFormat FormatCode() const override { return PhotoFormat::Bmp; }

private:
    bool Finish(Picture& picture, const BitmapInfoBlock& block, bool readOk, bool headerOnly, DibImage& image);
};

} // namespace tessary
