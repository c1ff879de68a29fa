#pragma once
// Photo files for the thumbnail service tests, written with the JPEG library's compressor,
// Qt's PNG writer and our BMP writer, plus an event-driven wait and a window stand-in.

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QObject>
#include <QString>

#include "imagefiles/BmpWriter.h"
#include "imaging/DibDepths.h"
#include "imagefiles/ExifBuilder.h"
#include "imagefiles/JpegFixture.h"
#include "thumbcache/ThumbEvents.h"

namespace tessary::test {

inline bool WriteBytes(const QString& path, const std::vector<uint8_t>& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

// A 24-bit BMP of one colour.
inline bool WriteSolidBmp(const QString& path, int width, int height, DibColor colour)
{
    DibImage24 image;
    return image.Create(width, height, 24) && image.Clear(colour) && SaveBmpToFile(path, image);
}

inline bool WriteSolidPng(const QString& path, int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "PNG");
}

inline std::vector<uint8_t> SolidJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b)
{
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    return EncodeJpeg(recipe, [=](int, int, int c) { return c == 0 ? r : c == 1 ? g : b; });
}

// A JPEG with an Exif block (orientation only, no embedded thumbnail), or without one.
inline bool WriteSolidJpeg(const QString& path, int width, int height, bool withExif)
{
    std::vector<uint8_t> jpeg = SolidJpeg(width, height, 40, 120, 200);
    if (withExif) {
        TiffBuilder tiff(false);
        tiff.AddShort(TiffBuilder::kIfd0, 274, 1);
        jpeg = InsertAfterSoi(jpeg, ExifSegment(tiff.Build()));
    }
    return WriteBytes(path, jpeg);
}

// Processes events until `done` holds or the time runs out; the result of `done`.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
        // A poll interval, not a wait for something to happen.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Records the thumbnail events it receives, in order.
class EventRecorder : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == kThumbReadyEvent) {
            ready.push_back(static_cast<ThumbEvent*>(e)->ItemId());
            return true;
        }
        if (e->type() == kThumbListResetEvent) {
            ++resets;
            return true;
        }
        return QObject::event(e);
    }
    std::vector<int32_t> ready;
    int resets = 0;
};

} // namespace tessary::test
