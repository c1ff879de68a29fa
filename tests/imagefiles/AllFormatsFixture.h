#pragma once
// One small photo of every storable format, each made with its own library's encoder (our BMP
// writer for BMP), for the tests that carry photos through the album and the thumbnailers.
// Link JPEG::JPEG TIFF::TIFF GIF::GIF PkgConfig::LIBHEIF PkgConfig::LIBWEBP PkgConfig::LIBWEBPMUX.

#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>

#include "GifFixture.h"
#include "HeifFixture.h"
#include "JpegFixture.h"
#include "TiffFixture.h"
#include "WebpFixture.h"
#include "imagefiles/BmpWriter.h"
#include "imaging/DibDepths.h"

namespace tessary::test {

inline uint8_t AllFormatsSample(int x, int y, int c)
{
    return uint8_t(c == 3 ? 255 : 30 + ((x * (c + 2) + y * (3 - c)) * 3) % 200);
}

// Writes `name`.ext for every storable format into `folder` (which must exist); the paths in
// format-code order, or an empty list when an encoder failed.
inline QStringList WriteOnePhotoOfEachFormat(const QString& folder, const QString& name, int width = 120, int height = 90)
{
    auto write = [](const QString& path, const std::vector<uint8_t>& bytes) {
        QFile f(path);
        return !bytes.empty() && f.open(QIODevice::WriteOnly)
            && f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
    };
    const QString base = folder + QLatin1Char('/') + name;
    QStringList paths;
    DibImage24 bmp;
    if (!bmp.Create(width, height, 24))
        return {};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bmp.SetColor(x, y, DibColor::Rgb(AllFormatsSample(x, y, 0), AllFormatsSample(x, y, 1), AllFormatsSample(x, y, 2)));
    if (!SaveBmpToFile(base + QStringLiteral(".bmp"), bmp))
        return {};
    paths << base + QStringLiteral(".bmp");

    GifRecipe gif;
    gif.screenWidth = width;
    gif.screenHeight = height;
    GifFrame frame;
    frame.width = width;
    frame.height = height;
    frame.index = [](int x, int y) { return (x / 8 + y / 8) % 16; };
    gif.frames = {frame};
    JpegRecipe jpeg;
    jpeg.width = width;
    jpeg.height = height;
    HeifRecipe heic;
    heic.width = width;
    heic.height = height;
    heic.thumbnailSide = 40;
    HeifRecipe avif = heic;
    avif.avif = true;
    avif.thumbnailSide = 0;
    TiffRecipe tiff;
    tiff.width = width;
    tiff.height = height;
    WebpRecipe webp;
    webp.width = width;
    webp.height = height;
    const struct {
        const char* ext;
        std::vector<uint8_t> bytes;
    } files[] = {
        {"gif", EncodeGif(gif)},
        {"jpg", EncodeJpeg(jpeg, [](int x, int y, int c) { return AllFormatsSample(x, y, c); })},
        {"png", {}},
        {"tif", EncodeTiff(tiff, AllFormatsSample)},
        {"webp", EncodeWebp(webp, AllFormatsSample)},
        {"heic", EncodeHeif(heic, AllFormatsSample)},
        {"avif", EncodeHeif(avif, AllFormatsSample)},
    };
    for (const auto& f : files) {
        const QString path = base + QLatin1Char('.') + QLatin1String(f.ext);
        if (QLatin1String(f.ext) == QLatin1String("png")) {
            // The PNG library is the PNG reader's own; Qt's writer makes the file.
            QImage image(width, height, QImage::Format_RGB32);
            image.fill(qRgb(AllFormatsSample(0, 0, 0), 90, 160));
            if (!image.save(path, "PNG"))
                return {};
        } else if (!write(path, f.bytes)) {
            return {};
        }
        paths << path;
    }
    return paths;
}

} // namespace tessary::test
