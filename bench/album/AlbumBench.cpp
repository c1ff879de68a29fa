// Loading and saving a 100,000-item album (10 collections of 10,000 items, 8 tags per
// collection, 5 values per item), against TinyXML alone parsing and printing the same file,
// all in one run. Peak memory is measured in child processes of this program, each doing one
// thing: TinyXML parsing the file, or the album being loaded.
//
//   bench_album                  the timings, then a summary with the ratios
//   bench_album --peak=MODE FILE (internal) one child measurement
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <tinyxml.h>

#include "album/Album.h"
#include "album/AlbumFile.h"

using namespace tessary;

namespace {

using Clock = std::chrono::steady_clock;

struct Fixture {
    QTemporaryDir dir;
    QString file;
    qint64 bytes = 0;
};

Fixture& TheFixture()
{
    static Fixture f;
    return f;
}

std::map<std::string, double>& Best()
{
    static std::map<std::string, double> best;
    return best;
}

void Record(const char* name, Clock::time_point start)
{
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    auto [it, added] = Best().emplace(name, s);
    if (!added && s < it->second)
        it->second = s;
}

void BuildAlbum()
{
    Fixture& f = TheFixture();
    const QString folder = f.dir.filePath(QStringLiteral("Big"));
    Album album(folder, QStringLiteral("Big"));
    album.SetAlbumId(1);
    DateTime when;
    when.Parse(QStringLiteral("2013-05-01 14:03:07.250"));
    for (int c = 1; c <= 10; ++c) {
        Collection* col = album.GetCollections().Add(QStringLiteral("Collection %1").arg(c));
        for (int t = 0; t < 8; ++t)
            col->GetTags().Add(QStringLiteral("Tag number %1").arg(t + 1));
        for (int i = 1; i <= 10000; ++i) {
            Item* item = col->GetItems().Add(QStringLiteral("IMG_%1 photo").arg(i, 6, 10, QLatin1Char('0')), i);
            item->SetDateAdded(when);
            item->GetPhotos().Add(PhotoFormat::Jpeg, 1);
            for (int r = 0; r < 5; ++r)
                item->SetTagValue(1001 + (i + r) % 8, QStringLiteral("Value %1").arg(i * 7 + r));
        }
    }
    if (!SaveAlbum(album)) {
        std::fprintf(stderr, "cannot write the album\n");
        std::exit(1);
    }
    f.file = album.FilePath();
    f.bytes = QFileInfo(f.file).size();
}

std::string FilePath()
{
    return QFile::encodeName(TheFixture().file).toStdString();
}

void BM_TinyXmlParse(benchmark::State& state)
{
    for (auto _ : state) {
        auto* doc = new TiXmlDocument;
        const auto start = Clock::now();
        if (!doc->LoadFile(FilePath().c_str()))
            state.SkipWithError("parse failed");
        Record("tinyxml parse", start);
        state.PauseTiming();
        delete doc;
        state.ResumeTiming();
    }
}

// The parse the album loader runs: the same, with row and column tracking off.
void BM_TinyXmlParseNoLocation(benchmark::State& state)
{
    for (auto _ : state) {
        auto* doc = new TiXmlDocument;
        doc->SetTabSize(0);
        const auto start = Clock::now();
        if (!doc->LoadFile(FilePath().c_str()))
            state.SkipWithError("parse failed");
        Record("tinyxml parse, no location", start);
        state.PauseTiming();
        delete doc;
        state.ResumeTiming();
    }
}

void BM_TinyXmlPrint(benchmark::State& state)
{
    TiXmlDocument doc;
    doc.LoadFile(FilePath().c_str());
    const std::string out = FilePath() + ".tinyxml";
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!doc.SaveFile(out.c_str()))
            state.SkipWithError("print failed");
        Record("tinyxml print", start);
    }
    std::remove(out.c_str());
}

void BM_AlbumLoad(benchmark::State& state)
{
    for (auto _ : state) {
        auto* album = new Album;
        const auto start = Clock::now();
        if (!LoadAlbum(*album, TheFixture().file))
            state.SkipWithError("load failed");
        Record("album load", start);
        state.PauseTiming();
        if (album->GetCollections().ItemCount(album->GetCollections().AllCollections()) != 100000)
            state.SkipWithError("items missing after the load");
        delete album;
        state.ResumeTiming();
    }
}

void BM_AlbumSave(benchmark::State& state)
{
    Album album;
    LoadAlbum(album, TheFixture().file);
    // Saved beside the original so that every load above reads the same file.
    const QString folder = TheFixture().dir.filePath(QStringLiteral("Copy"));
    album.SetLocation(folder, folder + QStringLiteral("/Big.tsy"));
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!SaveAlbum(album))
            state.SkipWithError("save failed");
        Record("album save", start);
    }
    if (QFileInfo(album.FilePath()).size() != TheFixture().bytes)
        state.SkipWithError("the saved file differs from the loaded one");
}

