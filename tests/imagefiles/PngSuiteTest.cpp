// Conformance over PngSuite: every valid file decodes to its size and to the pixels of an
// independent decode (Qt's own PNG reader, at 16 bits per channel, with the gamma rule applied
// here: exponent 1 / (file gamma x 2.2), file gamma from gAMA or 0.45455, no correction when
// that product is within 5 % of 1; the reference reader mishandles 16-bit files with a tRNS
// key, so grey and RGB files with a key are compared with their samples unfiltered here);
// every deliberately broken file ("x" prefix) is refused.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "imagefiles/ImageStreams.h"
#include "imagefiles/PngDecoder.h"

using namespace tessary;

namespace {

QString SuiteDir()
{
    return QStringLiteral(TESSARY_TESTDATA_DIR "/pngsuite/png");
}

QStringList SuiteFiles(bool broken)
{
    QStringList out;
    for (const QString& name : QDir(SuiteDir()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
        if (name.startsWith(QLatin1Char('x')) == broken)
            out << name;
    }
    return out;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// What the test needs of a file's chunks, read here (not through the library).
struct Chunks {
    int bitDepth = 0;
    int colorType = 0;
    double gamma = 0.45455;
    // The transparent grey or red, green, blue sample of a tRNS chunk (colour types 0 and 2).
    bool hasKey = false;
    uint16_t key[3] = {};

    explicit Chunks(const QByteArray& file)
    {
        qsizetype pos = 8;
        while (pos + 8 <= file.size()) {
            const auto* p = reinterpret_cast<const uint8_t*>(file.constData() + pos);
            const uint32_t length = Be32(p);
            if (pos + 12 + qsizetype(length) > file.size())
                break;
            const uint8_t* data = p + 8;
            if (std::memcmp(p + 4, "IHDR", 4) == 0) {
                width = int(Be32(data));
                height = int(Be32(data + 4));
                bitDepth = data[8];
                colorType = data[9];
                interlaced = data[12] != 0;
            } else if (std::memcmp(p + 4, "IDAT", 4) == 0) {
                idat += QByteArray(reinterpret_cast<const char*>(data), qsizetype(length));
            } else if (std::memcmp(p + 4, "gAMA", 4) == 0 && length == 4) {
                gamma = Be32(data) / 100000.0;
            } else if (std::memcmp(p + 4, "tRNS", 4) == 0 && colorType == 0 && length == 2) {
                hasKey = true;
                key[0] = key[1] = key[2] = Be16(data);
            } else if (std::memcmp(p + 4, "tRNS", 4) == 0 && colorType == 2 && length == 6) {
                hasKey = true;
                key[0] = Be16(data);
                key[1] = Be16(data + 2);
                key[2] = Be16(data + 4);
            }
            pos += 12 + qsizetype(length);
        }
    }

    int width = 0;
    int height = 0;
    bool interlaced = false;
    QByteArray idat;

    // The file's own samples of a non-interlaced grey or RGB image, 3 per pixel, unfiltered
    // here: the reference reader mishandles 16-bit files with a tRNS key.
    std::vector<uint16_t> KeySamples() const
    {
        std::vector<uint16_t> out;
        const int channels = colorType == 2 ? 3 : 1;
        const qsizetype rowBytes = (qsizetype(width) * channels * bitDepth + 7) / 8;
        const int bpp = std::max(1, channels * bitDepth / 8);
        const qsizetype total = height * (rowBytes + 1);
        QByteArray framed(4, 0);
        framed[0] = char(total >> 24);
        framed[1] = char(total >> 16);
        framed[2] = char(total >> 8);
        framed[3] = char(total);
        const QByteArray raw = qUncompress(framed + idat);
        if (interlaced || raw.size() != total)
            return out;
        std::vector<uint8_t> prev(static_cast<size_t>(rowBytes), 0);
        std::vector<uint8_t> cur(static_cast<size_t>(rowBytes), 0);
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const uint8_t*>(raw.constData() + y * (rowBytes + 1));
            for (qsizetype i = 0; i < rowBytes; ++i) {
                const int a = i >= bpp ? cur[size_t(i - bpp)] : 0, b = prev[size_t(i)];
                const int c = i >= bpp ? prev[size_t(i - bpp)] : 0;
                int pred = 0;
                switch (line[0]) {
                case 1: pred = a; break;
                case 2: pred = b; break;
                case 3: pred = (a + b) / 2; break;
                case 4: {
                    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
                    pred = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
                    break;
                }
                }
                cur[size_t(i)] = uint8_t(line[1 + i] + pred);
            }
            for (int x = 0; x < width; ++x) {
                for (int ch = 0; ch < 3; ++ch) {
                    const int k = x * channels + (channels == 3 ? ch : 0);
                    uint16_t v = 0;
                    if (bitDepth == 16)
                        v = uint16_t(cur[size_t(2 * k)] << 8 | cur[size_t(2 * k + 1)]);
                    else if (bitDepth == 8)
                        v = cur[size_t(k)];
                    else
                        v = (cur[size_t(k * bitDepth / 8)] >> (8 - bitDepth - (k * bitDepth) % 8)) & ((1 << bitDepth) - 1);
                    out.push_back(v);
                }
            }
            prev = cur;
        }
        return out;
    }
};

struct GammaRule {
    bool correct = false;
    double exponent = 1;

    explicit GammaRule(double fileGamma)
    {
        const double product = fileGamma * 2.2;
        correct = std::fabs(product - 1) >= 0.05;
        exponent = 1 / product;
    }
    // The 8-bit channel value expected for a 16-bit reference value.
    int Apply(uint16_t v) const
    {
        if (!correct)
            return v >> 8;
        return int(std::floor(255 * std::pow(v / 65535.0, exponent) + 0.5));
    }
};

bool Decode(const QByteArray& file, bool headerOnly, PngImageInfo& info, DibImage& out)
{
    MemoryStream stream(file.constData(), size_t(file.size()));
    return DecodePng(stream, headerOnly, kMaxDecodedBytes, info, out);
}

#define SKIP_WITHOUT_SUITE()                                                                       \
    if (!QFileInfo(SuiteDir()).isDir())                                                            \
    GTEST_SKIP() << "no PngSuite at " << SuiteDir().toStdString()

} // namespace

TEST(PngSuite, ValidFilesMatchAnIndependentDecode)
{
    SKIP_WITHOUT_SUITE();
    const QStringList files = SuiteFiles(false);
    ASSERT_GE(files.size(), 150);
    int withAlpha = 0;
    int corrected = 0;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray file = ReadAll(SuiteDir() + QLatin1Char('/') + name);
        QImage reference;
        ASSERT_TRUE(reference.loadFromData(file, "PNG"));
        reference = reference.convertToFormat(QImage::Format_RGBA64);

        PngImageInfo info;
        DibImage image;
        ASSERT_TRUE(Decode(file, false, info, image));
        ASSERT_EQ(image.Width(), reference.width());
        ASSERT_EQ(image.Height(), reference.height());
        EXPECT_EQ(info.width, reference.width());
        EXPECT_EQ(info.height, reference.height());
        EXPECT_EQ(image.Bpp(), info.hasAlpha ? 32 : 24);
        withAlpha += info.hasAlpha;

        const Chunks chunks(file);
        const GammaRule gamma(chunks.gamma);
        const std::vector<uint16_t> keySamples = chunks.hasKey ? chunks.KeySamples() : std::vector<uint16_t>();
        ASSERT_EQ(keySamples.size(), chunks.hasKey ? size_t(3 * image.Width() * image.Height()) : 0u);
        corrected += gamma.correct;
        int worst = 0;
        for (int y = 0; y < image.Height(); ++y) {
            const auto* ref = reinterpret_cast<const QRgba64*>(reference.constScanLine(y));
            const uint8_t* row = image.Row(y);
            for (int x = 0; x < image.Width(); ++x) {
                const uint8_t* p = row + x * (image.Bpp() / 8);
                QRgba64 r = ref[x];
                const int alpha = image.Bpp() == 32 ? p[3] : 255;
                if (chunks.hasKey) {
                    const uint16_t* k = &keySamples[size_t(3 * (y * image.Width() + x))];
                    const bool transparent = k[0] == chunks.key[0] && k[1] == chunks.key[1] && k[2] == chunks.key[2];
                    ASSERT_EQ(alpha, transparent ? 0 : 255) << "alpha at " << x << "," << y;
                    const uint32_t maximum = (1u << chunks.bitDepth) - 1;
                    auto wide = [&](uint16_t v) { return uint16_t(v * 65535u / maximum); };
                    r = QRgba64::fromRgba64(wide(k[0]), wide(k[1]), wide(k[2]), 65535);
                } else {
                    ASSERT_EQ(alpha, r.alpha() >> 8) << "alpha at " << x << "," << y;
                }
                if (alpha == 0)
                    continue; // the colour under a fully transparent pixel is not compared
                worst = std::max({worst, std::abs(p[0] - gamma.Apply(r.blue())),
                                  std::abs(p[1] - gamma.Apply(r.green())), std::abs(p[2] - gamma.Apply(r.red()))});
            }
        }
        // The library's gamma tables round once more than the formula, and its 16-bit tables
        // drop the low bits of a sample (a 16-bit 1 comes out 0 where the formula gives 2).
        EXPECT_LE(worst, chunks.bitDepth == 16 ? 2 : 1);
    }
    EXPECT_GE(withAlpha, 20);
    EXPECT_GE(corrected, 130);
}

