// Thumbnails of BMP and PNG files shrunk while their rows are read: the same bytes as the full
// decode and resize for every depth, layout and size, and a small file declaring a huge
// picture costs only a band of rows.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <zlib.h>

#include "BmpFixture.h"
#include "imagefiles/ImageLoader.h"
#include "imaging/ImageTestUtil.h"

using namespace tessary;
using namespace tessary::test;

namespace {

uint8_t Noise(int x, int y, int c) { return uint8_t((x * 73 + y * 151 + c * 37 + x * y * 11) % 251); }

const std::vector<std::array<uint8_t, 3>> kPalette = [] {
    std::vector<std::array<uint8_t, 3>> p;
    for (int i = 0; i < 256; ++i)
        p.push_back({uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 13)});
    return p;
}();

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray Bytes(const BmpBytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())); }

// The thumbnail through LoadImageFitted, and the full decode with GetFittedImage; both must
// succeed or both fail, and agree to the byte.
::testing::AssertionResult SameAsFullDecode(const QString& path, DibSize box)
{
    DibImage24 streamed;
    const bool a = LoadImageFitted(streamed, path, box);
    const std::unique_ptr<Picture> picture = LoadPicture(path);
    DibImage24 full;
    const bool b = picture && GetFittedImage(*picture, full, box);
    if (a != b)
        return ::testing::AssertionFailure() << "streamed " << a << ", full " << b;
    if (a && (streamed.Size() != full.Size() || Colors(streamed) != Colors(full)))
        return ::testing::AssertionFailure() << "pixels differ";
    return ::testing::AssertionSuccess();
}

// Run-length data of one line: runs of equal indices, a literal now and then, 4-bit packing.
void EncodeLine(std::vector<uint8_t>& out, const std::vector<uint8_t>& line, int bpp)
{
    size_t x = 0;
    while (x < line.size()) {
        size_t run = 1;
        while (x + run < line.size() && run < 255 && line[x + run] == line[x])
            ++run;
        if (run == 1 && x + 4 <= line.size() && bpp == 8) {
            const size_t n = std::min<size_t>(line.size() - x, 9);
            out.push_back(0);
            out.push_back(uint8_t(n));
            out.insert(out.end(), line.begin() + long(x), line.begin() + long(x + n));
            if (n & 1)
                out.push_back(0);
            x += n;
            continue;
        }
        out.push_back(uint8_t(run));
        out.push_back(bpp == 8 ? line[x] : uint8_t(line[x] << 4 | line[x]));
        x += run;
    }
}

// A picture made in code; `value(x, y)` counted from the top.
BmpBytes RleFile(int w, int h, int bpp, bool topDown, bool endEarly, const std::function<uint8_t(int, int)>& value)
{
    std::vector<uint8_t> data;
    const int lines = endEarly ? h / 2 : h;
    for (int i = 0; i < lines; ++i) {
        const int y = topDown ? i : h - 1 - i;
        std::vector<uint8_t> line(static_cast<size_t>(w));
        for (int x = 0; x < w; ++x)
            line[size_t(x)] = value(x, y);
        if (i == 1 && w > 4) {
            // Skip two columns and a line: the skipped pixels stay index 0.
            data.insert(data.end(), {0, 2, 2, 1});
            continue;
        }
        EncodeLine(data, line, bpp);
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    BmpSpec s;
    s.width = w;
    s.height = topDown ? -h : h;
    s.bpp = uint16_t(bpp);
    s.compression = bpp == 8 ? 1 : 2;
    s.palette.assign(kPalette.begin(), kPalette.begin() + (bpp == 8 ? 256 : 16));
    s.clrUsed = uint32_t(s.palette.size());
    s.pixels = std::move(data);
    return BuildBmp(s);
}

QByteArray PngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return bytes;
}

void Chunk(QByteArray& out, const char* type, const QByteArray& data)
{
    auto be32 = [&](uint32_t v) {
        for (int i = 3; i >= 0; --i)
            out.append(char(v >> (8 * i)));
    };
    be32(uint32_t(data.size()));
    const QByteArray body = QByteArray(type, 4) + data;
    out.append(body);
    be32(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))));
}

