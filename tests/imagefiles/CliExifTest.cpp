// The `tessary-cli exif` subcommand, run as a process.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "ExifBuilder.h"

#include "cli/CliRunner.h"

using namespace tessary::test;

namespace {
using CliRun = CliResult;

CliRun Cli(const QStringList& args)
{
    return RunCli(QStringList{QStringLiteral("exif")} + args);
}

void WriteFile(const QString& path, const Bytes& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

// The lines of standard error that are the program's own.
QList<QByteArray> ErrorLines(const CliRun& r)
{
    QList<QByteArray> lines;
    for (const QByteArray& line : r.err.split('\n')) {
        if (line.startsWith("tessary-cli:"))
            lines.append(line);
    }
    return lines;
}
} // namespace

TEST(CliExif, ReportsOrientationDateAndThumbnailSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TiffBuilder b(true);
    b.AddShort(TiffBuilder::kIfd0, 274, 8);
    b.AddAscii(TiffBuilder::kExif, 36867, "2009:07:14 18:30:05");
    b.SetThumbnail(JpegFile({}, 160, 107, 30));
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    WriteFile(path, JpegFile({JfifSegment(), ExifSegment(b.Build())}));

    const CliRun r = Cli({path, QStringLiteral("--json")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.value(QStringLiteral("orientation")).toInt(), 8);
    EXPECT_EQ(o.value(QStringLiteral("date_taken")).toString(), QStringLiteral("2009-07-14 18:30:05.000"));
    const QJsonObject t = o.value(QStringLiteral("thumbnail")).toObject();
    EXPECT_EQ(t.value(QStringLiteral("width")).toInt(), 160);
    EXPECT_EQ(t.value(QStringLiteral("height")).toInt(), 107);
}

TEST(CliExif, NullsForWhatIsMissingOrUnusable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A thumbnail that is no JPEG, and a date whose day does not exist.
    TiffBuilder b(false);
    b.AddAscii(TiffBuilder::kExif, 36867, "2009:02:30 18:30:05");
    b.SetThumbnail(Bytes(50, 0x42));
    const QString odd = dir.filePath(QStringLiteral("odd.jpg"));
    WriteFile(odd, JpegFile({ExifSegment(b.Build())}));
    const QString plain = dir.filePath(QStringLiteral("plain.jpg"));
    WriteFile(plain, JpegFile({JfifSegment()}));

    const CliRun r = Cli({odd, QStringLiteral("--json")});
    ASSERT_EQ(r.exitCode, 0);
    QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.value(QStringLiteral("orientation")).toInt(-1), 0) << "Exif without the tag";
    EXPECT_TRUE(o.value(QStringLiteral("date_taken")).isNull());
    EXPECT_TRUE(o.value(QStringLiteral("thumbnail")).isNull());

    const CliRun p = Cli({plain, QStringLiteral("--json")});
    ASSERT_EQ(p.exitCode, 0);
    o = QJsonDocument::fromJson(p.out).object();
    EXPECT_EQ(o.value(QStringLiteral("orientation")).toInt(-1), 1) << "no Exif block";
    EXPECT_TRUE(o.contains(QStringLiteral("date_taken")));
    EXPECT_TRUE(o.value(QStringLiteral("date_taken")).isNull());
}

TEST(CliExif, UnreadableFilesFailWithOneLine)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath(QStringLiteral("x.jpg"));
    WriteFile(png, Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    Bytes cut = JpegFile({ExifSegment(TiffBuilder(false).Build())});
    cut.resize(12);
    const QString truncated = dir.filePath(QStringLiteral("cut.jpg"));
    WriteFile(truncated, cut);

    for (const QString& path : {png, truncated, dir.filePath(QStringLiteral("missing.jpg")), dir.path()}) {
        const CliRun r = Cli({path, QStringLiteral("--json")});
        EXPECT_EQ(r.exitCode, 1) << path.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(ErrorLines(r).size(), 1) << r.err.toStdString();
    }
    EXPECT_EQ(Cli({}).exitCode, 2);
    EXPECT_EQ(Cli({png, png}).exitCode, 2);
}
