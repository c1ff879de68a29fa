#include "StripBackground.h"

#include "imaging/DibImage.h"
#include "imaging/QImageView.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"

namespace tessary {

namespace {

const DibColor kFallbackBackground = DibColor::Rgb(0xE6, 0xEB, 0xF4);

} // namespace

bool StretchStripBackground(DibImage& out, QSize size)
{
    if (size.isEmpty() || !out.Create(size.width(), size.height(), 24))
        return false;
    DibImage source;
    if (!ResourceBitmap24(kIdbTopStripBackground, source))
        return out.Clear(kFallbackBackground);
    source.SetSmoothStretch(true);
    return out.StretchImage(source, out.Rect(), source.Rect());
}

QImage StripBackgroundImage(QSize size)
{
    DibImage buffer;
    return StretchStripBackground(buffer, size) ? ToQImage(buffer) : QImage();
}

} // namespace tessary
