// A keystroke into the search box with 1,000 recorded searches, until the suggestion fly-out
// is filled and painted once: it must stay well under one frame (16 ms).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include "album/Album.h"
#include "album/Collections.h"
#include "app/Settings.h"
#include "views/search/VeFlyoutWndBase.h"
#include "views/search/VeSearchBoxCtrlBase.h"

namespace {

using namespace tessary;

constexpr int kSearches = 1000;

// 1,000 different searches spread over the alphabet, as a long-used history holds them.
void RecordHistory()
{
    SearchHistory history;
    const char* words[] = {"beach", "city", "dog", "family", "garden", "holiday", "mountain", "party",
                           "snow", "sunset", "trip", "wedding", "zoo", "portrait", "river", "lake"};
    int n = 0;
    for (int i = 0; n < kSearches; ++i)
        for (const char* word : words) {
            if (n++ >= kSearches)
                break;
            history.RecordSearch(QStringLiteral("%1 %2").arg(QLatin1String(word)).arg(i));
        }
    Settings::Instance().mruSearches = history.Recent();
    Settings::Instance().allSearches = history.All();
}

void SendKey(QWidget* target, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

struct BoxWindow {
    BoxWindow() : album(QStringLiteral("/nowhere/Bench"), QStringLiteral("Bench"))
    {
        Settings::Instance().autoSuggest = true;
        RecordHistory();
        window.resize(400, 200);
        box = new VeSearchBoxCtrlBase(&window);
        box->setGeometry(20, 10, 316, 22);
        box->SetScope(album.GetCollections().Add(QStringLiteral("Holidays")));
        window.show();
        window.activateWindow();
        QApplication::processEvents();
        box->Activate();
        QApplication::processEvents();
    }
    Album album;
    QWidget window;
    VeSearchBoxCtrlBase* box = nullptr;
};

// The first keystroke: the fly-out was hidden, is filled, shown and painted.
void BM_KeystrokeShowsFlyout(benchmark::State& state)
{
    BoxWindow w;
    VeFlyoutWndBase& flyout = w.box->Flyout();
    QWidget* edit = &w.box->Edit();
    int items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Emptying is a typed change that shows the recent searches: hide after it.
        w.box->Edit().clear();
        flyout.Hide();
        state.ResumeTiming();
        SendKey(edit, Qt::Key_P, QStringLiteral("p"));
        flyout.repaint();
        items = flyout.List().ItemCount();
        benchmark::DoNotOptimize(items);
        if (!flyout.IsVisible())
            break;
    }
    state.counters["history"] = double(flyout.History().All().size());
    state.counters["suggestions"] = items;
    if (!flyout.IsVisible() || items == 0)
        state.SkipWithError("the fly-out did not show");
}

// A keystroke while it shows: refilled and painted.
void BM_KeystrokeRefillsFlyout(benchmark::State& state)
{
    BoxWindow w;
    VeFlyoutWndBase& flyout = w.box->Flyout();
    QWidget* edit = &w.box->Edit();
    SendKey(edit, Qt::Key_S, QStringLiteral("s"));
    int items = 0;
    for (auto _ : state) {
        SendKey(edit, Qt::Key_N, QStringLiteral("n"));
        flyout.repaint();
        SendKey(edit, Qt::Key_Backspace, QString());
        flyout.repaint();
        items = flyout.List().ItemCount();
        benchmark::DoNotOptimize(items);
    }
    state.counters["history"] = double(flyout.History().All().size());
    state.SetLabel("two keystrokes per iteration");
    if (!flyout.IsVisible() || items == 0)
        state.SkipWithError("the fly-out did not show");
}

} // namespace

BENCHMARK(BM_KeystrokeShowsFlyout)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeRefillsFlyout)->Unit(benchmark::kMicrosecond);
