#include "ScreenPhoto.h"

#include <algorithm>
#include <memory>

#include "imagefiles/ImageLoader.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/JpegDecoder.h"
#include "imagefiles/PhotoMetadata.h"
#include "imagefiles/Picture.h"
#include "imaging/DibMask.h"
#include "imaging/ExifOrientation.h"
#include "imaging/FitInBox.h"
#include "util/PhotoFormat.h"

namespace tessary {

namespace {

DibSize Transposed(DibSize s)
{
    return {s.height, s.width};
}

bool SwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

int OrientationOf(const QString& path)
{
    MarkerList markers;
    if (!ReadHeaderMarkers(path, markers))
        return 1;
    const int orientation = ExifOrientation(markers);
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

// Turning commutes with the fit rule (its two scales just swap), so the decode is fitted into
// the box as the stored picture sees it and only the small result is turned.
bool LoadJpeg(const QString& path, DibSize box, ScreenPhoto& out)
{
    const int orientation = OrientationOf(path);
    const DibSize storedBox = SwapsSides(orientation) ? Transposed(box) : box;
    FileStream stream(path);
    if (!stream.IsOpen())
        return false;
    JpegDecodeRequest request;
    request.fitBox = storedBox;
    JpegImageInfo info;
    DibImage24 image;
    if (!DecodeJpeg(stream, request, info, image))
        return false;
    const DibSize stored{info.width, info.height};
    const DibSize wanted = ViewSize(stored, storedBox, false);
    if (wanted.IsEmpty())
        return false;
    if (image.Size() != wanted) {
        DibImage24 shrunk;
        if (!image.ResizeInto(shrunk, wanted, true))
            return false;
        image = std::move(shrunk);
    }
    if (!ApplyExifOrientation(image, orientation))
        return false;
    out.image.Reset();
    out.image.color = std::move(image);
    out.photoSize = SwapsSides(orientation) ? Transposed(stored) : stored;
    out.box = box;
    out.orientation = orientation;
    return true;
}

bool LoadOther(const QString& path, DibSize box, ScreenPhoto& out)
{
    // TIFF and WebP carry an Exif orientation; the others come upright (PhotoOrientation 1).
    const int orientation = PhotoOrientation(path);
    const DibSize storedBox = SwapsSides(orientation) ? Transposed(box) : box;
    const std::unique_ptr<Picture> picture = LoadPicture(path);
    if (!picture || !picture->image.IsValid())
        return false;
    MaskedImage& image = picture->image;
    const DibSize size = image.Size();
    const DibSize wanted = ViewSize(size, storedBox, false);
    if (wanted.IsEmpty())
        return false;
    if (wanted != size) {
        DibImage24 color;
        if (!image.color.ResizeInto(color, wanted, true))
            return false;
        DibMask mask;
        if (image.HasMask() && !ResizeMask(image.mask, wanted, mask))
            return false;
        image.color = std::move(color);
        image.mask = std::move(mask);
    }
    if (!ApplyExifOrientation(image.color, orientation))
        return false;
    if (image.HasMask() && !ApplyExifOrientation(image.mask, orientation))
        return false;
    out.image.Reset();
    out.image.color = std::move(image.color);
    out.image.mask = std::move(image.mask);
    out.photoSize = SwapsSides(orientation) ? Transposed(size) : size;
    out.box = box;
    out.orientation = orientation;
    return true;
}

} // namespace

bool ScreenPhoto::Covers(DibSize client) const
{
    if (!Reduced())
        return true;
    const DibSize needed = ViewSize(photoSize, client, false);
    return image.Size().width >= needed.width && image.Size().height >= needed.height;
}

DibSize ViewSize(DibSize photo, DibSize client, bool enlarge)
{
    if (photo.IsEmpty() || client.IsEmpty())
        return {};
    DibSize fitted = FitInBox(client, photo);
    if (!enlarge && (photo.width < fitted.width || photo.height < fitted.height))
        return photo;
    fitted.width = std::max(fitted.width, 1);
    fitted.height = std::max(fitted.height, 1);
    return fitted;
}

bool LoadScreenPhoto(const QString& path, DibSize box, ScreenPhoto& out)
{
    out = ScreenPhoto{};
    if (box.IsEmpty())
        return false;
    const bool ok = PhotoFormatFromPath(path) == PhotoFormat::Jpeg ? LoadJpeg(path, box, out) : LoadOther(path, box, out);
    if (!ok) {
        out = ScreenPhoto{};
        return false;
    }
    // An enlarged small photo is then blended rather than blocky.
    out.image.color.SetSmoothStretch(true);
    if (out.image.HasMask())
        out.image.mask.SetSmoothStretch(true);
    return true;
}

} // namespace tessary
