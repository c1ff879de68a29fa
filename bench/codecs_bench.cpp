// The thumbnail loader on a 4000 x 3000 photo, on one core:
// - without an Exif thumbnail, fitted into 94 x 94 (target: under 40 ms, and within 1.2 x the
//   JPEG library's own 1/8-scale decode of the same file, the entropy decoding no thumbnailer
//   can skip; that decode is measured in process, and as `djpeg -scale 1/8` when the program is
//   installed);
// - with an Exif thumbnail (target: under 3 ms);
// - the full-size decode the viewer needs, for scale;
// - the heap one thumbnail takes at its peak (counter peak_MB), for a JPEG photo and for BMP
//   and PNG pictures shrunk while their rows are read, beside the full decode and resize they
//   replace.
// The photo is made here with the JPEG library's compressor: smooth gradients, shapes and a
// little noise, about the bytes per pixel of a camera's fine setting.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <csetjmp>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>

#include <QBuffer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "../tests/imagefiles/ExifBuilder.h"
#include "../tests/imagefiles/JpegFixture.h"
#include "../tests/imagefiles/BmpFixture.h"
#include "AllocationMeter.h"
#include "imagefiles/ImageLoader.h"

#include <QImage>

extern char** environ;

using namespace tessary;
using namespace tessary::test;

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

uint8_t CameraLikeSample(int x, int y, int c)
{
    const double fx = double(x) / kWidth, fy = double(y) / kHeight;
    double v = 60 + 120 * fx * (c == 0) + 110 * fy * (c == 1) + 90 * (1 - fx) * fy * (c == 2);
    v += 40 * std::sin(fx * 23 + c) * std::cos(fy * 17) + 12 * std::sin(x * 0.31 + c) * std::sin(y * 0.23);
    const double dx = x - 2600.0, dy = y - 1200.0;
    if (dx * dx + dy * dy < 700.0 * 700.0)
        v = 0.6 * v + 70 + 30 * c;
    if ((x / 250 + y / 250) % 7 == 0)
        v += 35;
    const uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ uint32_t(c) * 83492791u;
    v += double(h >> 26) - 31.5;
    return uint8_t(std::clamp(v, 0.0, 255.0));
}

struct Photos {
    QTemporaryDir dir;
    QString plain;
    QString withThumbnail;
    qint64 bytes = 0;
};

const Photos& TestPhotos()
{
    static Photos* photos = [] {
        auto* p = new Photos;
        JpegRecipe recipe;
        recipe.width = kWidth;
        recipe.height = kHeight;
        recipe.quality = 90;
        const std::vector<uint8_t> photo = EncodeJpeg(recipe, CameraLikeSample);
        JpegRecipe thumbSpec;
        thumbSpec.width = 160;
        thumbSpec.height = 120;
        const std::vector<uint8_t> thumb = EncodeJpeg(
            thumbSpec, [](int x, int y, int c) { return CameraLikeSample(x * kWidth / 160, y * kHeight / 120, c); });
        TiffBuilder tiff(false);
        tiff.AddShort(TiffBuilder::kIfd0, 274, 1);
        tiff.SetThumbnail(thumb);
        auto write = [&](const QString& name, const std::vector<uint8_t>& bytes) {
            const QString path = p->dir.filePath(name);
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
            return path;
        };
        p->plain = write(QStringLiteral("plain.jpg"), photo);
        p->withThumbnail = write(QStringLiteral("exif.jpg"), InsertAfterSoi(photo, ExifSegment(tiff.Build())));
        p->bytes = qint64(photo.size());
        return p;
    }();
    return *photos;
}

void FittedWithoutExif(benchmark::State& state)
{
    const Photos& photos = TestPhotos();
    for (auto _ : state) {
        DibImage24 thumb;
        if (!LoadImageFitted(thumb, photos.plain, {94, 94}) || thumb.Size() != DibSize{94, 70})
            state.SkipWithError("thumbnail failed");
        benchmark::DoNotOptimize(thumb.Bits());
    }
    state.counters["file_MB"] = double(photos.bytes) / 1e6;
}
BENCHMARK(FittedWithoutExif)->Unit(benchmark::kMillisecond)->UseRealTime();

void FittedWithExif(benchmark::State& state)
{
    const Photos& photos = TestPhotos();
    for (auto _ : state) {
        DibImage24 thumb;
        if (!LoadImageFitted(thumb, photos.withThumbnail, {94, 94}) || thumb.Size() != DibSize{94, 70})
            state.SkipWithError("thumbnail failed");
        benchmark::DoNotOptimize(thumb.Bits());
    }
}
BENCHMARK(FittedWithExif)->Unit(benchmark::kMillisecond)->UseRealTime();

// What djpeg -scale 1/8 does, without its process start and output file: the library's stdio
// source, a 1/8 decode with the default settings, every row read.
struct LibraryDecode {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<LibraryDecode*>(cinfo)->jump, 1);
}

