// image info FILE [--json] | image decode FILE OUT.bmp | image thumb FILE OUT.bmp [--box WxH]
#include <QFileInfo>
#include <QJsonObject>

#include "CliCommand.h"
#include "imagefiles/BmpWriter.h"
#include "imagefiles/ImageCodec.h"
#include "imagefiles/ImageLoader.h"

namespace tessary::cli {

namespace {

const char kUsage[] = "usage: image info FILE [--json] | image decode FILE OUT.bmp | image thumb FILE OUT.bmp "
                      "[--box WxH]";

// The file exists and has a format with a reader; otherwise the error has been printed.
bool CheckInput(const QString& path, int& exitCode)
{
    if (!QFileInfo(path).isFile()) {
        exitCode = Fail(kExitFailed, QStringLiteral("%1: no such file").arg(path));
        return false;
    }
    if (!IsStorablePhotoFormat(PhotoFormatFromPath(path))) {
        exitCode = Fail(kExitFailed, QStringLiteral("%1: unsupported file type (BMP, GIF, JPEG, PNG, TIFF, WebP, HEIF and AVIF can be read)").arg(path));
        return false;
    }
    return true;
}

int NotReadable(const QString& path)
{
    return Fail(kExitFailed, QStringLiteral("%1: not a readable image file").arg(path));
}

int WriteOutput(const QString& path, const DibImage& image)
{
    if (!SaveBmpToFile(path, image))
        return Fail(kExitFailed, QStringLiteral("%1: cannot be written").arg(path));
    return kExitOk;
}

// "WxH" with both sides positive.
std::optional<DibSize> ParseBox(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return std::nullopt;
    bool okW = false, okH = false;
    const int w = parts[0].toInt(&okW);
    const int h = parts[1].toInt(&okH);
    if (!okW || !okH || w <= 0 || h <= 0)
        return std::nullopt;
    return DibSize{w, h};
}

int RunInfo(QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return Fail(kExitUsage, QString::fromLatin1(kUsage));
    const QString path = args[0];
    int exitCode = kExitOk;
    if (!CheckInput(path, exitCode))
        return exitCode;
    const std::unique_ptr<Picture> picture = MakePictureFromFile(path, true);
    if (!picture)
        return NotReadable(path);
    const PictureRecord& r = picture->record;
    if (json) {
        QJsonObject out;
        out.insert(QStringLiteral("format"), int(picture->Format()));
        out.insert(QStringLiteral("width"), r.width);
        out.insert(QStringLiteral("height"), r.height);
        out.insert(QStringLiteral("bpp"), r.bpp);
        PrintJson(QJsonDocument(out));
    } else {
        PrintLine(QStringLiteral("format: %1").arg(int(picture->Format())));
        PrintLine(QStringLiteral("size: %1 x %2").arg(r.width).arg(r.height));
        PrintLine(QStringLiteral("bits per pixel: %1").arg(r.bpp));
    }
    return kExitOk;
}

int RunDecode(const QStringList& args)
{
    if (args.size() != 2 || args[0].startsWith(QLatin1String("--")) || args[1].startsWith(QLatin1String("--")))
        return Fail(kExitUsage, QString::fromLatin1(kUsage));
    int exitCode = kExitOk;
    if (!CheckInput(args[0], exitCode))
        return exitCode;
    const std::unique_ptr<Picture> picture = LoadPicture(args[0]);
    DibImage24 image;
    if (!picture || !GetImage(*picture, image))
        return NotReadable(args[0]);
    return WriteOutput(args[1], image);
}

int RunThumb(QStringList args)
{
    QString boxText = QStringLiteral("94x94");
    bool hasBox = false;
    if (!TakeOption(args, QStringLiteral("--box"), boxText, hasBox))
        return Fail(kExitUsage, QString::fromLatin1(kUsage));
    const std::optional<DibSize> box = ParseBox(boxText);
    if (!box)
        return Fail(kExitUsage, QStringLiteral("--box takes WxH, for example 94x94"));
    if (args.size() != 2 || args[0].startsWith(QLatin1String("--")) || args[1].startsWith(QLatin1String("--")))
        return Fail(kExitUsage, QString::fromLatin1(kUsage));
    if (box->width < kMinFittedBox.width || box->height < kMinFittedBox.height)
        return Fail(kExitFailed, QStringLiteral("the box must be at least %1x%2").arg(kMinFittedBox.width).arg(kMinFittedBox.height));
    int exitCode = kExitOk;
    if (!CheckInput(args[0], exitCode))
        return exitCode;
    DibImage24 image;
    if (!LoadImageFitted(image, args[0], *box))
        return NotReadable(args[0]);
    return WriteOutput(args[1], image);
}

} // namespace

int RunImage(const QStringList& arguments)
{
    QStringList args = arguments;
    if (args.isEmpty())
        return Fail(kExitUsage, QString::fromLatin1(kUsage));
    const QString action = args.takeFirst();
    if (action == QLatin1String("info"))
        return RunInfo(args);
    if (action == QLatin1String("decode"))
        return RunDecode(args);
    if (action == QLatin1String("thumb"))
        return RunThumb(args);
    return Fail(kExitUsage, QString::fromLatin1(kUsage));
}

} // namespace tessary::cli
