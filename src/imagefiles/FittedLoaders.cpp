#include "FittedLoaders.h"

#include <memory>
#include <optional>

#include "imagefiles/DecodeLimits.h"
#include "imagefiles/DecodedRows.h"
#include "imagefiles/HeifDecoder.h"
#include "imagefiles/ImageLoader.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"
#include "imagefiles/TiffDecoder.h"
#include "imagefiles/WebpDecoder.h"
#include "imaging/ExifOrientation.h"
#include "imaging/FitInBox.h"
#include "imaging/RowResampler.h"

namespace tessary {

namespace {

bool Transposes(int orientation) { return orientation >= 5 && orientation <= 8; }

DibSize StoredBox(DibSize maximum, int orientation)
{
    return Transposes(orientation) ? DibSize{maximum.height, maximum.width} : maximum;
}

bool Turn(DibImage& image, int orientation)
{
    return orientation <= 1 || orientation > 8 || ApplyExifOrientation(image, orientation);
}

// The full decode through the codec, fitted, then turned.
bool LoadWholeAndTurn(DibImage& target, const QString& path, int orientation, DibSize maximum)
{
    const std::unique_ptr<Picture> picture = LoadPicture(path);
    DibImage24 flat;
    return picture && GetImage(*picture, flat) && FitAndTurn(flat, flat.Size(), orientation, maximum, target);
}

} // namespace

bool FitDecodedInto(DibImage24& image, DibSize full, DibSize maximum, DibImage& target)
{
    if (full.width <= maximum.width && full.height <= maximum.height)
        return target.Adopt(image);
    const DibSize fitted = FitInBox(maximum, full);
    if (fitted.IsEmpty())
        return false;
    if (image.Size() == fitted)
        return target.Adopt(image);
    return image.ResizeInto(target, fitted, true);
}

bool FitAndTurn(DibImage24& image, DibSize stored, int orientation, DibSize maximum, DibImage& target)
{
    DibImage24 fitted;
    if (!FitDecodedInto(image, stored, StoredBox(maximum, orientation), fitted) || !Turn(fitted, orientation))
        return false;
    return target.Adopt(fitted);
}

bool LoadTiffFitted(DibImage& target, const QString& path, DibSize maximum)
{
    FileStream stream(path);
    if (!stream.IsOpen())
        return false;
    DibImage24 out;
    std::unique_ptr<AreaRowResampler> resampler;
    int orientation = 1;
    bool whole = false;
    const bool read = ReadTiffRows(
        stream, kMaxDecodedBytes,
        [&](const TiffImageInfo& info) {
            orientation = info.orientation;
            const DibSize box = StoredBox(maximum, orientation);
            if (info.width <= box.width && info.height <= box.height) {
                whole = true;
                return false;
            }
            // The whole decode's refusal of what its rows could not hold.
            if (!AcceptableSize(info.width, info.height, info.hasAlpha ? 32 : 24, kMaxDecodedBytes))
                return false;
            const DibSize fitted = FitInBox(box, {info.width, info.height});
            if (fitted.IsEmpty() || !out.Create24(fitted))
                return false;
            resampler = std::make_unique<AreaRowResampler>(info.width, info.height, out, false);
            return true;
        },
        [&](const uint8_t* row) {
            resampler->Push(row);
            return true;
        });
    if (whole)
        return LoadWholeAndTurn(target, path, orientation, maximum);
    if (!read || !resampler || !resampler->Done() || !Turn(out, orientation))
        return false;
    return target.Adopt(out);
}

bool LoadWebpFitted(DibImage& target, const QString& path, DibSize maximum)
{
    const int orientation = PhotoOrientation(path);
    FileStream stream(path);
    WebpImageInfo info;
    DibImage unused;
    if (!DecodeWebp(stream, true, {}, kMaxDecodedBytes, info, unused))
        return false;
    const DibSize stored{info.width, info.height};
    const DibSize fitted = FitInBox(StoredBox(maximum, orientation), stored);
    DibSize scaled{};
    if (!fitted.IsEmpty() && stored.width >= 4 * int64_t(fitted.width) && stored.height >= 4 * int64_t(fitted.height))
        scaled = {2 * fitted.width, 2 * fitted.height};
    DibImage decoded;
    DibImage24 flat;
    if (!stream.Seek(0, ImageStream::kFromStart) || !DecodeWebp(stream, false, scaled, kMaxDecodedBytes, info, decoded)
        || !FlattenedCopy(decoded, flat))
        return false;
    decoded.Reset();
    // A reduced decode stands for the full size: the shrink then goes to the fitted size.
    return FitAndTurn(flat, stored, orientation, maximum, target);
}

bool LoadHeifFitted(DibImage& target, const QString& path, DibSize maximum)
{
    DibImage24 thumbnail;
    if (LoadHeifThumbnail(thumbnail, path))
        return FitDecodedInto(thumbnail, thumbnail.Size(), maximum, target);
    const std::unique_ptr<Picture> picture = LoadPicture(path);
    DibImage24 fitted;
    return picture && GetFittedImage(*picture, fitted, maximum) && target.Adopt(fitted);
}

} // namespace tessary
