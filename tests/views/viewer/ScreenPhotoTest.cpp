// Decoding photos for the viewer: orientation, the display size rule, shrinking and alpha,
// and files that cannot be shown.
#include <QTemporaryDir>
#include <QTest>

#include "ViewerTestSupport.h"
#include "imagefiles/PhotoMetadata.h"
#include "imagefiles/TiffFixture.h"
#include "imaging/ExifOrientation.h"
#include "views/viewer/ScreenPhoto.h"
#include "views/viewer/ViewFrame.h"

using namespace tessary;
using namespace tessary::test;

namespace {

QColor At(const DibImage& image, int x, int y)
{
    DibColor c;
    image.GetColor(c, x, y);
    return QColor(c.red, c.green, c.blue);
}

// The colour near the centre of each quadrant: top left, top right, bottom left, bottom right.
std::array<QColor, 4> Quadrants(const DibImage& image)
{
    const int w = image.Width(), h = image.Height();
    return {At(image, w / 4, h / 4), At(image, 3 * w / 4, h / 4), At(image, w / 4, 3 * h / 4),
            At(image, 3 * w / 4, 3 * h / 4)};
}

// Mean absolute difference per channel of two images of the same size, sampled on a grid.
double MeanDifference(const DibImage& a, const DibImage& b)
{
    double sum = 0;
    int n = 0;
    for (int y = 2; y < a.Height(); y += 7) {
        for (int x = 2; x < a.Width(); x += 7) {
            const QColor p = At(a, x, y), q = At(b, x, y);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue());
            n += 3;
        }
    }
    return n ? sum / n : 1e9;
}

} // namespace

class ScreenPhotoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Where each stored quadrant ends up once the photo is upright (0 TL, 1 TR, 2 BL, 3 BR).
    void orientationOfMadeFiles_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("bigEndian");
        QTest::addColumn<QList<int>>("upright");
        const QList<QList<int>> layouts = {{0, 1, 2, 3}, {0, 1, 2, 3}, {1, 0, 3, 2}, {3, 2, 1, 0}, {2, 3, 0, 1},
                                           {0, 2, 1, 3}, {2, 0, 3, 1}, {3, 1, 2, 0}, {1, 3, 0, 2}};
        for (int o = 0; o <= 8; ++o) {
            for (bool big : {false, true})
                QTest::addRow("%d-%s", o, big ? "MM" : "II") << o << big << layouts[o];
        }
        // Values outside 1..8 leave the photo as stored.
        QTest::addRow("9") << 9 << false << layouts[0];
    }
    void orientationOfMadeFiles()
    {
        QFETCH(int, orientation);
        QFETCH(bool, bigEndian);
        QFETCH(QList<int>, upright);
        const QString path = m_dir.filePath(QStringLiteral("q%1%2.jpg").arg(orientation).arg(bigEndian));
        QVERIFY(WriteBytes(path, QuadrantJpeg(96, 64, orientation, bigEndian)));
        ScreenPhoto photo;
        QVERIFY(LoadScreenPhoto(path, {1000, 1000}, photo));
        const bool swapped = orientation >= 5 && orientation <= 8;
        QCOMPARE(photo.photoSize, (swapped ? DibSize{64, 96} : DibSize{96, 64}));
        QCOMPARE(photo.image.Size(), photo.photoSize);
        QCOMPARE(photo.orientation, orientation >= 1 && orientation <= 8 ? orientation : 1);
        const auto seen = Quadrants(photo.image.color);
        for (int q = 0; q < 4; ++q)
            QVERIFY2(Near(seen[size_t(q)], kQuadrant[upright[q]]), qPrintable(QStringLiteral("quadrant %1").arg(q)));
    }

    // A TIFF turns by its Orientation tag as a JPEG does by its Exif block (with alpha, the
    // mask turns with the colours).
    void orientationOfTiffFiles_data() { orientationOfMadeFiles_data(); }
    void orientationOfTiffFiles()
    {
        QFETCH(int, orientation);
        QFETCH(bool, bigEndian);
        QFETCH(QList<int>, upright);
        if (bigEndian || orientation == 0 || orientation > 8)
            QSKIP("one row per orientation tag value");
        TiffRecipe recipe;
        recipe.width = 96;
        recipe.height = 64;
        recipe.alpha = true;
        recipe.orientation = orientation;
        const std::vector<uint8_t> bytes = EncodeTiff(recipe, [](int x, int y, int c) -> uint8_t {
            if (c == 3)
                return x < 4 ? 0 : 255; // a transparent stripe along the stored left edge
            const QColor& q = kQuadrant[(y >= 32 ? 2 : 0) + (x >= 48 ? 1 : 0)];
            return uint8_t(c == 0 ? q.red() : c == 1 ? q.green() : q.blue());
        });
        const QString path = m_dir.filePath(QStringLiteral("t%1.tif").arg(orientation));
        QVERIFY(WriteBytes(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))));
        QCOMPARE(PhotoOrientation(path), orientation);
        ScreenPhoto photo;
        QVERIFY(LoadScreenPhoto(path, {1000, 1000}, photo));
        const bool swapped = orientation >= 5;
        QCOMPARE(photo.photoSize, (swapped ? DibSize{64, 96} : DibSize{96, 64}));
        QCOMPARE(photo.image.Size(), photo.photoSize);
        QCOMPARE(photo.orientation, orientation);
        const auto seen = Quadrants(photo.image.color);
        for (int q = 0; q < 4; ++q)
            QVERIFY2(Near(seen[size_t(q)], kQuadrant[upright[q]]), qPrintable(QStringLiteral("quadrant %1").arg(q)));
        QVERIFY(photo.image.HasMask());
        QCOMPARE(photo.image.mask.Size(), photo.photoSize);
    }

    // The sample photos of every orientation come out like the one stored upright.
    void orientationOfSamples_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("orientation");
        for (const char* shape : {"landscape", "portrait"}) {
            for (int o = 2; o <= 8; ++o)
                QTest::addRow("%s_%d", shape, o) << QString::fromLatin1(shape) << o;
        }
    }
    void orientationOfSamples()
    {
        QFETCH(QString, shape);
        QFETCH(int, orientation);
        const QString folder = QStringLiteral(TESSARY_TESTDATA_DIR "/exif-samples/jpg/orientation/");
        ScreenPhoto reference, turned;
        QVERIFY(LoadScreenPhoto(folder + shape + QStringLiteral("_1.jpg"), {2000, 2000}, reference));
        QVERIFY(LoadScreenPhoto(folder + shape + QStringLiteral("_%1.jpg").arg(orientation), {2000, 2000}, turned));
        QCOMPARE(turned.orientation, orientation);
        QCOMPARE(turned.photoSize, reference.photoSize);
        QCOMPARE(turned.photoSize, (shape == QLatin1String("landscape") ? DibSize{600, 450} : DibSize{450, 600}));
        // Of the reference's turns that keep its size, the upright one is by far the closest.
        const double upright = MeanDifference(turned.image.color, reference.image.color);
        for (int wrong : {2, 3, 4}) {
            DibImage24 other;
            QVERIFY(other.CopyFrom(reference.image.color) && ApplyExifOrientation(other, wrong));
            const double off = MeanDifference(turned.image.color, other);
            QVERIFY2(off > 2 * upright, qPrintable(QStringLiteral("%1 against %2").arg(off).arg(upright)));
        }
    }

    void viewSizeRule_data()
    {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<bool>("enlarge");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("camera photo") << QSize(4000, 3000) << QSize(1280, 800) << false << QSize(1066, 800);
        QTest::newRow("portrait") << QSize(3000, 4000) << QSize(1280, 800) << false << QSize(600, 800);
        QTest::newRow("fit rule truncates") << QSize(1000, 333) << QSize(100, 100) << false << QSize(100, 33);
        QTest::newRow("small stays") << QSize(300, 200) << QSize(1280, 800) << false << QSize(300, 200);
        QTest::newRow("small enlarged") << QSize(300, 200) << QSize(1280, 800) << true << QSize(1200, 800);
        QTest::newRow("exact fit") << QSize(640, 400) << QSize(640, 400) << false << QSize(640, 400);
        QTest::newRow("one side larger") << QSize(700, 100) << QSize(640, 400) << false << QSize(640, 91);
        QTest::newRow("thin line keeps a pixel") << QSize(10000, 1) << QSize(100, 100) << false << QSize(100, 1);
        QTest::newRow("empty client") << QSize(300, 200) << QSize(0, 800) << false << QSize(0, 0);
        QTest::newRow("empty photo") << QSize(0, 0) << QSize(800, 800) << true << QSize(0, 0);
    }
    void viewSizeRule()
    {
        QFETCH(QSize, photo);
        QFETCH(QSize, client);
        QFETCH(bool, enlarge);
        QFETCH(QSize, expected);
        const DibSize s = ViewSize({photo.width(), photo.height()}, {client.width(), client.height()}, enlarge);
        QCOMPARE(QSize(s.width, s.height), expected);
    }

    // A photo larger than the box is kept only at its screen size, upright, and knows that a
    // larger client needs more.
    void largePhotoIsShrunkForTheScreen()
    {
        const QString path = m_dir.filePath(QStringLiteral("big6.jpg"));
        QVERIFY(WriteBytes(path, QuadrantJpeg(2000, 1500, 6)));
        ScreenPhoto photo;
        QVERIFY(LoadScreenPhoto(path, {400, 400}, photo));
        QCOMPARE(photo.photoSize, (DibSize{1500, 2000}));
        QCOMPARE(photo.image.Size(), (DibSize{300, 400}));
        QVERIFY(photo.Reduced());
        QVERIFY(photo.Covers({400, 400}));
        QVERIFY(photo.Covers({200, 300}));
        QVERIFY(!photo.Covers({800, 800}));
        const auto seen = Quadrants(photo.image.color);
        QVERIFY(Near(seen[0], kQuadrant[2]) && Near(seen[1], kQuadrant[0]));
        QVERIFY(Near(seen[2], kQuadrant[3]) && Near(seen[3], kQuadrant[1]));
        // A photo at its own size covers every client.
        ScreenPhoto small;
        QVERIFY(LoadScreenPhoto(path, {4000, 4000}, small));
        QVERIFY(!small.Reduced() && small.Covers({9000, 9000}));
    }

    void alphaIsKeptAndShrunk()
    {
        const QString path = m_dir.filePath(QStringLiteral("half.png"));
        QVERIFY(WriteBytes(path, SolidPng(200, 100, QColor(0, 0, 255, 128))));
        ScreenPhoto photo;
        QVERIFY(LoadScreenPhoto(path, {100, 100}, photo));
        QCOMPARE(photo.image.Size(), (DibSize{100, 50}));
        QVERIFY(photo.image.HasMask());
        QCOMPARE(photo.image.mask.Size(), (DibSize{100, 50}));
        QVERIFY(std::abs(photo.image.mask.At(50, 25) - 128) <= 1);
    }

    // Over the checkerboard a half-transparent photo shows the squares; over the background
    // it is blended with the background.
    void frameComposition()
    {
        const QString path = m_dir.filePath(QStringLiteral("clear.png"));
        QVERIFY(WriteBytes(path, SolidPng(40, 24, QColor(0, 0, 0, 0))));
        ScreenPhoto photo;
        QVERIFY(LoadScreenPhoto(path, {400, 400}, photo));
        ViewOptions options;
        options.showTransparency = true;
        DibImage24 frame;
        QVERIFY(ComposeFrame(photo, {400, 400}, options, frame));
        QCOMPARE(frame.Size(), (DibSize{40, 24}));
        QCOMPARE(At(frame, 0, 0), QColor(255, 255, 255));
        QCOMPARE(At(frame, 7, 7), QColor(255, 255, 255));
        QCOMPARE(At(frame, 8, 0), QColor(204, 204, 204));
        QCOMPARE(At(frame, 0, 8), QColor(204, 204, 204));
        QCOMPARE(At(frame, 8, 8), QColor(255, 255, 255));
        options.showTransparency = false;
        options.background = DibColor::Rgb(10, 20, 30);
        QVERIFY(ComposeFrame(photo, {400, 400}, options, frame));
        QCOMPARE(At(frame, 8, 0), QColor(10, 20, 30));
        // Enlarged to the client: the frame takes the fitted size.
        options.enlargeSmallImages = true;
        QVERIFY(ComposeFrame(photo, {400, 400}, options, frame));
        QCOMPARE(frame.Size(), (DibSize{400, 240}));
    }

    void filesThatCannotBeShown_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty jpeg") << "empty.jpg" << QByteArray();
        QTest::newRow("not a jpeg") << "text.jpg" << QByteArray("this is no photo at all, only words");
        QTest::newRow("jpeg start only") << "start.jpg" << QByteArray("\xFF\xD8\xFF\xE1\x00\x10", 6);
        QTest::newRow("damaged png") << "broken.png" << SolidPng(20, 20, Qt::red).left(40);
        QTest::newRow("bmp header only") << "short.bmp" << QByteArray("BM\x40\x00\x00\x00", 6);
        QTest::newRow("unsupported type") << "photo.tif" << SolidJpeg(20, 20, Qt::red);
    }
    void filesThatCannotBeShown()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(name);
        QVERIFY(WriteBytes(path, bytes));
        ScreenPhoto photo;
        QVERIFY(!LoadScreenPhoto(path, {640, 480}, photo));
        QVERIFY(!photo.image.IsValid());
        QVERIFY(photo.photoSize.IsEmpty());
    }

    void missingFileAndEmptyBox()
    {
        ScreenPhoto photo;
        QVERIFY(!LoadScreenPhoto(m_dir.filePath(QStringLiteral("none.jpg")), {640, 480}, photo));
        const QString path = m_dir.filePath(QStringLiteral("ok.jpg"));
        QVERIFY(WriteBytes(path, SolidJpeg(20, 20, Qt::red)));
        QVERIFY(!LoadScreenPhoto(path, {0, 480}, photo));
        QVERIFY(LoadScreenPhoto(path, {1, 1}, photo));
        QCOMPARE(photo.image.Size(), (DibSize{1, 1}));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(ScreenPhotoTest)
#include "ScreenPhotoTest.moc"
