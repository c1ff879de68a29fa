// The window under the loads a user gives it (offscreen):
// - BM_ScrollThumbnailsByPage: 10,000 camera-sized photos in the Thumbnails mode, scrolled a
//   page at a time from top to bottom while the workers make the cells; every paint of the
//   list is timed on the UI thread by a probe around the paint event (target: the slowest
//   frame under 16 ms).
// - BM_ResidentWithHundredThousandItems: a 100,000-item album opened in the main window with
//   "All Collections" painted; the process's resident memory afterwards (target under 1 GiB).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>

#include "BenchAlbums.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "app/MainFrame.h"
#include "imagefiles/CameraPhotoFixture.h"
#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbnailList.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/common/UserPrompts.h"
#include "views/frame/VeMainView.h"
#include "views/items/VeFadListCtrlBase.h"
#include "views/ViewsTestSupport.h"

using namespace tessary;

namespace {

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Times every paint event of a widget and of the widgets inside it, by delivering the event
// itself between two clock readings.
class PaintProbe : public QObject {
public:
    explicit PaintProbe(QWidget& watched) : m_watched(watched) {}
    std::vector<double> frames; // milliseconds of wall time
    std::vector<double> cpuFrames; // milliseconds of the UI thread's processor time

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || m_inside || !receiver->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(receiver);
        if (w != &m_watched && !m_watched.isAncestorOf(w))
            return false;
        m_inside = true;
        QElapsedTimer timer;
        timer.start();
        const double cpu = ThreadCpuMs();
        static_cast<QObject*>(w)->event(event);
        cpuFrames.push_back(ThreadCpuMs() - cpu);
        frames.push_back(double(timer.nsecsElapsed()) / 1e6);
        m_inside = false;
        return true;
    }

private:
    QWidget& m_watched;
    bool m_inside = false;
};

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

bool WriteJpeg(const QString& path, const test::JpegRecipe& recipe, const test::JpegSampleFn& sample)
{
    return test::WriteBytesToFile(QFile::encodeName(path).toStdString(), test::EncodeJpeg(recipe, sample));
}

int64_t ResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