// An 8-bit grey PNG of w x h, every pixel `grey`, its data deflated row by row; `idatLimit`
// cuts the image data (0: whole).
QByteArray GreyPng(int w, int h, uint8_t grey, int idatLimit = 0)
{
    QByteArray ihdr;
    for (uint32_t v : {uint32_t(w), uint32_t(h)})
        for (int i = 3; i >= 0; --i)
            ihdr.append(char(v >> (8 * i)));
    ihdr.append(char(8)).append(char(0)).append(char(0)).append(char(0)).append(char(0));
    z_stream z{};
    EXPECT_EQ(deflateInit(&z, 9), Z_OK);
    std::vector<uint8_t> row(size_t(w) + 1, grey);
    row[0] = 0;
    QByteArray idat;
    std::vector<uint8_t> buffer(1 << 16);
    for (int y = 0; y <= h; ++y) {
        z.next_in = row.data();
        z.avail_in = y < h ? uInt(row.size()) : 0;
        const int flush = y < h ? Z_NO_FLUSH : Z_FINISH;
        do {
            z.next_out = buffer.data();
            z.avail_out = uInt(buffer.size());
            deflate(&z, flush);
            idat.append(reinterpret_cast<const char*>(buffer.data()), qsizetype(buffer.size() - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    if (idatLimit > 0)
        idat.truncate(idatLimit);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", idat);
    Chunk(png, "IEND", QByteArray());
    return png;
}

// Runs `body` in a child process whose address space is held to what it has now plus
// `extraBytes`; true when the child reports success.
bool SucceedsWithin(int64_t extraBytes, const std::function<bool()>& body)
{
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(f);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + rlim_t(extraBytes);
        const rlimit r{limit, limit};
        ::setrlimit(RLIMIT_AS, &r);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Uniform(const DibImage& image, DibColor c)
{
    for (uint32_t v : Colors(image))
        if (v != c.Value())
            return false;
    return true;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

const DibSize kSizes[] = {{95, 3}, {100, 100}, {301, 97}, {97, 301}, {1000, 7}, {7, 1000}, {257, 513}, {2, 2000}};
const DibSize kBoxes[] = {{94, 94}, {160, 160}, {16, 9}};

} // namespace

TEST(StreamedThumbnail, PlainBmpRowsGiveTheFullDecodesBytes)
{
    QTemporaryDir dir;
    for (int bpp : {1, 4, 8, 16, 24}) {
        for (bool topDown : {false, true}) {
            for (const DibSize& size : kSizes) {
                BmpSpec s;
                s.width = size.width;
                s.height = topDown ? -size.height : size.height;
                s.bpp = uint16_t(bpp);
                if (bpp <= 8) {
                    s.palette.assign(kPalette.begin(), kPalette.begin() + (1 << bpp));
                    s.clrUsed = uint32_t(s.palette.size());
                }
                s.pixels = StoredRows(size.width, size.height, bpp, topDown, [&](int x, int y) {
                    return uint32_t(Noise(x, y, 0) | Noise(x, y, 1) << 8 | Noise(x, y, 2) << 16) & (bpp == 16 ? 0x7FFF : 0xFFFFFF);
                });
                const QString path = WriteFile(dir, QStringLiteral("p.bmp"), Bytes(BuildBmp(s)));
                for (const DibSize& box : kBoxes)
                    ASSERT_TRUE(SameAsFullDecode(path, box)) << bpp << " bits, top-down " << topDown << ", "
                                                             << size.width << "x" << size.height << " into "
                                                             << box.width << "x" << box.height;
            }
        }
    }
}

TEST(StreamedThumbnail, RunLengthBmpGivesTheFullDecodesBytes)
{
    QTemporaryDir dir;
    for (int bpp : {4, 8}) {
        for (bool topDown : {false, true}) {
            for (bool endEarly : {false, true}) {
                for (const DibSize& size : kSizes) {
                    const uint8_t mask = bpp == 8 ? 0xFF : 0x0F;
                    const BmpBytes file = RleFile(size.width, size.height, bpp, topDown, endEarly, [&](int x, int y) {
                        return uint8_t(((x / 5) * 3 + y * 7 + (x % 7 == 0 ? Noise(x, y, 0) : 0)) & mask);
                    });
                    const QString path = WriteFile(dir, QStringLiteral("r.bmp"), Bytes(file));
                    for (const DibSize& box : kBoxes)
                        ASSERT_TRUE(SameAsFullDecode(path, box)) << bpp << " bits, top-down " << topDown << ", early end "
                                                                 << endEarly << ", " << size.width << "x" << size.height;
                }
            }
        }
    }
    // Cut data: refused by both.
    BmpBytes cut = RleFile(300, 200, 8, false, false, [](int x, int y) { return uint8_t(x + y); });
    cut.resize(cut.size() - 40);
    const QString path = WriteFile(dir, QStringLiteral("cut.bmp"), Bytes(cut));
    DibImage24 image;
    EXPECT_FALSE(LoadImageFitted(image, path, {94, 94}));
    EXPECT_TRUE(SameAsFullDecode(path, {94, 94}));
}

TEST(StreamedThumbnail, PngRowsGiveTheFullDecodesBytes)
{
    QTemporaryDir dir;
    for (const DibSize& size : kSizes) {
        QImage rgb(size.width, size.height, QImage::Format_RGB32);
        QImage argb(size.width, size.height, QImage::Format_ARGB32);
        QImage grey(size.width, size.height, QImage::Format_Grayscale8);
        QImage deep(size.width, size.height, QImage::Format_RGBA64);
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) {
                rgb.setPixel(x, y, qRgb(Noise(x, y, 0), Noise(x, y, 1), Noise(x, y, 2)));
                argb.setPixel(x, y, qRgba(Noise(x, y, 0), Noise(x, y, 1), Noise(x, y, 2), Noise(x, y, 3)));
                grey.setPixel(x, y, qRgb(Noise(x, y, 1), Noise(x, y, 1), Noise(x, y, 1)));
                deep.setPixelColor(x, y, QColor::fromRgba64(Noise(x, y, 0) * 257 + 3, Noise(x, y, 1) * 250, 999, 65535 - Noise(x, y, 2) * 200));
            }
        QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        int kind = 0;
        for (const QImage* image : {&rgb, &argb, &grey, &deep, &indexed}) {
            const QString path = WriteFile(dir, QStringLiteral("p%1.png").arg(kind++), PngOf(*image));
            for (const DibSize& box : kBoxes)
                ASSERT_TRUE(SameAsFullDecode(path, box)) << "kind " << kind - 1 << ", " << size.width << "x" << size.height;
        }
    }
}

TEST(StreamedThumbnail, PngDataTooSmallForItsSizeIsRefused)
{
    QTemporaryDir dir;
    // 18000 x 18000 grey needs 970 MB of pixels; a few hundred bytes of data cannot hold it.
    const QString cut = WriteFile(dir, QStringLiteral("cut.png"), GreyPng(18000, 18000, 0, 300));
    DibImage24 image;
    EXPECT_FALSE(LoadImageFitted(image, cut, {94, 94}));
    EXPECT_EQ(LoadPicture(cut), nullptr);
    EXPECT_EQ(LoadHeader(cut), (std::optional<DibSize>(DibSize{18000, 18000}))) << "the header is still read";
    // The same picture with all its data is fine: zeros deflate at nearly the largest ratio.
    const QString whole = WriteFile(dir, QStringLiteral("whole.png"), GreyPng(3000, 3000, 0));
    EXPECT_LT(QFile(whole).size(), 3000 * 3000 / 500);
    ASSERT_TRUE(LoadImageFitted(image, whole, {94, 94}));
    EXPECT_TRUE(Uniform(image, DibColor::Rgb(0, 0, 0)));
}

// A small file declaring a picture of most of a gigabyte: the thumbnail is made in a few
// megabytes. Checked in a child process held to 300 MB more than it has.
TEST(StreamedThumbnail, HugeDeclaredPicturesCostOnlyABandOfRows)
{
    if (kSanitized)
        GTEST_SKIP() << "the sanitizers reserve address space, so the limit cannot be set";
    QTemporaryDir dir;
    // 30000 x 30000 at 8 bits: 900 MB of rows; the data ends at once, so every pixel has
    // index 0.
    BmpSpec s = {};
    s.width = 30000;
    s.height = 30000;
    s.bpp = 8;
    s.compression = 1;
    s.palette = {{10, 20, 30}, {1, 2, 3}};
    s.clrUsed = 2;
    s.pixels = {0, 1};
    const QString rle = WriteFile(dir, QStringLiteral("huge.bmp"), Bytes(BuildBmp(s)));
    EXPECT_LT(QFile(rle).size(), 1024);
    EXPECT_TRUE(SucceedsWithin(int64_t(300) << 20, [&] {
        DibImage24 image;
        return LoadImageFitted(image, rle, {94, 94}) && image.Size() == DibSize{94, 94}
            && Uniform(image, DibColor::Rgb(30, 20, 10));
    }));
    // 12000 x 12000 grey PNG: 432 MB decoded, a few hundred kilobytes on disk.
    const QString png = WriteFile(dir, QStringLiteral("huge.png"), GreyPng(12000, 12000, 77));
    EXPECT_TRUE(SucceedsWithin(int64_t(300) << 20, [&] {
        DibImage24 image;
        return LoadImageFitted(image, png, {160, 160}) && image.Size() == DibSize{160, 160}
            && Uniform(image, DibColor::Rgb(77, 77, 77));
    }));
}
