// Timed runs of the main window: from making it to the first paint of the home page, and
// from opening a 20,000-item album to the first paint of its album page (offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QWindow>

#include "BenchAlbums.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "app/MainFrame.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/common/SharedFonts.h"
#include "views/frame/VeMainView.h"
#include "views/home/VeHomeView.h"
#include "views/ViewsTestSupport.h"

using namespace tessary;

namespace {

// Notes when a watched widget, or a widget inside it, has painted (opaque children can
// cover their parent so that the parent itself gets no paint event).
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& watched) : m_watched(watched) {}
    bool painted = false;
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && receiver->isWidgetType()) {
            auto* w = static_cast<QWidget*>(receiver);
            if (w == &m_watched || m_watched.isAncestorOf(w))
                painted = true;
        }
        return false;
    }

private:
    QWidget& m_watched;
};

// Runs `action` and waits (at most ten seconds) until `widget` has painted; the watch goes
// on first, as showing a window may paint it at once.
template <class Action>
bool PaintedAfter(QWidget& widget, Action&& action)
{
    PaintWatch watch(widget);
    qApp->installEventFilter(&watch);
    action();
    QElapsedTimer timer;
    timer.start();
    while (!watch.painted && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    qApp->removeEventFilter(&watch);
    if (!watch.painted)
        qWarning("not painted: visible %d window visible %d exposed %d", widget.isVisible(), widget.window()->isVisible(),
                 widget.window()->windowHandle() ? widget.window()->windowHandle()->isExposed() : -1);
    return watch.painted;
}

const QString& BigAlbum()
{
    static QTemporaryDir dir;
    static QString file;
    if (file.isEmpty()) {
        bench::BenchAlbumShape shape;
        shape.collections = 4;
        shape.itemsPerCollection = 5000;
        shape.tagsPerCollection = 8;
        shape.valuesPerItem = 5;
        const auto album = bench::MakeBenchAlbum(dir.path(), QStringLiteral("Big"), shape);
        if (album && SaveAlbum(*album))
            file = album->FilePath();
    }
    return file;
}

std::unique_ptr<MainFrame> MakeFrame()
{
    return std::make_unique<MainFrame>(nullptr, std::make_unique<test::ScriptedPrompts>());
}

void BM_StartToHomePainted(benchmark::State& state)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto frame = MakeFrame();
        if (!PaintedAfter(frame->MainView().HomeView(), [&] { frame->FirstIdle(); }))
            state.SkipWithError("the home page was not painted");
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        state.PauseTiming();
        frame.reset();
        state.ResumeTiming();
    }
}

void BM_OpenAlbumToPagePainted(benchmark::State& state)
{
    const QString file = BigAlbum();
    if (file.isEmpty()) {
        state.SkipWithError("cannot write the album");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto frame = MakeFrame();
        PaintedAfter(frame->MainView().HomeView(), [&] { frame->FirstIdle(); });
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        if (!PaintedAfter(frame->MainView().AlbumView(), [&] { frame->OpenFromArgument(file); }))
            state.SkipWithError("the album page was not painted");
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (!frame->MainView().HasAlbum())
            state.SkipWithError("the album did not open");
        state.PauseTiming();
        frame->MainView().CloseAlbum();
        frame.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_StartToHomePainted)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAlbumToPagePainted)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
