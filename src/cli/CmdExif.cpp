// exif FILE [--json]: orientation, date taken and embedded thumbnail size of a photo. For a
// JPEG these come from its Exif block (orientation 0: a block without a valid tag, 1: no
// block). For TIFF, WebP, HEIF and AVIF files the orientation is the one the program turns
// the decoded pixels by (HEIF and AVIF come upright from their decoder: always 1), and the
// thumbnail is a HEIF or AVIF file's embedded one.
#include <QFileInfo>
#include <QJsonObject>

#include "CliCommand.h"
#include "imagefiles/ImageCodec.h"
#include "imagefiles/ImageLoader.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"

namespace tessary::cli {

namespace {

struct ExifFacts {
    int orientation = 1;
    std::optional<DateTime> taken;
    std::optional<DibSize> thumbnail;
};

// The date taken as the album writes dates, or empty when either part is unusable.
QString DateText(const std::optional<DateTime>& taken)
{
    if (!taken || taken->date.IsNull() || !taken->time.IsValid())
        return QString();
    return taken->Text();
}

std::optional<ExifFacts> JpegFacts(const QString& path)
{
    MarkerList markers;
    if (!ReadHeaderMarkers(path, markers))
        return std::nullopt;
    ExifFacts facts;
    facts.orientation = ExifOrientation(markers);
    facts.taken = ExifDateTaken(markers);
    if (const std::optional<ExifThumbnailData> thumbnail = ExifThumbnail(markers)) {
        MemoryStream stream(thumbnail->bytes.data(), thumbnail->bytes.size());
        if (const std::optional<JpegFrameInfo> frame = ReadFrameInfo(stream))
            facts.thumbnail = DibSize{frame->width, frame->height};
    }
    return facts;
}

// TIFF, WebP, HEIF and AVIF: the file must be readable by its codec.
std::optional<ExifFacts> OtherFacts(const QString& path)
{
    const std::unique_ptr<Picture> header = MakePictureFromFile(path, true);
    if (!header)
        return std::nullopt;
    ExifFacts facts;
    facts.orientation = PhotoOrientation(path);
    facts.taken = DateTaken(path);
    if (const auto* heif = dynamic_cast<const HeifPicture*>(header.get()); heif && heif->options.hasThumbnail) {
        DibImage24 thumbnail;
        if (LoadHeifThumbnail(thumbnail, path))
            facts.thumbnail = thumbnail.Size();
    }
    return facts;
}

} // namespace

int RunExif(const QStringList& arguments)
{
    QStringList args = arguments;
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return Fail(kExitUsage, QStringLiteral("usage: exif FILE [--json]"));
    const QString path = args[0];
    if (!QFileInfo(path).isFile())
        return Fail(kExitFailed, QStringLiteral("%1: no such file").arg(path));

    const PhotoFormat format = PhotoFormatFromPath(path);
    std::optional<ExifFacts> facts;
    switch (format) {
    case PhotoFormat::Tiff:
    case PhotoFormat::Webp:
    case PhotoFormat::Heif:
    case PhotoFormat::Avif:
        facts = OtherFacts(path);
        if (!facts)
            return Fail(kExitFailed, QStringLiteral("%1: not a readable %2 file").arg(path, QLatin1String(PhotoTypeName(format))));
        break;
    default:
        // Every other name is read as JPEG, as before the other readers came.
        facts = JpegFacts(path);
        if (!facts)
            return Fail(kExitFailed, QStringLiteral("%1: not a readable JPEG file").arg(path));
        break;
    }

    const QString date = DateText(facts->taken);
    if (json) {
        QJsonObject out;
        out.insert(QStringLiteral("orientation"), facts->orientation);
        out.insert(QStringLiteral("date_taken"), date.isEmpty() ? QJsonValue() : QJsonValue(date));
        if (facts->thumbnail) {
            QJsonObject size;
            size.insert(QStringLiteral("width"), facts->thumbnail->width);
            size.insert(QStringLiteral("height"), facts->thumbnail->height);
            out.insert(QStringLiteral("thumbnail"), size);
        } else {
            out.insert(QStringLiteral("thumbnail"), QJsonValue());
        }
        PrintJson(QJsonDocument(out));
        return kExitOk;
    }
    PrintLine(QStringLiteral("orientation: %1").arg(facts->orientation));
    PrintLine(QStringLiteral("date taken: %1").arg(date.isEmpty() ? QStringLiteral("none") : date));
    PrintLine(QStringLiteral("thumbnail: %1")
                  .arg(facts->thumbnail ? QStringLiteral("%1 x %2").arg(facts->thumbnail->width).arg(facts->thumbnail->height)
                                        : QStringLiteral("none")));
    return kExitOk;
}

} // namespace tessary::cli
