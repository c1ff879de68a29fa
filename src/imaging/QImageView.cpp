#include "QImageView.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/DibDepths.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"
#include "imaging/PixelRows.h"

namespace tessary {

namespace {

QList<QRgb> QtTable(const ColorTable& t)
{
    QList<QRgb> out;
    out.reserve(t.Count());
    for (const DibColor& c : t.Entries())
        out.push_back(qRgb(c.red, c.green, c.blue));
    return out;
}

QImage::Format FormatOf(const DibImage& img)
{
    const DibHeader& h = *img.Header();
    switch (img.Bpp()) {
    case 1:
        return QImage::Format_Mono;
    case 4:
    case 8:
        return QImage::Format_Indexed8;
    case 16:
        if (h.masks == StandardMasks(15))
            return QImage::Format_RGB555;
        if (h.masks == StandardMasks(16))
            return QImage::Format_RGB16;
        return QImage::Format_RGB32;
    case 24:
        return QImage::Format_BGR888;
    default:
        return h.UsesBitFields() && h.masks != StandardMasks(32) ? QImage::Format_RGB32 : QImage::Format_ARGB32;
    }
}

} // namespace

QImage ToQImage(const DibImage& image)
{
    if (!image.IsValid())
        return {};
    QImage out;
    detail::Guarded([&] {
        const QImage::Format format = FormatOf(image);
        QImage q(image.Width(), image.Height(), format);
        if (q.isNull())
            return false;
        const int w = image.Width();
        if (image.Bpp() <= 8)
            q.setColorTable(QtTable(image.Colors()));
        const bool copyRows = (image.Bpp() != 4 && format != QImage::Format_RGB32);
        std::vector<DibColor> line;
        for (int y = 0; y < image.Height(); ++y) {
            uchar* d = q.scanLine(y);
            const uint8_t* s = image.Row(y);
            if (copyRows) {
                std::memcpy(d, s, size_t(std::min<qsizetype>(q.bytesPerLine(), image.Stride())));
            } else if (image.Bpp() == 4) {
                for (int x = 0; x < w; ++x)
                    d[x] = uchar(pixel::ReadRaw(s, x, 4));
            } else {
                line.resize(size_t(w));
                pixel::UnpackRow(*image.Header(), y, line.data());
                QRgb* p = reinterpret_cast<QRgb*>(d);
                for (int x = 0; x < w; ++x)
                    p[x] = qRgb(line[size_t(x)].red, line[size_t(x)].green, line[size_t(x)].blue);
            }
        }
        out = std::move(q);
        return true;
    });
    return out;
}

bool FromQImage(const QImage& source, DibImage& target, int bpp)
{
    if (source.isNull() || (bpp != 24 && bpp != 32) || !target.TakesDepth(bpp))
        return false;
    return detail::Guarded([&] {
        const QImage q = source.convertToFormat(bpp == 24 ? QImage::Format_BGR888 : QImage::Format_ARGB32);
        if (q.isNull())
            return false;
        DibImage out;
        if (!out.Create(q.width(), q.height(), bpp))
            return false;
        const size_t bytes = size_t(q.width()) * size_t(bpp / 8);
        for (int y = 0; y < q.height(); ++y)
            std::memcpy(out.Row(y), q.constScanLine(y), bytes);
        return target.Adopt(out);
    });
}

} // namespace tessary