bool DecodeAtEighth(LibraryDecode& d, std::FILE* file, JSAMPLE* row)
{
    if (setjmp(d.jump))
        return false;
    jpeg_stdio_src(&d.cinfo, file);
    jpeg_read_header(&d.cinfo, TRUE);
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = 8;
    jpeg_start_decompress(&d.cinfo);
    JSAMPROW rows[1] = {row};
    while (d.cinfo.output_scanline < d.cinfo.output_height)
        jpeg_read_scanlines(&d.cinfo, rows, 1);
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

void LibraryEighthScale(benchmark::State& state)
{
    const Photos& photos = TestPhotos();
    const QByteArray name = QFile::encodeName(photos.plain);
    std::vector<JSAMPLE> row(size_t(kWidth) * 3);
    for (auto _ : state) {
        std::FILE* file = std::fopen(name.constData(), "rb");
        LibraryDecode d;
        d.cinfo.err = jpeg_std_error(&d.err);
        d.err.error_exit = JumpOnError;
        jpeg_create_decompress(&d.cinfo);
        const bool ok = DecodeAtEighth(d, file, row.data());
        jpeg_destroy_decompress(&d.cinfo);
        std::fclose(file);
        if (!ok)
            state.SkipWithError("decode failed");
    }
}
BENCHMARK(LibraryEighthScale)->Unit(benchmark::kMillisecond)->UseRealTime();

// The installed djpeg program itself (process start included), when it is there.
void DjpegEighthScale(benchmark::State& state)
{
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty()) {
        state.SkipWithError("djpeg is not installed (Debian package libjpeg-turbo-progs)");
        return;
    }
    const QByteArray program = QFile::encodeName(djpeg);
    const QByteArray input = QFile::encodeName(TestPhotos().plain);
    char scaleFlag[] = "-scale", scale[] = "1/8", outFlag[] = "-outfile", out[] = "/dev/null";
    char* argv[] = {const_cast<char*>(program.constData()), scaleFlag, scale, outFlag, out,
                    const_cast<char*>(input.constData()), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid
            || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("djpeg failed");
    }
}
BENCHMARK(DjpegEighthScale)->Unit(benchmark::kMillisecond)->UseRealTime();

void FullSizeForTheViewer(benchmark::State& state)
{
    const Photos& photos = TestPhotos();
    for (auto _ : state) {
        const std::unique_ptr<Picture> picture = LoadPicture(photos.plain);
        if (!picture)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(picture.get());
    }
}
BENCHMARK(FullSizeForTheViewer)->Unit(benchmark::kMillisecond)->UseRealTime();

// Pictures for the memory figures, made once.
struct BigPictures {
    QTemporaryDir dir;
    QString rle;   // 30000 x 30000 RLE8 in a few bytes
    QString plain; // 4000 x 3000 24-bit rows
    QString png;   // 12000 x 12000 grey
    QString cutPng; // 18000 x 18000 grey whose data was cut to 1 KB
};

const BigPictures& Pictures()
{
    static BigPictures* p = [] {
        auto* b = new BigPictures;
        auto write = [&](const QString& name, const QByteArray& bytes) {
            const QString path = b->dir.filePath(name);
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            return path;
        };
        auto bytesOf = [](const BmpBytes& v) { return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size())); };
        BmpSpec rle;
        rle.width = 30000;
        rle.height = 30000;
        rle.bpp = 8;
        rle.compression = 1;
        rle.palette = {{10, 20, 30}, {200, 100, 50}};
        rle.clrUsed = 2;
        rle.pixels = {255, 1, 0, 0, 0, 1};
        b->rle = write(QStringLiteral("rle.bmp"), bytesOf(BuildBmp(rle)));
        BmpSpec plain;
        plain.width = kWidth;
        plain.height = kHeight;
        plain.pixels = StoredRows(kWidth, kHeight, 24, false, [](int x, int y) {
            return uint32_t(CameraLikeSample(x, y, 2) | CameraLikeSample(x, y, 1) << 8 | CameraLikeSample(x, y, 0) << 16);
        });
        b->plain = write(QStringLiteral("plain.bmp"), bytesOf(BuildBmp(plain)));
        auto png = [](int side) {
            QImage grey(side, side, QImage::Format_Grayscale8);
            for (int y = 0; y < side; ++y)
                std::memset(grey.scanLine(y), (y / 97) % 256, size_t(side));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            grey.save(&buffer, "PNG");
            return bytes;
        };
        b->png = write(QStringLiteral("big.png"), png(12000));
        b->cutPng = write(QStringLiteral("cut.png"), png(18000).left(1024));
        return b;
    }();
    return *p;
}

// One thumbnail per iteration, by the thumbnail path or by the full decode and resize.
void ThumbnailMemory(benchmark::State& state, int which, bool fullDecode)
{
    const BigPictures& b = Pictures();
    const QString path = which == 0 ? TestPhotos().plain : which == 1 ? b.rle : which == 2 ? b.plain
                       : which == 3 ? b.png : b.cutPng;
    int64_t peak = 0;
    bool ok = false;
    for (auto _ : state) {
        bench::ResetPeak();
        DibImage24 thumb;
        if (fullDecode) {
            const std::unique_ptr<Picture> picture = LoadPicture(path);
            ok = picture && GetFittedImage(*picture, thumb, {94, 94});
        } else {
            ok = LoadImageFitted(thumb, path, {94, 94});
        }
        peak = std::max(peak, bench::PeakSinceReset());
        benchmark::DoNotOptimize(thumb.Bits());
    }
    state.counters["peak_MB"] = double(peak) / 1e6;
    state.counters["ok"] = ok ? 1 : 0;
    state.counters["file_KB"] = double(QFile(path).size()) / 1e3;
}
BENCHMARK_CAPTURE(ThumbnailMemory, jpeg_4000x3000, 0, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ThumbnailMemory, rle_bmp_30000x30000, 1, false)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(ThumbnailMemory, rle_bmp_30000x30000_full_decode, 1, true)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(ThumbnailMemory, bmp_4000x3000, 2, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ThumbnailMemory, bmp_4000x3000_full_decode, 2, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ThumbnailMemory, png_12000x12000, 3, false)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(ThumbnailMemory, png_12000x12000_full_decode, 3, true)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(ThumbnailMemory, png_cut_data_18000x18000, 4, false)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
