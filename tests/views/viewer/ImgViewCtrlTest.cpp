// The image view as a user meets it: keys and their ends, key repeats, the wheel, closing,
// damaged photos, what stays on screen while a photo is decoded, read-ahead, the size of the
// shown photo and the checkerboard.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "ViewerTestSupport.h"
#include "views/viewer/VeImgViewCtrl.h"

using namespace tessary;
using namespace tessary::test;

namespace {

constexpr QColor kBackground(0x20, 0x20, 0x20);

QColor Shade(int i)
{
    return QColor::fromHsv((i * 67) % 360, 200, 220).toRgb();
}

QColor CentrePixel(QWidget& widget)
{
    return widget.grab().toImage().pixelColor(widget.width() / 2, widget.height() / 2);
}

void SendKey(QWidget& widget, int key, bool autoRepeat = false)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&widget, &release);
}

void Wheel(QWidget& widget, int delta)
{
    const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
    QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

ViewerDecoder::LoadFunction Through(GatedLoader& loader)
{
    return [&loader](const QString& path, DibSize box, ScreenPhoto& out) { return loader.Load(path, box, out); };
}

} // namespace

class ImgViewCtrlTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (int i = 0; i < 5; ++i) {
            const QString path = m_dir.filePath(QStringLiteral("shade%1.jpg").arg(i));
            QVERIFY(WriteBytes(path, SolidJpeg(320, 240, Shade(i))));
            m_shades << path;
        }
    }

    void keysStepThroughTheListAndStopAtTheEnds()
    {
        VeImgViewCtrl view;
        view.resize(320, 240);
        view.show();
        QSignalSpy changed(&view, &VeImgViewCtrl::CurrentChanged);
        view.SetPhotos(m_shades, 0);
        QTRY_COMPARE(view.DisplayedIndex(), 0);
        QVERIFY(Near(CentrePixel(view), Shade(0)));
        const struct {
            int key;
            int index;
        } steps[] = {{Qt::Key_Right, 1},    {Qt::Key_Down, 2},  {Qt::Key_Space, 3},     {Qt::Key_PageDown, 4},
                     {Qt::Key_Right, 4},    {Qt::Key_Space, 4}, {Qt::Key_Left, 3},      {Qt::Key_Up, 2},
                     {Qt::Key_Backspace, 1}, {Qt::Key_PageUp, 0}, {Qt::Key_Left, 0},    {Qt::Key_PageUp, 0},
                     {Qt::Key_End, 4},      {Qt::Key_End, 4},   {Qt::Key_Home, 0},      {Qt::Key_Home, 0}};
        int moves = 1;
        for (const auto& step : steps) {
            const int before = view.CurrentIndex();
            SendKey(view, step.key);
            QCOMPARE(view.CurrentIndex(), step.index);
            moves += before != step.index;
            QTRY_COMPARE(view.DisplayedIndex(), step.index);
            QVERIFY(Near(CentrePixel(view), Shade(step.index)));
        }
        QCOMPARE(changed.count(), moves);
    }

    void keyRepeatsAreIgnored()
    {
        VeImgViewCtrl view;
        view.resize(200, 150);
        view.show();
        QSignalSpy close(&view, &VeImgViewCtrl::CloseRequested);
        view.SetPhotos(m_shades, 2);
        for (int key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Space, Qt::Key_Home, Qt::Key_End, Qt::Key_Escape,
                        Qt::Key_Return})
            SendKey(view, key, true);
        QCOMPARE(view.CurrentIndex(), 2);
        QCOMPARE(close.count(), 0);
        SendKey(view, Qt::Key_Right);
        QCOMPARE(view.CurrentIndex(), 3);
    }

    void wheelStepsBothWays()
    {
        VeImgViewCtrl view;
        view.resize(200, 150);
        view.show();
        view.SetPhotos(m_shades, 2);
        Wheel(view, 120); // away from the user
        QCOMPARE(view.CurrentIndex(), 1);
        Wheel(view, -120); // towards the user
        QCOMPARE(view.CurrentIndex(), 2);
        Wheel(view, -240);
        QCOMPARE(view.CurrentIndex(), 4);
        Wheel(view, -120);
        QCOMPARE(view.CurrentIndex(), 4);
        // Parts of a notch add up; a turn back starts again.
        Wheel(view, 60);
        QCOMPARE(view.CurrentIndex(), 4);
        Wheel(view, 60);
        QCOMPARE(view.CurrentIndex(), 3);
        Wheel(view, 90);
        Wheel(view, -60);
        Wheel(view, 90);
        QCOMPARE(view.CurrentIndex(), 3);
        Wheel(view, 30);
        QCOMPARE(view.CurrentIndex(), 2);
        QTRY_COMPARE(view.DisplayedIndex(), 2);
    }

    void closingByKeysAndButton()
    {
        VeImgViewCtrl view;
        view.resize(200, 150);
        view.show();
        view.SetPhotos(m_shades, 0);
        QSignalSpy close(&view, &VeImgViewCtrl::CloseRequested);
        SendKey(view, Qt::Key_Return);
        SendKey(view, Qt::Key_Enter);
        SendKey(view, Qt::Key_Escape);
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(close.count(), 4);
        QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseClick(&view, Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(close.count(), 4);
        view.SetCloseAllowed(false);
        SendKey(view, Qt::Key_Escape);
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(close.count(), 4);
        QCOMPARE(view.CurrentIndex(), 0);
    }

    void damagedPhotoShowsTheMessageAndSteppingGoesOn()
    {
        const QString damaged = m_dir.filePath(QStringLiteral("damaged.jpg"));
        QVERIFY(WriteBytes(damaged, SolidJpeg(64, 64, Qt::red).left(30)));
        VeImgViewCtrl view;
        view.resize(320, 240);
        view.show();
        view.SetPhotos({m_shades[0], damaged, m_shades[2]}, 1);
        QTRY_VERIFY(view.ShowsMessage());
        QCOMPARE(view.DisplayedIndex(), 1);
        QVERIFY(view.PhotoRect().isEmpty());
        // Light text on the background, in the middle band of the view only.
        const QImage shot = view.grab().toImage();
        int lit = 0, outside = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (shot.pixelColor(x, y) == kBackground)
                    continue;
                (std::abs(y - shot.height() / 2) < 20 ? lit : outside)++;
            }
        }
        QVERIFY(lit > 50);
        QCOMPARE(outside, 0);
        SendKey(view, Qt::Key_Right);
        QTRY_COMPARE(view.DisplayedIndex(), 2);
        QVERIFY(!view.ShowsMessage());
        QVERIFY(Near(CentrePixel(view), Shade(2)));
        SendKey(view, Qt::Key_Left);
        QTRY_VERIFY(view.ShowsMessage());
        SendKey(view, Qt::Key_Left);
        QTRY_COMPARE(view.DisplayedIndex(), 0);
        QVERIFY(!view.ShowsMessage());
    }

    // Until the new photo is decoded the previous one stays; what comes for a photo the
    // user has stepped past never reaches the screen.
    void previousPhotoStaysUntilTheNewOneIsReady()
    {
        GatedLoader loader;
        VeImgViewCtrl view(nullptr, 2, Through(loader));
        OpenOnExit open{loader};
        view.SetEnlargeSmallImages(true);
        view.resize(300, 200);
        view.show();
        QSignalSpy displayed(&view, &VeImgViewCtrl::Displayed);
        const QStringList paths{"/p/0", "/p/1", "/p/2", "/p/3", "/p/4", "/p/5"};
        view.SetPhotos(paths, 0);
        QCOMPARE(view.DisplayedIndex(), -1);
        QCOMPARE(CentrePixel(view), kBackground);
        loader.Release(QStringLiteral("/p/0"));
        QTRY_COMPARE(view.DisplayedIndex(), 0);
        QCOMPARE(CentrePixel(view), QColor(0, 0, 0));
        SendKey(view, Qt::Key_Right);
        QCOMPARE(view.CurrentIndex(), 1);
        QTest::qWait(50);
        QCOMPARE(view.DisplayedIndex(), 0);
        // Steps past 1 and 2 (both under way or queued) to 4.
        SendKey(view, Qt::Key_Right);
        SendKey(view, Qt::Key_Right);
        SendKey(view, Qt::Key_Right);
        loader.Release(QStringLiteral("/p/1"));
        loader.Release(QStringLiteral("/p/2"));
        QTRY_VERIFY(view.ReadAhead().Count().dropped + view.ReadAhead().Count().kept >= 3);
        QCOMPARE(view.DisplayedIndex(), 0);
        QCOMPARE(CentrePixel(view), QColor(0, 0, 0));
        loader.Open();
        QTRY_COMPARE(view.DisplayedIndex(), 4);
        QCOMPARE(CentrePixel(view), QColor(80, 0, 0));
        for (const QList<QVariant>& args : displayed)
            QVERIFY(args.at(0).toInt() == 0 || args.at(0).toInt() == 4);
    }

    // Once the read-ahead has the next photo, stepping shows it within the key press.
    void readAheadShowsTheNextPhotoAtOnce()
    {
        VeImgViewCtrl view;
        view.resize(320, 240);
        view.show();
        view.SetPhotos(m_shades, 1);
        QTRY_VERIFY(view.ReadAhead().Photo(0) && view.ReadAhead().Photo(1) && view.ReadAhead().Photo(2));
        const int requests = view.ReadAhead().Count().requests;
        SendKey(view, Qt::Key_Right);
        QCOMPARE(view.DisplayedIndex(), 2);
        QVERIFY(Near(CentrePixel(view), Shade(2)));
        // Only the new neighbour is asked for.
        QCOMPARE(view.ReadAhead().Count().requests, requests + 1);
        QVERIFY(view.ReadAhead().Pending(3) || view.ReadAhead().Photo(3));
        QVERIFY(!view.ReadAhead().Photo(0));
    }

    void smallPhotoIsCentredAndEnlargedOnlyWhenAsked()
    {
        const QString small = m_dir.filePath(QStringLiteral("small.jpg"));
        QVERIFY(WriteBytes(small, SolidJpeg(40, 30, Qt::blue)));
        VeImgViewCtrl view;
        view.resize(400, 300);
        view.show();
        view.SetPhotos({small}, 0);
        QTRY_COMPARE(view.DisplayedIndex(), 0);
        QCOMPARE(view.PhotoRect(), QRect(180, 135, 40, 30));
        QImage shot = view.grab().toImage();
        QCOMPARE(shot.pixelColor(179, 150), kBackground);
        QVERIFY(Near(shot.pixelColor(180, 150), Qt::blue));
        view.SetEnlargeSmallImages(true);
        QCOMPARE(view.PhotoRect(), QRect(0, 0, 400, 300));
        QVERIFY(Near(view.grab().toImage().pixelColor(5, 5), Qt::blue));
        view.SetEnlargeSmallImages(false);
        QCOMPARE(view.PhotoRect(), QRect(180, 135, 40, 30));
    }

    void resizingRendersAgain()
    {
        const QString wide = m_dir.filePath(QStringLiteral("wide.jpg"));
        QVERIFY(WriteBytes(wide, QuadrantJpeg(800, 600, 0)));
        VeImgViewCtrl view;
        view.resize(400, 300);
        view.show();
        view.SetPhotos({wide}, 0);
        QTRY_COMPARE(view.PhotoRect(), QRect(0, 0, 400, 300));
        view.resize(200, 300);
        QCOMPARE(view.PhotoRect(), QRect(0, 75, 200, 150));
        // Larger again: shown scaled up at once, then from a new decode at the new size.
        view.resize(800, 700);
        QCOMPARE(view.PhotoRect(), QRect(0, 50, 800, 600));
        QTRY_COMPARE(view.ReadAhead().Photo(0)->image.Size(), (DibSize{800, 600}));
        const QImage shot = view.grab().toImage();
        QVERIFY(Near(shot.pixelColor(200, 200), kQuadrant[0]));
        QVERIFY(Near(shot.pixelColor(600, 550), kQuadrant[3]));
    }

    void checkerboardBehindTransparency()
    {
        const QString clear = m_dir.filePath(QStringLiteral("clear.png"));
        QVERIFY(WriteBytes(clear, SolidPng(64, 48, QColor(0, 0, 0, 0))));
        VeImgViewCtrl view;
        view.resize(200, 100);
        view.show();
        view.SetPhotos({clear}, 0);
        QTRY_COMPARE(view.DisplayedIndex(), 0);
        const QPoint origin = view.PhotoRect().topLeft();
        QCOMPARE(view.grab().toImage().pixelColor(origin + QPoint(3, 3)), kBackground);
        view.SetShowTransparency(true);
        const QImage shot = view.grab().toImage();
        QCOMPARE(shot.pixelColor(origin + QPoint(3, 3)), QColor(255, 255, 255));
        QCOMPARE(shot.pixelColor(origin + QPoint(11, 3)), QColor(204, 204, 204));
        QCOMPARE(shot.pixelColor(origin + QPoint(11, 11)), QColor(255, 255, 255));
        QCOMPARE(shot.pixelColor(origin - QPoint(1, 1)), kBackground);
    }

    void emptyListAndClear()
    {
        VeImgViewCtrl view;
        view.resize(100, 100);
        view.show();
        view.SetPhotos({}, 3);
        QCOMPARE(view.Count(), 0);
        QCOMPARE(view.CurrentIndex(), -1);
        SendKey(view, Qt::Key_Right);
        SendKey(view, Qt::Key_End);
        QCOMPARE(view.CurrentIndex(), -1);
        view.SetPhotos(m_shades, 99);
        QCOMPARE(view.CurrentIndex(), 4);
        QTRY_COMPARE(view.DisplayedIndex(), 4);
        view.Clear();
        QCOMPARE(view.DisplayedIndex(), -1);
        QVERIFY(view.ReadAhead().Cached().empty());
        QCOMPARE(CentrePixel(view), kBackground);
    }

private:
    QTemporaryDir m_dir;
    QStringList m_shades;
};

QTEST_MAIN(ImgViewCtrlTest)
#include "ImgViewCtrlTest.moc"
