#pragma once
// Internal: reading BMP files and packed bitmaps (bitmap resources) into images, for the BMP
// codec and the bitmap resource loader. Re-entrant.
//
// The result keeps the file's depth, turned upright: 1, 4 and 8 bits with their table, 16
// bits as plain 5-5-5, 24 bits, 32 bits as plain blue, green, red, alpha (16-bit bit fields
// with an alpha mask come out as 32 bits). Nothing is read outside the data the stream holds:
// the header, the colour table and the pixel rows must all lie inside it.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "imaging/BitmapInfo.h"
#include "imagefiles/DecodeLimits.h"
#include "imaging/DibImage.h"

namespace tessary {

class ImageStream;

// Reads a BMP file ("BM" file header, info block, pixel rows) from the stream's position.
// `block` receives the info block as soon as it has been read; a header-only read stops
// there. Fails for a bad signature, header sizes, depths or compressions that cannot be read,
// fewer pixel bytes than the header promises, run-length data that runs out or out of the
// image, and pictures whose rows would pass maxPixelBytes (checked before allocation).
// `out` is replaced on success and left alone otherwise.
bool ReadBmp(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, BitmapInfoBlock& block, DibImage& out);

// A packed bitmap: the info block, the colour table and the rows, without a file header.
bool ReadPackedBitmap(const uint8_t* data, size_t size, int64_t maxPixelBytes, DibImage& out);

// Decodes the run-length data at the stream's position (RLE8 for 8-bit, RLE4 for 4-bit
// images) into `image`: line i of the data goes to image row i. False when the stream ends
// before the end-of-picture code or a run or literal would write outside a row (its stride)
// or below the last row.
bool DecodeBmpRle(ImageStream& stream, DibImage& image);

// The same decoding into lines handed out one at a time: `line(row)` gives line `row` (stride
// bytes; rows only ever increase) or null to stop with false.
bool DecodeBmpRleLines(ImageStream& stream, int bpp, int64_t stride, int64_t rows,
                       const std::function<uint8_t*(int64_t)>& line);

// A BMP file shrunk to fit `box` while its rows are read, never holding the whole picture:
// run-length files and plain 1-, 4-, 8-, 16- (5-5-5) and 24-bit files. The result is exactly
// what the full decode and ResizeInto(smooth) give, and malformed files are refused as the
// reader refuses them; the pixel limit applies to the rows at the file's depth, so a picture
// whose 24-bit form the full decode cannot make still gets its thumbnail. NotStreamed (the
// stream's position then undefined) for pictures that fit the box and for the depths and
// layouts left to the full decode.
FittedRead ReadBmpFitted(ImageStream& stream, DibSize box, int64_t maxPixelBytes, DibImage& target);

} // namespace tessary