BENCHMARK(BM_TinyXmlParse)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TinyXmlParseNoLocation)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AlbumLoad)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TinyXmlPrint)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AlbumSave)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

long CurrentRssKb()
{
    FILE* f = std::fopen("/proc/self/status", "r");
    long kb = 0;
    char line[256];
    while (f && std::fgets(line, sizeof(line), f)) {
        if (std::strncmp(line, "VmRSS:", 6) == 0)
            kb = std::strtol(line + 6, nullptr, 10);
    }
    if (f)
        std::fclose(f);
    return kb;
}

long PeakRssKb()
{
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

// Child side: prints "<peak growth kB> <growth still held after the operation kB>".
int PeakChild(const std::string& mode, const char* file)
{
    const long before = CurrentRssKb();
    long held = 0;
    if (mode == "tinyxml") {
        TiXmlDocument doc;
        if (!doc.LoadFile(file))
            return 1;
        held = CurrentRssKb() - before;
        std::printf("%ld %ld\n", PeakRssKb() - before, held);
    } else if (mode == "album") {
        Album album;
        if (!LoadAlbum(album, QFile::decodeName(file)))
            return 1;
        // Hand the parser's freed memory back so that what is held is the model.
        ::malloc_trim(0);
        held = CurrentRssKb() - before;
        std::printf("%ld %ld\n", PeakRssKb() - before, held);
    } else {
        return 2;
    }
    return 0;
}

bool RunPeakChild(const char* self, const char* mode, long& peakKb, long& heldKb)
{
    const std::string cmd = std::string("'") + self + "' --peak=" + mode + " '" + FilePath() + "'";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return false;
    const bool ok = std::fscanf(p, "%ld %ld", &peakKb, &heldKb) == 2;
    return ::pclose(p) == 0 && ok;
}

void PrintSummary(const char* self)
{
    long tinyPeak = 0, tinyHeld = 0, albumPeak = 0, albumHeld = 0;
    const bool memOk = RunPeakChild(self, "tinyxml", tinyPeak, tinyHeld)
                    && RunPeakChild(self, "album", albumPeak, albumHeld);
    auto& b = Best();
    const double parse = b["tinyxml parse"], print = b["tinyxml print"];
    const double load = b["album load"], save = b["album save"];
    double load1 = 0;
    std::printf("\nAlbum file: %.1f MB, 100,000 items. %ld cores online, load average:", double(TheFixture().bytes) / 1e6,
                sysconf(_SC_NPROCESSORS_ONLN));
    double loadavg[3] = {0, 0, 0};
    if (getloadavg(loadavg, 3) == 3)
        load1 = loadavg[0];
    std::printf(" %.2f\n", load1);
    std::printf("  TinyXML parse (LoadFile)       %8.0f ms\n", parse * 1000);
    std::printf("  TinyXML parse, no location     %8.0f ms\n", b["tinyxml parse, no location"] * 1000);
    std::printf("  album load                     %8.0f ms   ratio %.2f (target 1.30); %.2f against the parse "
                "without location\n",
                load * 1000, load / parse, load / b["tinyxml parse, no location"]);
    std::printf("  TinyXML print (SaveFile)       %8.0f ms\n", print * 1000);
    std::printf("  album save (atomic, fsync)     %8.0f ms   ratio %.2f (target 1.50)\n", save * 1000, save / print);
    if (memOk) {
        std::printf("  TinyXML document: peak %6.0f MB, held after parse %6.0f MB\n", tinyPeak / 1024.0, tinyHeld / 1024.0);
        std::printf("  album load:       peak %6.0f MB, model held after  %6.0f MB\n", albumPeak / 1024.0, albumHeld / 1024.0);
        std::printf("  peak ratio %.2f against the document held, %.2f against TinyXML's peak (target 1.50)\n",
                    double(albumPeak) / double(tinyHeld), double(albumPeak) / double(tinyPeak));
    } else {
        std::printf("  peak memory: the child measurement failed\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strncmp(argv[1], "--peak=", 7) == 0)
        return PeakChild(argv[1] + 7, argv[2]);
    benchmark::Initialize(&argc, argv);
    BuildAlbum();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Through the shell, /proc/self/exe would name the shell.
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof(self) - 1) <= 0)
        std::snprintf(self, sizeof(self), "%s", argv[0]);
    PrintSummary(self);
    return 0;
}
