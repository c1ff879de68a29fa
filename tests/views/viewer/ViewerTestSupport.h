#pragma once
// Photos made in code for the viewer suites: JPEG files with an Exif orientation (made by the
// JPEG library's compressor and the test Exif builder), PNG files with alpha (Qt's writer),
// damaged files, and a load function whose answers the test releases one by one.

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <vector>

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>

#include "imagefiles/ExifBuilder.h"
#include "imagefiles/JpegFixture.h"
#include "views/viewer/ScreenPhoto.h"

namespace tessary::test {

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray ToByteArray(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// The four quadrant colours of QuadrantJpeg as stored: top left, top right, bottom left,
// bottom right.
inline const QColor kQuadrant[4] = {QColor(220, 30, 30), QColor(30, 200, 30), QColor(30, 30, 220),
                                    QColor(230, 220, 40)};

// An Exif APP1 segment with IFD0's orientation (tag 274), or nothing for 0.
inline std::vector<uint8_t> OrientationSegment(int orientation, bool bigEndian)
{
    if (orientation == 0)
        return {};
    TiffBuilder tiff(bigEndian);
    tiff.AddShort(TiffBuilder::kIfd0, 274, uint16_t(orientation));
    return ExifSegment(tiff.Build());
}

inline std::vector<uint8_t> WithOrientation(const std::vector<uint8_t>& jpeg, int orientation, bool bigEndian = false)
{
    return orientation == 0 ? jpeg : InsertAfterSoi(jpeg, OrientationSegment(orientation, bigEndian));
}

// A width x height JPEG whose quadrants have the colours of kQuadrant (full chroma, so the
// edges stay sharp), tagged with `orientation` (0: no Exif block).
inline QByteArray QuadrantJpeg(int width, int height, int orientation, bool bigEndian = false)
{
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.quality = 95;
    recipe.subsample = false;
    const auto jpeg = EncodeJpeg(recipe, [&](int x, int y, int c) {
        const QColor& q = kQuadrant[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
        return uint8_t(c == 0 ? q.red() : c == 1 ? q.green() : q.blue());
    });
    return ToByteArray(WithOrientation(jpeg, orientation, bigEndian));
}

// A JPEG of one colour.
inline QByteArray SolidJpeg(int width, int height, QColor colour)
{
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.subsample = false;
    return ToByteArray(EncodeJpeg(recipe, [&](int, int, int c) {
        return uint8_t(c == 0 ? colour.red() : c == 1 ? colour.green() : colour.blue());
    }));
}

// A PNG of one colour with the given alpha.
inline QByteArray SolidPng(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Near enough for colours that went through JPEG compression.
inline bool Near(QColor a, QColor b, int tolerance = 24)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// A load function for the decoder whose calls wait until the test releases their path (or
// all paths); it records the order in which paths were taken. Paths in `failing` fail.
class GatedLoader {
public:
    bool Load(const QString& path, DibSize box, ScreenPhoto& out)
    {
        {
            std::unique_lock lock(m_mutex);
            m_taken << path;
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_open || m_released.contains(path); });
            m_released.removeOne(path);
            if (m_failing.contains(path))
                return false;
        }
        // A 2 x 1 stand-in for a photo of the box's size, coloured by the path's last digit.
        out.image.Reset();
        out.image.color.Create(2, 1, 24);
        const int digit = path.isEmpty() ? 0 : path.back().digitValue();
        out.image.color.Clear(DibColor::Rgb(uint8_t(20 * digit), 0, 0));
        out.photoSize = {2, 1};
        out.box = box;
        return true;
    }
    // Lets the call (waiting now or later) for `path` return.
    void Release(const QString& path)
    {
        std::lock_guard lock(m_mutex);
        m_released << path;
        m_changed.notify_all();
    }
    // Lets every call return, now and from now on.
    void Open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    void Fail(const QString& path)
    {
        std::lock_guard lock(m_mutex);
        m_failing << path;
    }
    QStringList Taken() const
    {
        std::lock_guard lock(m_mutex);
        return m_taken;
    }
    // Waits (a bounded time) until `count` calls have started.
    bool WaitTaken(int count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_taken.size() >= count; });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QStringList m_taken;
    QStringList m_released;
    QStringList m_failing;
    bool m_open = false;
};

// Opens the loader when it goes, so that workers still waiting in it can be joined. Declare
// it after the object that owns the decoder.
struct OpenOnExit {
    GatedLoader& loader;
    ~OpenOnExit() { loader.Open(); }
};

} // namespace tessary::test
