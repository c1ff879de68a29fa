// `tessary-cli thumbs`, run as a process over a folder of photos.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>
#include <vector>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "album/Album.h"
#include "album/AlbumFile.h"
#include "cli/CliRunner.h"
#include "imagefiles/AllFormatsFixture.h"
#include "thumbcache/ThumbPhotos.h"
#include "thumbcache/ThumbTestFiles.h"

using namespace tessary;
using namespace tessary::test;

namespace {
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Plain fork and exec rather than QProcess, whose spawning ThreadSanitizer cannot follow.
// Standard output and error go to files in `tempRoot`, which is also the child's TMPDIR.
CliRun Cli(const QStringList& args, const QString& tempRoot, const QByteArray& workers = {})
{
    CliRun r;
    const QByteArray outPath = QFile::encodeName(tempRoot + QStringLiteral("/cli.out"));
    const QByteArray errPath = QFile::encodeName(tempRoot + QStringLiteral("/cli.err"));
    std::vector<QByteArray> argBytes{QByteArray(TESSARY_BINARY_DIR "/src/cli/tessary-cli"), QByteArray("thumbs")};
    for (const QString& a : args)
        argBytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QByteArray tmpdir = "TMPDIR=" + QFile::encodeName(tempRoot);
    QByteArray platform = "QT_QPA_PLATFORM=offscreen";
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "TMPDIR=", 7) != 0 && std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0
            && std::strncmp(*e, "TESSARY_THUMB_WORKERS=", 22) != 0)
            env.push_back(*e);
    }
    QByteArray workerCount = "TESSARY_THUMB_WORKERS=" + workers;
    if (!workers.isEmpty())
        env.push_back(workerCount.data());
    env.push_back(tmpdir.data());
    env.push_back(platform.data());
    env.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0)
            ::_exit(126);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::execve(argv[0], argv.data(), env.data());
        ::_exit(127);
    }
    if (pid < 0)
        return r;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status))
        return r;
    r.exitCode = WEXITSTATUS(status);
    r.out = ReadFile(QFile::decodeName(outPath));
    r.err = ReadFile(QFile::decodeName(errPath));
    QFile::remove(QFile::decodeName(outPath));
    QFile::remove(QFile::decodeName(errPath));
    return r;
}
} // namespace

TEST(CliThumbs, PassesAfterTheFirstComeFromTheStoreAndTheScratchFilesGo)
{
    QTemporaryDir dir, temp;
    const QString photos = dir.filePath(QStringLiteral("photos"));
    ASSERT_TRUE(QDir().mkpath(photos + QStringLiteral("/sub")));
    ASSERT_TRUE(WriteSolidBmp(photos + QStringLiteral("/a.bmp"), 120, 80, DibColor::Rgb(1, 2, 3)));
    ASSERT_TRUE(WriteSolidJpeg(photos + QStringLiteral("/sub/b.jpg"), 200, 100, true));
    ASSERT_TRUE(WriteSolidPng(photos + QStringLiteral("/c.PNG"), 30, 30, qRgb(9, 9, 9)));
    ASSERT_TRUE(WriteFile(photos + QStringLiteral("/broken.jpg"), "no picture"));
    ASSERT_TRUE(WriteFile(photos + QStringLiteral("/notes.txt"), "not a photo"));

    const CliRun r = Cli({photos, QStringLiteral("--passes"), QStringLiteral("3"), QStringLiteral("--json")}, temp.path(), "3");
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonObject out = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(out.value(QStringLiteral("files")).toInt(), 4);
    EXPECT_EQ(out.value(QStringLiteral("workers")).toInt(), 3);
    const QJsonArray passes = out.value(QStringLiteral("passes")).toArray();
    ASSERT_EQ(passes.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QJsonObject pass = passes[i].toObject();
        EXPECT_EQ(pass.value(QStringLiteral("made")).toInt(), 3) << i;
        EXPECT_EQ(pass.value(QStringLiteral("store_hits")).toInt(), i == 0 ? 0 : 3) << i;
        EXPECT_GE(pass.value(QStringLiteral("ms")).toDouble(), 0.0);
    }
    // The per-run folder and its cache files went at exit.
    const QDir base(temp.path() + QStringLiteral("/Orvanne/Tessary"));
    EXPECT_TRUE(base.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST(CliThumbs, WrongUsageAndMissingFoldersAreRefused)
{
    QTemporaryDir dir;
    EXPECT_EQ(Cli({}, dir.path()).exitCode, 2);
    EXPECT_EQ(Cli({dir.path(), QStringLiteral("--passes"), QStringLiteral("0")}, dir.path()).exitCode, 2);
    EXPECT_EQ(Cli({dir.path(), QStringLiteral("--passes")}, dir.path()).exitCode, 2);
    EXPECT_EQ(Cli({dir.path(), dir.path()}, dir.path()).exitCode, 2);
    const CliRun missing = Cli({dir.filePath(QStringLiteral("nowhere"))}, dir.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith("tessary-cli: "));
    const CliRun empty = Cli({dir.path(), QStringLiteral("--json"), QStringLiteral("--passes"), QStringLiteral("1")}, dir.path());
    ASSERT_EQ(empty.exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(empty.out).object().value(QStringLiteral("files")).toInt(), 0);
}

TEST(CliThumbs, TheTextReportNamesTheWorkerCount)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteSolidBmp(dir.filePath(QStringLiteral("a.bmp")), 50, 40, DibColor::Rgb(4, 5, 6)));
    const CliRun one = Cli({dir.path(), QStringLiteral("--passes"), QStringLiteral("1")}, dir.path(), "1");
    ASSERT_EQ(one.exitCode, 0) << one.err.constData();
    EXPECT_TRUE(one.out.contains("pass 1: 1 made, 0 from the store, 0 failed")) << one.out.constData();
    EXPECT_TRUE(one.out.contains("1 files, 1 workers")) << one.out.constData();
    // Out of range: the machine's core count within 1..8.
    const int cores = std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    const CliRun many = Cli({dir.path(), QStringLiteral("--passes"), QStringLiteral("1"), QStringLiteral("--json")}, dir.path(), "12");
    ASSERT_EQ(many.exitCode, 0) << many.err.constData();
    EXPECT_EQ(QJsonDocument::fromJson(many.out).object().value(QStringLiteral("workers")).toInt(), cores);
}

