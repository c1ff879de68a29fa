// Search on every keystroke: Parse + Run over a 100,000-item album (10 collections of 10,000
// items, 8 tags per collection, 5 values per item), over an album of 40,000 small collections,
// and building the texts of 50 result rows.
#include <benchmark/benchmark.h>
#include <memory>
#include <QString>
#include <QStringList>

#include "BigSearchAlbum.h"
#include "album/Album.h"
#include "search/SearchEngine.h"

using namespace tessary;

using namespace tessary::bench;

namespace {
const Collection* Scope(bool all)
{
    Collections& list = BigAlbum().GetCollections();
    return all ? &list.AllCollections() : list.At(4);
}

void BM_Search(benchmark::State& state, const char* query, bool all)
{
    SearchEngine engine;
    engine.SetScope(Scope(all));
    const QString q = QString::fromUtf8(query);
    // The first search lays out the normalised forms; keystrokes after it reuse them.
    engine.Parse(q);
    engine.Run();
    size_t found = 0;
    for (auto _ : state) {
        engine.SetScope(Scope(all));
        if (!engine.Parse(q) || !engine.Run())
            state.SkipWithError("search failed");
        found = engine.Results().size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}

// 40,000 collections of 3 items each: the per-collection work of a keystroke (keeping the
// cache of normalised forms to the album's collections) dominates.
Album& ManyCollections()
{
    static std::unique_ptr<Album> album = [] {
        auto a = std::make_unique<Album>();
        Lcg rng;
        for (int c = 0; c < 40000; ++c) {
            Collection* col = a->GetCollections().Add(QStringLiteral("Collection %1").arg(c + 1));
            const int32_t place = col->GetTags().Add(QStringLiteral("Place"))->Id();
            for (int i = 0; i < 3; ++i)
                col->GetItems().Add(kNameWords[rng.Below(kNameWords.size())], i + 1)->SetTagValue(
                    place, kPlaces[rng.Below(kPlaces.size())]);
        }
        return a;
    }();
    return *album;
}

void BM_SearchManyCollections(benchmark::State& state)
{
    SearchEngine engine;
    const Collection* all = &ManyCollections().GetCollections().AllCollections();
    const QString q = QStringLiteral("paris");
    engine.SetScope(all);
    engine.Parse(q);
    engine.Run();
    for (auto _ : state) {
        engine.SetScope(all);
        if (!engine.Parse(q) || !engine.Run())
            state.SkipWithError("search failed");
        benchmark::DoNotOptimize(engine.Results().size());
    }
    state.counters["found"] = double(engine.Results().size());
}

void BM_FirstSearch(benchmark::State& state)
{
    for (auto _ : state) {
        SearchEngine engine;
        engine.SetScope(Scope(true));
        engine.Parse(QStringLiteral("paris"));
        engine.Run();
        benchmark::DoNotOptimize(engine.Results().size());
    }
}

// A keystroke right after a tag value was edited: the edited collection is compared text by
// text against the model, the others are trusted.
void BM_SearchAfterEdit(benchmark::State& state)
{
    SearchEngine engine;
    engine.SetScope(Scope(true));
    engine.Parse(QStringLiteral("paris"));
    engine.Run();
    Item* item = BigAlbum().GetCollections().At(5)->GetItems().At(777);
    const int32_t tagId = item->GetRecords().At(0).tagId;
    const QString before = item->TagValue(tagId);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        item->SetTagValue(tagId, flip ? QStringLiteral("Paris") : before);
        engine.Parse(QStringLiteral("paris"));
        engine.Run();
        benchmark::DoNotOptimize(engine.Results().size());
    }
    item->SetTagValue(tagId, before);
}

void BM_BuildResultTexts(benchmark::State& state, const char* query)
{
    SearchEngine engine;
    engine.SetScope(Scope(true));
    engine.Parse(QString::fromUtf8(query));
    engine.Run();
    std::vector<SearchResult>& results = engine.Results();
    if (results.size() < 50) {
        state.SkipWithError("fewer than 50 results");
        return;
    }
    for (auto _ : state) {
        for (size_t i = 0; i < 50; ++i) {
            results[i].nameMarkup.clear();
            engine.BuildResultTexts(results[i]);
            benchmark::DoNotOptimize(results[i].detailMarkup.size());
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 50);
}
} // namespace

BENCHMARK_CAPTURE(BM_Search, bare_word_one, "paris", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, bare_word_all, "paris", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, bare_word_none_all, "zebra", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, digits_all, "2010", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, two_words_all, "sunset anna", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, phrase_one, "\"new york\"", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, phrase_all, "\"new york\"", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, field_one, "place:york", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, field_all, "place:york", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, itemname_all, "itemname:beach", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, exact_one, "place:=\"new york\"", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, exact_all, "place:=\"new york\"", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, mixed_all, "beach place:paris shoton:=\"lens 50mm\"", true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchManyCollections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchAfterEdit)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuildResultTexts, word, "paris")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BuildResultTexts, phrase_and_field, "\"new york\" itemname:beach")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
