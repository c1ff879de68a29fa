// Adding 1,000 photos of 2 MB each from one folder to a collection (the folder filtered as a
// dropped folder is, then one item and one photo copy per file), against `cp -r` of the same
// folder on the same disk, alternating in one run. Each timed step starts after a `sync` with
// the source photos dropped from the page cache (both read them from the disk), and the order
// alternates, so neither inherits the other's writeback more often. Needs about
// 2 GiB per step of free space (all copies are deleted at the end).
//
//   bench_add_photos [--benchmark_repetitions=N]   (TESSARY_BENCH_DIR: where to work; /tmp)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "album/Album.h"
#include "album/FilterJob.h"
#include "album/PhotoOperations.h"

extern char** environ;

using namespace tessary;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPhotos = 1000;
constexpr qint64 kPhotoBytes = 2 * 1024 * 1024;

struct Fixture {
    std::unique_ptr<QTemporaryDir> dir;
    QString source;
    std::vector<double> cpSeconds;
    std::vector<double> addSeconds;
    std::vector<double> cpCpu;
    std::vector<double> addCpu;
    bool ok = false;
};

Fixture& TheFixture()
{
    static Fixture f;
    return f;
}

bool Run(const std::vector<const char*>& argv)
{
    std::vector<char*> args;
    for (const char* a : argv)
        args.push_back(const_cast<char*>(a));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return false;
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void MakeSource()
{
    Fixture& f = TheFixture();
    const QByteArray base = qgetenv("TESSARY_BENCH_DIR");
    f.dir = base.isEmpty()
                ? std::make_unique<QTemporaryDir>()
                : std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(base) + QStringLiteral("/add-bench-XXXXXX"));
    f.source = f.dir->filePath(QStringLiteral("Camera"));
    if (!f.dir->isValid() || !QDir().mkpath(f.source))
        return;
    // Incompressible bytes, different in every file.
    std::mt19937_64 random(20130501);
    QByteArray bytes(kPhotoBytes, '\0');
    for (int i = 0; i < kPhotos; ++i) {
        auto* words = reinterpret_cast<uint64_t*>(bytes.data());
        for (qsizetype w = 0; w < bytes.size() / 8; ++w)
            words[w] = random();
        QFile file(f.source + QStringLiteral("/IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return;
    }
    ::sync();
    f.ok = true;
}

// Writes everything out and drops the source photos from the page cache, so that every step
// reads them from the disk (whether they are still cached otherwise depends on the machine).
void StartCold()
{
    ::sync();
    const QDir source(TheFixture().source);
    for (const QString& name : source.entryList(QDir::Files)) {
        const int fd = ::open(QFile::encodeName(source.filePath(name)).constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
}

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// User plus system time of this process (all threads) or of its waited-for children.
double CpuSeconds(int who)
{
    rusage u {};
    ::getrusage(who, &u);
    auto s = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

void BM_AddPhotosAgainstCp(benchmark::State& state)
{
    Fixture& f = TheFixture();
    if (!f.ok) {
        state.SkipWithError("cannot make the source folder");
        return;
    }
    const QByteArray src = QFile::encodeName(f.source);
    for (auto _ : state) {
        // Fresh targets every time; deleting thousands of inodes just before the next step
        // would make the file system's inode allocator skip them, which no user meets.
        const QString copy = f.dir->filePath(QStringLiteral("cp-copy-%1").arg(f.cpSeconds.size()));
        const QString albumFolder = f.dir->filePath(QStringLiteral("Album-%1").arg(f.cpSeconds.size()));
        const QByteArray dst = QFile::encodeName(copy);
        // Alternate which goes first, so that neither always meets the other's writeback.
        const bool cpFirst = f.cpSeconds.size() % 2 == 0;
        double cp = 0;
        double add = 0;
        for (int step = 0; step < 2; ++step) {
            StartCold();
            const auto start = Clock::now();
            if ((step == 0) == cpFirst) {
                const double cpu = CpuSeconds(RUSAGE_CHILDREN);
                const bool copied = Run({"cp", "-r", src.constData(), dst.constData()});
                cp = Seconds(start);
                f.cpCpu.push_back(CpuSeconds(RUSAGE_CHILDREN) - cpu);
                if (!copied) {
                    state.SkipWithError("cp -r failed");
                    return;
                }
            } else {
                const double cpu = CpuSeconds(RUSAGE_SELF);
                Album album(albumFolder, QStringLiteral("Album"));
                Collection* collection = album.GetCollections().Add(QStringLiteral("Camera"));
                const std::optional<QStringList> found = FilterPathsNow({f.source});
                const size_t added = found ? AddPathList(*collection, *found).size() : 0;
                add = Seconds(start);
                f.addCpu.push_back(CpuSeconds(RUSAGE_SELF) - cpu);
                if (added != size_t(kPhotos)) {
                    state.SkipWithError("not every photo was added");
                    return;
                }
            }
        }

        state.SetIterationTime(add);
        state.counters["cp_s"] = cp;
        state.counters["add_s"] = add;
        state.counters["speed_vs_cp"] = cp / add;
        state.counters["cp_cpu_s"] = f.cpCpu.back();
        state.counters["add_cpu_s"] = f.addCpu.back();
        f.cpSeconds.push_back(cp);
        f.addSeconds.push_back(add);
    }
    state.SetBytesProcessed(state.iterations() * kPhotos * kPhotoBytes);
}
BENCHMARK(BM_AddPhotosAgainstCp)->Iterations(1)->Repetitions(4)->UseManualTime()->Unit(benchmark::kMillisecond);

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void PrintSummary()
{
    const Fixture& f = TheFixture();
    if (f.cpSeconds.empty())
        return;
    double load1 = 0;
    ::getloadavg(&load1, 1);
    const double mb = double(kPhotos) * double(kPhotoBytes) / (1024.0 * 1024.0);
    const double cpBest = *std::min_element(f.cpSeconds.begin(), f.cpSeconds.end());
    const double addBest = *std::min_element(f.addSeconds.begin(), f.addSeconds.end());
    const double cpMedian = Median(f.cpSeconds);
    const double addMedian = Median(f.addSeconds);
    std::printf("\n%d photos of %lld bytes (%.0f MiB) in %s; %ld cores online, load average %.2f\n", kPhotos,
                static_cast<long long>(kPhotoBytes), mb, qPrintable(f.dir->path()), ::sysconf(_SC_NPROCESSORS_ONLN),
                load1);
    std::printf("  cp -r          best %7.0f ms (%6.0f MiB/s)   median %7.0f ms\n", cpBest * 1000, mb / cpBest,
                cpMedian * 1000);
    std::printf("  add to album   best %7.0f ms (%6.0f MiB/s)   median %7.0f ms\n", addBest * 1000, mb / addBest,
                addMedian * 1000);
    std::printf("  speed against cp: best %.2f, median %.2f (target 0.80)\n", cpBest / addBest, cpMedian / addMedian);
    std::printf("  processor time (user + system), median: cp -r %.0f ms, add %.0f ms\n", Median(f.cpCpu) * 1000,
                Median(f.addCpu) * 1000);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MakeSource();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    TheFixture().dir.reset();
    return 0;
}
