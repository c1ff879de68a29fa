// The `tessary-cli image` subcommand, run as a process; its BMP output is read back by Qt's own
// reader.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "BmpFixture.h"
#include "JpegFixture.h"

#include "cli/CliRunner.h"

using namespace tessary::test;

namespace {
using CliRun = CliResult;

CliRun Cli(const QStringList& args)
{
    return RunCli(QStringList{QStringLiteral("image")} + args);
}

int ErrorLineCount(const CliRun& r)
{
    int n = 0;
    for (const QByteArray& line : r.err.split('\n'))
        n += line.startsWith("tessary-cli:");
    return n;
}

class Files {
public:
    Files() { EXPECT_TRUE(m_dir.isValid()); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Write(const QString& name, const std::vector<uint8_t>& bytes)
    {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return Path(name);
    }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        return Write(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }

private:
    QTemporaryDir m_dir;
};

std::vector<uint8_t> Jpeg(int w, int h)
{
    JpegRecipe recipe;
    recipe.width = w;
    recipe.height = h;
    return EncodeJpeg(recipe, [&](int x, int y, int c) { return PhotoLikeSample(x, y, c, w, h); });
}

QByteArray TransparentPng()
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 255, 0));
    image.setPixel(0, 0, qRgba(0, 0, 255, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

BmpBytes Bmp(int w, int h)
{
    BmpSpec s;
    s.width = w;
    s.height = h;
    s.bpp = 8;
    s.palette = {{0, 0, 0}, {255, 255, 255}};
    s.clrUsed = 2;
    s.pixels = StoredRows(w, h, 8, false, [](int x, int) { return uint32_t(x % 2); });
    return BuildBmp(s);
}
} // namespace

TEST(CliImage, InfoFromTheHeader)
{
    Files files;
    struct Case {
        QString path;
        int format, width, height, bpp;
    };
    const Case cases[] = {{files.Write(QStringLiteral("a.bmp"), Bmp(7, 3)), 1, 7, 3, 8},
                          {files.Write(QStringLiteral("b.jpg"), Jpeg(120, 80)), 4, 120, 80, 24},
                          {files.Write(QStringLiteral("c.png"), TransparentPng()), 5, 4, 2, 32}};
    for (const Case& c : cases) {
        const CliRun r = Cli({QStringLiteral("info"), c.path, QStringLiteral("--json")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        EXPECT_EQ(o.value(QStringLiteral("format")).toInt(), c.format);
        EXPECT_EQ(o.value(QStringLiteral("width")).toInt(), c.width);
        EXPECT_EQ(o.value(QStringLiteral("height")).toInt(), c.height);
        EXPECT_EQ(o.value(QStringLiteral("bpp")).toInt(), c.bpp);
    }
}

TEST(CliImage, DecodeAndThumbWrite24BitFiles)
{
    Files files;
    const QString png = files.Write(QStringLiteral("c.png"), TransparentPng());
    const QString out = files.Path(QStringLiteral("out.bmp"));
    CliRun r = Cli({QStringLiteral("decode"), png, out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QImage written(out, "BMP");
    ASSERT_EQ(written.size(), QSize(4, 2));
    EXPECT_EQ(written.pixel(0, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(written.pixel(3, 1) & 0xFFFFFF, 0xFFFFFFu) << "flattened on white";
    QFile raw(out);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(uint8_t(raw.readAll()[28]), 24);

    const QString jpg = files.Write(QStringLiteral("b.jpg"), Jpeg(640, 480));
    r = Cli({QStringLiteral("thumb"), jpg, out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(out, "BMP").size(), QSize(94, 70));
    r = Cli({QStringLiteral("thumb"), jpg, out, QStringLiteral("--box"), QStringLiteral("50x60")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(QImage(out, "BMP").size(), QSize(50, 37));
    r = Cli({QStringLiteral("thumb"), files.Write(QStringLiteral("a.bmp"), Bmp(7, 3)), out});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(QImage(out, "BMP").size(), QSize(7, 3)) << "never enlarged";
}

TEST(CliImage, FailuresAndWrongUsage)
{
    Files files;
    const QString jpg = files.Write(QStringLiteral("b.jpg"), Jpeg(64, 48));
    const QString broken = files.Write(QStringLiteral("broken.png"), std::vector<uint8_t>{0x89, 'P', 'N', 'G'});
    const QString cut = files.Write(QStringLiteral("cut.jpg"), std::vector<uint8_t>{0xFF, 0xD8, 0xFF});
    const QString tif = files.Write(QStringLiteral("d.tif"), Jpeg(8, 8));
    const QString out = files.Path(QStringLiteral("out.bmp"));
    for (const QStringList& args : {QStringList{QStringLiteral("info"), broken}, QStringList{QStringLiteral("decode"), cut, out},
                                    QStringList{QStringLiteral("thumb"), broken, out},
                                    QStringList{QStringLiteral("info"), files.Path(QStringLiteral("missing.bmp"))},
                                    QStringList{QStringLiteral("decode"), tif, out},
                                    QStringList{QStringLiteral("decode"), jpg, files.Path(QStringLiteral("no/such/dir/o.bmp"))},
                                    QStringList{QStringLiteral("thumb"), jpg, out, QStringLiteral("--box"), QStringLiteral("3x3")}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(ErrorLineCount(r), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out)) << "nothing written on failure";
    for (const QStringList& args : {QStringList{}, QStringList{QStringLiteral("resize"), jpg},
                                    QStringList{QStringLiteral("info")}, QStringList{QStringLiteral("decode"), jpg},
                                    QStringList{QStringLiteral("thumb"), jpg, out, QStringLiteral("--box"), QStringLiteral("94")},
                                    QStringList{QStringLiteral("thumb"), jpg, out, QStringLiteral("--box")}})
        EXPECT_EQ(Cli(args).exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
}
