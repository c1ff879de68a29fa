// Searching as the user types, over the 100,000-item album of BigSearchAlbum.h in "All
// Collections", with the results list shown 375 x 600 offscreen:
// - BM_KeystrokeToPaintedResults: one keystroke's search, the fill of the list and the
//   repaint of the visible rows; the counter engine_ms is Parse + Run alone over the same
//   text, beyond_ms the rest (target: beyond_ms under 16 ms).
// - BM_FirstKeystrokeAfterOpen: a fresh engine whose forms were built ahead in idle slices
//   (SearchFormsWarmer) before the first keystroke is timed (target under 50 ms); the counter
//   slice_max_ms is the longest of those slices.
// - BM_FirstKeystrokeCold: the same without building ahead, for comparison.
#include <benchmark/benchmark.h>

#include <chrono>

#include <QApplication>

#include "../BigSearchAlbum.h"
#include "search/SearchEngine.h"
#include "views/common/UserPrompts.h"
#include "views/results/SearchFormsWarmer.h"
#include "views/results/VeSearchResultsCtrlBase.h"

using namespace tessary;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

const QStringList kTyping = {"b", "be", "bea", "beac", "beach", "beach p", "beach pa", "beach par"};

struct ShownList {
    UserPrompts prompts;
    VeSearchResultsCtrlBase list;
    explicit ShownList(SearchEngine& engine) : list(prompts, engine)
    {
        list.resize(375, 600);
        list.SetScope(&bench::BigAlbum().GetCollections().AllCollections());
        list.show();
        QApplication::processEvents();
    }
};

void BM_KeystrokeToPaintedResults(benchmark::State& state)
{
    SearchEngine engine;
    ShownList shown(engine);
    shown.list.SearchFor(QStringLiteral("warm")); // the forms, built once
    double total = 0, engineOnly = 0;
    int64_t rows = 0, n = 0;
    for (auto _ : state) {
        const QString text = kTyping[int(n % kTyping.size())];
        const auto t0 = Clock::now();
        shown.list.SearchFor(text);
        shown.list.repaint();
        const auto t1 = Clock::now();
        engine.SetScope(shown.list.Scope());
        engine.Parse(text);
        engine.Run();
        const auto t2 = Clock::now();
        total += Ms(t1 - t0);
        engineOnly += Ms(t2 - t1);
        rows += shown.list.RowCount();
        ++n;
    }
    state.counters["total_ms"] = total / double(n);
    state.counters["engine_ms"] = engineOnly / double(n);
    state.counters["beyond_ms"] = (total - engineOnly) / double(n);
    state.counters["rows"] = double(rows) / double(n);
}

void FirstKeystroke(benchmark::State& state, bool ahead)
{
    double slowestSlice = 0, slices = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto engine = std::make_unique<SearchEngine>();
        auto shown = std::make_unique<ShownList>(*engine);
        if (ahead) {
            SearchFormsWarmer warmer(*engine);
            warmer.Start(&bench::BigAlbum());
            while (true) {
                const auto s0 = Clock::now();
                const bool more = warmer.RunSlice();
                slowestSlice = std::max(slowestSlice, Ms(Clock::now() - s0));
                ++slices;
                if (!more)
                    break;
            }
        }
        state.ResumeTiming();
        shown->list.SearchFor(QStringLiteral("b"));
        shown->list.repaint();
        state.PauseTiming();
        shown.reset();
        engine.reset();
        state.ResumeTiming();
    }
    if (ahead) {
        state.counters["slice_max_ms"] = slowestSlice;
        state.counters["slices"] = slices / double(state.iterations());
    }
}

void BM_FirstKeystrokeAfterOpen(benchmark::State& state) { FirstKeystroke(state, true); }
void BM_FirstKeystrokeCold(benchmark::State& state) { FirstKeystroke(state, false); }

} // namespace

BENCHMARK(BM_KeystrokeToPaintedResults)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FirstKeystrokeAfterOpen)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FirstKeystrokeCold)->Unit(benchmark::kMillisecond)->Iterations(5);
