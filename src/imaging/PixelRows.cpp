#include "PixelRows.h"

#include "imaging/PixelFormat.h"

namespace tessary::pixel {

void UnpackRow(const DibHeader& h, int y, DibColor* out)
{
    const uint8_t* row = h.rows[size_t(y)];
    const int w = h.Width();
    switch (h.Bpp()) {
    case 1:
    case 4:
    case 8:
        for (int x = 0; x < w; ++x)
            out[x] = h.colors.At(int(ReadRaw(row, x, h.Bpp())));
        break;
    case 16:
        for (int x = 0; x < w; ++x) {
            out[x] = UnpackMasked(ReadRaw(row, x, 16), h);
            out[x].alpha = 255;
        }
        break;
    case 24:
        for (int x = 0; x < w; ++x, row += 3)
            out[x] = DibColor{row[0], row[1], row[2], 255};
        break;
    case 32:
        if (h.UsesBitFields()) {
            for (int x = 0; x < w; ++x)
                out[x] = UnpackMasked(ReadRaw(row, x, 32), h);
        } else {
            for (int x = 0; x < w; ++x, row += 4)
                out[x] = DibColor{row[0], row[1], row[2], row[3]};
        }
        break;
    default:
        break;
    }
}

} // namespace tessary::pixel
