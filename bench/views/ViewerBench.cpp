// Stepping through 12-megapixel camera JPEGs in the image view (offscreen, 1280 x 800): the
// time from the key press to the end of the paint that shows the new photo, once the
// read-ahead has finished, after a short look at each photo, and stepping as fast as the
// photos appear; and the decode of one photo for the screen on its own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "imagefiles/JpegFixture.h"
#include "views/viewer/ScreenPhoto.h"
#include "views/viewer/VeImgViewCtrl.h"

using namespace tessary;

namespace {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;
constexpr int kPhotoCount = 6;
constexpr QSize kViewSize(1280, 800);

// Camera-like photos made once: photo-like content, 2 x 2 chroma subsampling, quality 90.
const QStringList& CameraPhotos()
{
    static QTemporaryDir dir;
    static QStringList paths;
    if (paths.isEmpty()) {
        for (int i = 0; i < kPhotoCount; ++i) {
            test::JpegRecipe recipe;
            recipe.width = kPhotoWidth;
            recipe.height = kPhotoHeight;
            const auto bytes = test::EncodeJpeg(recipe, [i](int x, int y, int c) {
                return test::PhotoLikeSample(x + 97 * i, y, c, kPhotoWidth, kPhotoHeight);
            });
            const QString path = dir.filePath(QStringLiteral("camera%1.jpg").arg(i));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly)
                || file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
                qFatal("cannot write %s", qPrintable(path));
            paths << path;
        }
    }
    return paths;
}

// Notes the paint of the image view showing a given photo.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(VeImgViewCtrl& view) : m_view(view) { m_view.installEventFilter(this); }
    ~PaintWatch() override { m_view.removeEventFilter(this); }
    int paintedIndex = -1;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            paintedIndex = m_view.DisplayedIndex();
        return false;
    }

private:
    VeImgViewCtrl& m_view;
};

void PressKey(QWidget& widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

// Runs the event loop until `done` holds (at most ten seconds).
template <class Done>
bool SpinUntil(Done&& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

void SpinFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
}

struct Viewer {
    VeImgViewCtrl view;
    PaintWatch watch{view};

    Viewer()
    {
        view.resize(kViewSize);
        view.show();
        view.SetPhotos(CameraPhotos(), 0);
        SpinUntil([&] { return watch.paintedIndex == 0; });
    }

    // Steps to the next photo (back to the first after the last, untimed) and returns the
    // seconds from the key press to the end of the paint that shows it.
    double Step(bool waitForReadAhead, int lookMs)
    {
        if (view.CurrentIndex() == view.Count() - 1) {
            PressKey(view, Qt::Key_Home);
            SpinUntil([&] { return watch.paintedIndex == 0; });
        }
        const int next = view.CurrentIndex() + 1;
        if (waitForReadAhead)
            SpinUntil([&] { return view.ReadAhead().Photo(next) != nullptr; });
        SpinFor(lookMs);
        QElapsedTimer timer;
        timer.start();
        PressKey(view, Qt::Key_Right);
        if (!SpinUntil([&] { return watch.paintedIndex == next; }))
            return 10.0;
        return double(timer.nsecsElapsed()) * 1e-9;
    }
};

void Report(benchmark::State& state, const std::vector<double>& seconds)
{
    if (seconds.empty())
        return;
    std::vector<double> sorted = seconds;
    std::sort(sorted.begin(), sorted.end());
    state.counters["max_ms"] = sorted.back() * 1e3;
    state.counters["p50_ms"] = sorted[sorted.size() / 2] * 1e3;
}

void BM_StepAfterReadAhead(benchmark::State& state)
{
    Viewer viewer;
    std::vector<double> seconds;
    for (auto _ : state) {
        seconds.push_back(viewer.Step(true, 0));
        state.SetIterationTime(seconds.back());
    }
    Report(state, seconds);
}
BENCHMARK(BM_StepAfterReadAhead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

// The user looks at each photo for the given time (ms) before the next key press; 0 is
// stepping as soon as each photo appears.
void BM_StepAfterLooking(benchmark::State& state)
{
    Viewer viewer;
    std::vector<double> seconds;
    for (auto _ : state) {
        seconds.push_back(viewer.Step(false, int(state.range(0))));
        state.SetIterationTime(seconds.back());
    }
    Report(state, seconds);
}
BENCHMARK(BM_StepAfterLooking)->Arg(0)->Arg(100)->Arg(250)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_DecodeForScreen(benchmark::State& state)
{
    const QString path = CameraPhotos().first();
    for (auto _ : state) {
        ScreenPhoto photo;
        if (!LoadScreenPhoto(path, {kViewSize.width(), kViewSize.height()}, photo))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(photo.image.color.Bits());
    }
}
BENCHMARK(BM_DecodeForScreen)->Unit(benchmark::kMillisecond);

} // namespace
