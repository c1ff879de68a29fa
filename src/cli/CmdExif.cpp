// exif FILE [--json]: orientation, date taken and embedded thumbnail size of a JPEG file.
#include <QFileInfo>
#include <QJsonObject>

#include "CliCommand.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"

namespace tessary::cli {

namespace {
// The date taken as the album writes dates, or empty when either part is unusable.
QString DateTakenText(const MarkerList& markers)
{
    const std::optional<DateTime> taken = ExifDateTaken(markers);
    if (!taken || taken->date.IsNull() || !taken->time.IsValid())
        return QString();
    return taken->Text();
}

std::optional<JpegFrameInfo> ThumbnailFrame(const MarkerList& markers)
{
    const std::optional<ExifThumbnailData> thumbnail = ExifThumbnail(markers);
    if (!thumbnail)
        return std::nullopt;
    MemoryStream stream(thumbnail->bytes.data(), thumbnail->bytes.size());
    return ReadFrameInfo(stream);
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

    MarkerList markers;
    if (!ReadHeaderMarkers(path, markers))
        return Fail(kExitFailed, QStringLiteral("%1: not a readable JPEG file").arg(path));

    const int orientation = ExifOrientation(markers);
    const QString date = DateTakenText(markers);
    const std::optional<JpegFrameInfo> frame = ThumbnailFrame(markers);

    if (json) {
        QJsonObject out;
        out.insert(QStringLiteral("orientation"), orientation);
        out.insert(QStringLiteral("date_taken"), date.isEmpty() ? QJsonValue() : QJsonValue(date));
        if (frame) {
            QJsonObject size;
            size.insert(QStringLiteral("width"), frame->width);
            size.insert(QStringLiteral("height"), frame->height);
            out.insert(QStringLiteral("thumbnail"), size);
        } else {
            out.insert(QStringLiteral("thumbnail"), QJsonValue());
        }
        PrintJson(QJsonDocument(out));
        return kExitOk;
    }
    PrintLine(QStringLiteral("orientation: %1").arg(orientation));
    PrintLine(QStringLiteral("date taken: %1").arg(date.isEmpty() ? QStringLiteral("none") : date));
    PrintLine(QStringLiteral("thumbnail: %1")
                  .arg(frame ? QStringLiteral("%1 x %2").arg(frame->width).arg(frame->height)
                             : QStringLiteral("none")));
    return kExitOk;
}

} // namespace tessary::cli
