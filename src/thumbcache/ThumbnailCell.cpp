#include "ThumbnailCell.h"

#include "imaging/DibDepths.h"

namespace tessary {

DibRect CentredRect(DibSize cell, DibSize size)
{
    const int32_t left = cell.width / 2 - size.width / 2;
    const int32_t top = cell.height / 2 - size.height / 2;
    return DibRect::At(left, top, size.width, size.height);
}

bool ComposeCell(const DibImage& photo, const CellStyle& style, DibImage& cell)
{
    if (!photo.IsValid() || style.cell.IsEmpty())
        return false;
    DibImage24 made;
    if (!made.Create24(style.cell))
        return false;
    const DibRect place = CentredRect(style.cell, photo.Size());
    const DibColor outside = style.framed ? style.frame : style.background;
    // A photo that covers the whole cell leaves nothing to fill.
    if (!place.Contains(made.Rect()) && !made.FillRect(made.Rect(), outside, place))
        return false;
    if (!made.DrawImage(photo, place.left, place.top))
        return false;
    return cell.Adopt(made);
}

bool DrawBadge(DibImage& cell, const DibImage& badge)
{
    if (!cell.IsValid() || !badge.IsValid())
        return false;
    return cell.DrawImage(badge, cell.Width() - badge.Width(), 0);
}

bool ComposePlaceholder(const QImage& icon, const CellStyle& style, DibImage& cell)
{
    DibImage24 made;
    if (style.cell.IsEmpty() || !made.Create24(style.cell) || !made.Clear(style.frame))
        return false;
    if (!icon.isNull()) {
        const QImage argb = icon.convertToFormat(QImage::Format_ARGB32);
        const int left = (style.cell.width - argb.width()) / 2;
        const int top = (style.cell.height - argb.height()) / 2;
        const DibColor bk = style.background;
        for (int y = 0; y < argb.height(); ++y) {
            const int cy = top + y;
            if (cy < 0 || cy >= made.Height())
                continue;
            const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                const int cx = left + x;
                if (cx < 0 || cx >= made.Width())
                    continue;
                const QRgb p = line[x];
                const int a = qAlpha(p);
                auto mix = [a](int over, int under) { return uint8_t((over * a + under * (255 - a) + 127) / 255); };
                uint8_t* px = made.Pixel(cx, cy);
                px[0] = mix(qBlue(p), bk.blue);
                px[1] = mix(qGreen(p), bk.green);
                px[2] = mix(qRed(p), bk.red);
            }
        }
    }
    return cell.Adopt(made);
}

} // namespace tessary
