#pragma once
// Photos made in code for the view suites and the screenshots: a small landscape scene (sky,
// sun, hills) whose colours follow a seed, written as JPEG or PNG.

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QStringList>

namespace tessary::test {

inline QImage MakeScene(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int hue = (seed * 47) % 360;
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 250));
    sky.setColorAt(1, QColor::fromHsv((hue + 30) % 360, 60, 255));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromHsv((hue + 180) % 360, 90, 255));
    const int r = std::min(width, height) / 7;
    p.drawEllipse(QPoint(width * (2 + seed % 5) / 8, height / 4), r, r);
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hill;
        const int base = height * (5 + layer) / 9;
        hill.moveTo(0, height);
        hill.lineTo(0, base);
        for (int x = 0; x <= width; x += std::max(1, width / 6))
            hill.quadTo(x + width / 12, base - height / 8 + ((x / 7 + seed * 13 + layer * 29) % (height / 6 + 1)),
                        x + width / 6, base);
        hill.lineTo(width, height);
        hill.closeSubpath();
        p.setBrush(QColor::fromHsv((hue + 90 + layer * 20) % 360, 110 + layer * 40, 170 - layer * 35));
        p.drawPath(hill);
    }
    p.end();
    return image;
}

// Writes `count` photos "<stem> NN.<ext>" into `folder` (JPEG, every third one PNG), the
// second in every four portrait. The paths in order.
inline QStringList WriteScenes(const QString& folder, int count, const QString& stem = QStringLiteral("Photo"),
                               int width = 320, int height = 240)
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const bool png = i % 3 == 2;
        const bool portrait = i % 4 == 1;
        const QString path = QDir(folder).filePath(
            QStringLiteral("%1 %2.%3").arg(stem).arg(i + 1, 2, 10, QLatin1Char('0')).arg(png ? "png" : "jpg"));
        const QImage scene = portrait ? MakeScene(height, width, i) : MakeScene(width, height, i);
        if (scene.save(path, png ? "PNG" : "JPEG", 88))
            paths << path;
    }
    return paths;
}

} // namespace tessary::test