TEST(CliThumbs, AnAlbumWithOnePhotoOfEachFormatRoundTripsAndEveryThumbnailIsMade)
{
    QTemporaryDir dir, temp;
    const QString in = dir.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(in));
    const QStringList photos = WriteOnePhotoOfEachFormat(in, QStringLiteral("photo"));
    ASSERT_EQ(photos.size(), 8);
    const QString albums = dir.filePath(QStringLiteral("albums"));
    const CliResult created = RunCli({QStringLiteral("album"), QStringLiteral("create"), albums, QStringLiteral("All")});
    ASSERT_EQ(created.exitCode, 0) << created.err.constData();
    const QString file = albums + QStringLiteral("/All/All.tsy");
    const CliResult added = RunCli(QStringList{QStringLiteral("album"), QStringLiteral("add"), file,
                                               QStringLiteral("--collection"), QStringLiteral("Formats")}
                                   + photos);
    ASSERT_EQ(added.exitCode, 0) << added.err.constData();
    EXPECT_EQ(added.out.trimmed(), QByteArray("8"));

    // Saved by the command, reloaded here: every code and canonical extension survives.
    Album album;
    ASSERT_TRUE(LoadAlbum(album, file));
    const Collection* c = album.GetCollections().FindByName(QStringLiteral("Formats"));
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->GetItems().Count(), 8);
    const std::vector<PhotoFormat> expected = {PhotoFormat::Bmp,  PhotoFormat::Gif,  PhotoFormat::Jpeg,
                                               PhotoFormat::Png,  PhotoFormat::Tiff, PhotoFormat::Webp,
                                               PhotoFormat::Heif, PhotoFormat::Avif};
    for (int i = 0; i < 8; ++i) {
        const Item* item = c->GetItems().At(i);
        ASSERT_EQ(item->GetPhotos().Count(), 1);
        const Photo* photo = item->GetPhotos().At(0);
        EXPECT_EQ(photo->Format(), expected[size_t(i)]) << i;
        EXPECT_TRUE(photo->FilePath().endsWith(QLatin1Char('.') + QLatin1String(CanonicalExtension(expected[size_t(i)]))));
        EXPECT_TRUE(QFileInfo(photo->FilePath()).isFile());
    }
    ASSERT_TRUE(SaveAlbum(album));
    Album again;
    ASSERT_TRUE(LoadAlbum(again, file));
    EXPECT_EQ(again.GetCollections().FindByName(QStringLiteral("Formats"))->GetItems().Count(), 8);

    // The list-view thumbnailer makes a cell for every photo of the album folder.
    const CliRun r = Cli({albums + QStringLiteral("/All"), QStringLiteral("--passes"), QStringLiteral("1"),
                          QStringLiteral("--json")},
                         temp.path(), "2");
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonObject out = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(out.value(QStringLiteral("files")).toInt(), 8);
    const QJsonObject pass = out.value(QStringLiteral("passes")).toArray().at(0).toObject();
    EXPECT_EQ(pass.value(QStringLiteral("made")).toInt(), 8);
    EXPECT_EQ(pass.value(QStringLiteral("failed")).toInt(), 0);
}