void BM_ScrollThumbnailsByPage(benchmark::State& state)
{
    constexpr int kPhotos = 10000;
    QTemporaryDir dir;
    test::JpegRecipe recipe;
    recipe.width = 1600;
    recipe.height = 1200;
    const QString source = dir.filePath(QStringLiteral("source.jpg"));
    if (!WriteJpeg(source, recipe, [&](int x, int y, int c) { return test::PhotoLikeSample(x, y, c, recipe.width, recipe.height); })) {
        state.SkipWithError("cannot write the photo");
        return;
    }
    bench::BenchAlbumShape shape;
    shape.itemsPerCollection = kPhotos;
    shape.photo = source;
    const auto album = bench::MakeBenchAlbum(dir.path(), QStringLiteral("Scroll"), shape);
    if (!album) {
        state.SkipWithError("cannot link the photos");
        return;
    }
    Collection* c = album->GetCollections().At(0);
    std::vector<double> all, allCpu;
    int pages = 0;
    int unpainted = 0; // pages that drew no paint within two seconds
    for (auto _ : state) {
        QTemporaryDir storeDir;
        ThumbCacheStore store;
        UserPrompts prompts;
        VeFadListCtrlBase list(prompts, nullptr, [&](QObject* window) {
            return std::make_unique<ThumbnailList>(window, store, storeDir.path(), ThumbnailList::WorkerCount());
        });
        list.resize(800, 600);
        list.show();
        QApplication::processEvents();
        list.ShowCollection(c);
        while (list.IsFilling())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        PaintProbe probe(*list.IconView());
        qApp->installEventFilter(&probe);
        QScrollBar* bar = list.IconView()->verticalScrollBar();
        bar->setValue(0);
        pages = 0;
        for (;;) {
            const size_t before = probe.frames.size();
            QElapsedTimer wait;
            wait.start();
            // A page shown: its paint, and the cells that come in while a person looks.
            while (wait.elapsed() < 40 || (probe.frames.size() == before && wait.elapsed() < 2000))
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (probe.frames.size() == before)
                ++unpainted;
            if (bar->value() >= bar->maximum())
                break;
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            ++pages;
        }
        qApp->removeEventFilter(&probe);
        all.insert(all.end(), probe.frames.begin(), probe.frames.end());
        allCpu.insert(allCpu.end(), probe.cpuFrames.begin(), probe.cpuFrames.end());
        state.SetIterationTime(0.001 * *std::max_element(probe.frames.begin(), probe.frames.end()));
    }
    state.counters["pages"] = pages;
    state.counters["unpainted"] = unpainted;
    state.counters["frames"] = double(all.size());
    state.counters["median_ms"] = Percentile(all, 0.5);
    state.counters["p99_ms"] = Percentile(all, 0.99);
    state.counters["max_ms"] = all.empty() ? 0 : *std::max_element(all.begin(), all.end());
    // Beside other work on the machine the wall time counts waits for a processor too.
    state.counters["cpu_p99_ms"] = Percentile(allCpu, 0.99);
    state.counters["cpu_max_ms"] = allCpu.empty() ? 0 : *std::max_element(allCpu.begin(), allCpu.end());
}
BENCHMARK(BM_ScrollThumbnailsByPage)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_ResidentWithHundredThousandItems(benchmark::State& state)
{
    QTemporaryDir dir;
    test::JpegRecipe recipe;
    recipe.width = 64;
    recipe.height = 48;
    const QString source = dir.filePath(QStringLiteral("source.jpg"));
    if (!WriteJpeg(source, recipe, [](int x, int y, int c) { return uint8_t(x * 3 + y * 5 + c * 40); })) {
        state.SkipWithError("cannot write the photo");
        return;
    }
    QString file;
    {
        bench::BenchAlbumShape shape;
        shape.collections = 20;
        shape.itemsPerCollection = 5000;
        shape.tagsPerCollection = 8;
        shape.valuesPerItem = 4;
        shape.photo = source;
        const auto album = bench::MakeBenchAlbum(dir.path(), QStringLiteral("Huge"), shape);
        if (album && SaveAlbum(*album))
            file = album->FilePath();
    }
    if (file.isEmpty()) {
        state.SkipWithError("cannot write the album");
        return;
    }
    const int64_t before = ResidentBytes();
    int64_t after = 0, opened = 0, idle = 0, peak = 0, made = 0;
    int rows = 0, cells = 0;
    double makingSeconds = 0;
    for (auto _ : state) {
        MainFrame frame(nullptr, std::make_unique<test::ScriptedPrompts>());
        frame.FirstIdle();
        frame.OpenFromArgument(file);
        opened = ResidentBytes();
        VeFadListCtrlBase* list = frame.MainView().AlbumView().ItemList();
        QElapsedTimer timer;
        timer.start();
        while ((list->IsFilling() || list->RowCount() == 0) && timer.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        list->IconView()->viewport()->repaint();
        after = ResidentBytes();
        rows = list->RowCount();
        // The search forms are made while the window is idle.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 3000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        idle = ResidentBytes();
        // Then every row's thumbnail is made in the background; the cells must stay bounded.
        const ThumbnailList& thumbs = list->Thumbnails();
        const auto finished = [&] {
            const ThumbnailList::Counters c = thumbs.GetCounters();
            return c.made + c.failed + c.repeated >= rows;
        };
        QElapsedTimer making;
        making.start();
        while (!finished() && making.elapsed() < 600000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            peak = std::max(peak, ResidentBytes());
        }
        made = thumbs.GetCounters().made;
        cells = thumbs.ThumbnailCount();
        makingSeconds = double(making.elapsed()) / 1000;
        frame.MainView().CloseAlbum();
    }
    state.counters["rows"] = rows;
    state.counters["resident_MiB"] = double(after) / (1 << 20);
    state.counters["opened_MiB"] = double(opened) / (1 << 20);
    state.counters["idle_MiB"] = double(idle) / (1 << 20);
    state.counters["before_open_MiB"] = double(before) / (1 << 20);
    state.counters["peak_while_making_MiB"] = double(peak) / (1 << 20);
    state.counters["made"] = double(made);
    state.counters["cells_kept"] = cells;
    state.counters["making_s"] = makingSeconds;
}
BENCHMARK(BM_ResidentWithHundredThousandItems)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
