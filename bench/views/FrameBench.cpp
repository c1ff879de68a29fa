// Timed runs of the main window: from making it to the first paint of the home page, and
// from opening a 20,000-item album to the first paint of its album page (offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QWindow>

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
        Album album(dir.filePath(QStringLiteral("Big")), QStringLiteral("Big"));
        album.SetAlbumId(1);
        for (int c = 1; c <= 4; ++c) {
            Collection* col = album.GetCollections().Add(QStringLiteral("Collection %1").arg(c));
            for (int t = 0; t < 8; ++t)
                col->GetTags().Add(QStringLiteral("Tag number %1").arg(t + 1));
            for (int i = 1; i <= 5000; ++i) {
                Item* item = col->GetItems().Add(QStringLiteral("IMG_%1").arg(i, 6, 10, QLatin1Char('0')), i);
                item->GetPhotos().Add(PhotoFormat::Jpeg, 1);
                for (int r = 0; r < 5; ++r)
                    item->SetTagValue(1001 + (i + r) % 8, QStringLiteral("Value %1").arg(i * 7 + r));
            }
        }
        if (SaveAlbum(album))
            file = album.FilePath();
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