TEST(PngSuite, HeaderOnlyReadsGiveTheRecordWithoutPixels)
{
    SKIP_WITHOUT_SUITE();
    struct Case {
        const char* name;
        int width, height, bitDepth, channels, colorType, interlace;
        bool hasAlpha;
    };
    const Case cases[] = {
        {"basn0g01.png", 32, 32, 1, 1, 0, 0, false}, {"basi2c16.png", 32, 32, 16, 3, 2, 1, false},
        {"basn3p04.png", 32, 32, 4, 1, 3, 0, false}, {"basn4a08.png", 32, 32, 8, 2, 4, 0, true},
        {"basn6a16.png", 32, 32, 16, 4, 6, 0, true}, {"tbbn3p08.png", 32, 32, 8, 1, 3, 0, true},
        {"tbrn2c08.png", 32, 32, 8, 3, 2, 0, true},  {"s39i3p04.png", 39, 39, 4, 1, 3, 1, false},
        {"s01n3p01.png", 1, 1, 1, 1, 3, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PngImageInfo info;
        DibImage untouched;
        ASSERT_TRUE(Decode(ReadAll(SuiteDir() + QLatin1Char('/') + QLatin1String(c.name)), true, info, untouched));
        EXPECT_TRUE(untouched.IsEmpty());
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        EXPECT_EQ(info.bitDepth, c.bitDepth);
        EXPECT_EQ(info.channels, c.channels);
        EXPECT_EQ(info.colorType, c.colorType);
        EXPECT_EQ(info.interlace, c.interlace);
        EXPECT_EQ(info.hasAlpha, c.hasAlpha);
    }
}

TEST(PngSuite, BrokenFilesAreRefused)
{
    SKIP_WITHOUT_SUITE();
    const QStringList files = SuiteFiles(true);
    ASSERT_GE(files.size(), 14);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        PngImageInfo info;
        DibImage image;
        ASSERT_TRUE(image.Create(2, 2, 24));
        EXPECT_FALSE(Decode(ReadAll(SuiteDir() + QLatin1Char('/') + name), false, info, image));
        EXPECT_TRUE(image.IsEmpty()) << "a failed load leaves the target empty";
    }
}

// Every cut of a valid file is refused or decoded; none reads past its buffer.
TEST(PngSuite, CutFilesNeverReadPastTheirBuffer)
{
    SKIP_WITHOUT_SUITE();
    for (const char* name : {"basi6a16.png", "tbbn3p08.png", "basn0g01.png"}) {
        SCOPED_TRACE(name);
        const QByteArray file = ReadAll(SuiteDir() + QLatin1Char('/') + QLatin1String(name));
        int decoded = 0;
        for (qsizetype n = 0; n < file.size(); n += 7) {
            QByteArray cut = file.left(n);
            cut.squeeze();
            PngImageInfo info;
            DibImage image;
            decoded += Decode(cut, false, info, image);
        }
        EXPECT_EQ(decoded, 0) << "no cut file ends with its IEND chunk";
    }
}
