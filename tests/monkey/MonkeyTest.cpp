// Random input at the real main window: per seed, a few thousand mouse, wheel and key events
// at whatever windows are up over an album of real photos, every message answered at random.
// The window must answer each event within two seconds, never crash, and leave an album that
// saves and loads again. TESSARY_MONKEY_EVENTS (events per seed) and TESSARY_MONKEY_SEEDS
// ("1,2,3,11"; 11 found a blank album location being made) set the budget.
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "MonkeyPrompts.h"
#include "RandomInput.h"
#include "Watchdog.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "album/Collections.h"
#include "album/Items.h"
#include "album/PhotoOperations.h"
#include "album/Tags.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "imagefiles/JpegFixture.h"
#include "thumbcache/ThumbCacheStore.h"
#include "views/common/BusyWork.h"
#include "views/common/SharedFonts.h"
#include "views/common/WebPages.h"
#include "views/frame/VeMainView.h"
#include "views/menus/CommandIds.h"

using namespace tessary;
using namespace tessary::test;

namespace {

QString g_root;

int EventsPerSeed()
{
    const int n = qEnvironmentVariableIntValue("TESSARY_MONKEY_EVENTS");
    return n > 0 ? n : 3000;
}

QList<uint32_t> Seeds()
{
    QString text = qEnvironmentVariable("TESSARY_MONKEY_SEEDS");
    if (text.trimmed().isEmpty())
        text = QStringLiteral("1,2,3,11");
    QList<uint32_t> seeds;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        seeds << part.trimmed().toUInt();
    return seeds;
}

// Thirty small JPEG files of different sizes and shapes.
QStringList WritePhotos(const QString& folder)
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < 30; ++i) {
        JpegRecipe recipe;
        recipe.width = 40 + (i * 13) % 90;
        recipe.height = 30 + (i * 29) % 80;
        recipe.progressive = i % 4 == 3;
        const auto bytes = EncodeJpeg(recipe, [&](int x, int y, int c) {
            return PhotoLikeSample(x + i * 7, y, c, recipe.width + i * 7, recipe.height);
        });
        const QString path = QDir(folder).filePath(QStringLiteral("Photo %1.jpg").arg(i + 1, 2, 10, QLatin1Char('0')));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly) && f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) ==
                                                qint64(bytes.size()))
            paths << path;
    }
    return paths;
}

// Three collections of ten photos, each with three tags and values on most items.
QString MakeAlbum(const QString& folder, const QStringList& photos)
{
    Album album(folder, QStringLiteral("Monkey"));
    album.SetAlbumId(7);
    const QStringList names = {QStringLiteral("Holidays"), QStringLiteral("Family"), QStringLiteral("Garden")};
    const QStringList tagNames = {QStringLiteral("Place"), QStringLiteral("People"), QStringLiteral("Year")};
    for (int c = 0; c < names.size(); ++c) {
        Collection* collection = album.GetCollections().Add(names[c]);
        std::vector<int32_t> tags;
        for (const QString& t : tagNames)
            tags.push_back(collection->GetTags().Add(t)->Id());
        const std::vector<Item*> items = AddPathList(*collection, photos.mid(c * 10, 10));
        for (size_t i = 0; i < items.size(); ++i)
            for (size_t t = 0; t < tags.size(); ++t)
                if ((i + t) % 4 != 0)
                    items[i]->SetTagValue(tags[t], QStringLiteral("%1 value %2").arg(tagNames[int(t)]).arg(i % 5));
    }
    return SaveAlbum(album) ? album.FilePath() : QString();
}

QByteArray Digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A window close ends with QCoreApplication::exit, which leaves every later event loop
// returning at once; a short exec of the application's own loop clears that again.
void ClearQuit()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

bool EventLoopsRun()
{
    QEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
    return timer.elapsed() >= 15;
}

QtMessageHandler g_previousHandler = nullptr;

// The offscreen platform says so on every popup menu; that is the platform, not the program.
void DropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_previousHandler(type, context, text);
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        g_previousHandler = qInstallMessageHandler(DropPlatformNotes);
        RegisterInterfaceFonts();
        qApp->setFont(SharedFonts::Normal());
        SetWebPageOpener([this](const QUrl&) {
            ++m_webPages;
            return true;
        });
        ThumbCacheStore::SetStoreFolder(QDir(g_root).filePath(QStringLiteral("tmp")));
        m_watchdog = std::make_unique<Watchdog>(2000);
    }

    void cleanupTestCase()
    {
        m_watchdog.reset();
        QFile::remove(Settings::FilePath());
    }

    void randomInputKeepsTheWindowAnswering_data()
    {
        QTest::addColumn<uint32_t>("seed");
        for (uint32_t seed : Seeds())
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void randomInputKeepsTheWindowAnswering()
    {
        QFETCH(uint32_t, seed);
        const QString root = QDir(g_root).filePath(QStringLiteral("seed-%1").arg(seed));
        QVERIFY(QDir().mkpath(root));
        QDir::setCurrent(root);
        const QStringList photos = WritePhotos(QDir(root).filePath(QStringLiteral("sources")));
        QCOMPARE(photos.size(), 30);
        std::map<QString, QByteArray> digests;
        for (const QString& p : photos)
            digests[p] = Digest(p);
        const QString albumFile = MakeAlbum(QDir(root).filePath(QStringLiteral("albums/Monkey")), photos);
        QVERIFY(!albumFile.isEmpty());

        std::mt19937 rng(seed);
        PromptTally tally;
        auto makeFrame = [&] {
            QFile::remove(Settings::FilePath());
            Settings::Instance() = Settings();
            auto frame = std::make_unique<MainFrame>(
                nullptr, std::make_unique<MonkeyPrompts>(tally, rng, g_root, photos, albumFile),
                std::make_unique<MonkeyDialogs>(tally, g_root));
            // It would start this test program again.
            if (QAction* action = frame->Action(cmd::kNewInstance))
                action->setEnabled(false);
            frame->OpenFromArgument(albumFile);
            frame->FirstIdle();
            frame->activateWindow();
            return frame;
        };
        std::unique_ptr<MainFrame> frame = makeFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QVERIFY(frame->MainView().HasAlbum());

        m_webPages = 0;
        const int budget = EventsPerSeed();
        int reopened = 0;
        int remade = 0;
        RandomInput input(rng, *m_watchdog);
        m_watchdog->Arm(true);
        while (input.Events() < budget) {
            input.Step();
            if (!frame->isVisible()) {
                ++remade;
                m_watchdog->Arm(false);
                frame.reset();
                ClearQuit();
                QVERIFY(EventLoopsRun());
                frame = makeFrame();
                QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
                m_watchdog->Arm(true);
            } else if (!frame->MainView().HasAlbum() && !IsBusy()) {
                ++reopened;
                QVERIFY(frame->OpenAlbum(albumFile, false, true));
            }
        }
        m_watchdog->Arm(false);

        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        if (frame->IsViewerShown())
            frame->CloseViewer();
        QVERIFY(frame->MainView().HasAlbum());
        const Album& album = *frame->MainView().GetAlbum();
        QVERIFY(frame->SaveAlbum());
        Album loaded;
        QVERIFY(LoadAlbum(loaded, album.FilePath()));
        QCOMPARE(AlbumXml(loaded), AlbumXml(album));

        QVERIFY2(tally.outside.isEmpty(), qPrintable(tally.outside.join(QLatin1Char('\n'))));
        for (const auto& [path, digest] : digests)
            QVERIFY2(Digest(path) == digest, qPrintable(path));
        qInfo("seed %u: %d events, slowest answer %.1f ms, %d prompts, %d blocking windows (%d file dialogs), "
              "album reopened %d times, window made again %d times, %d web pages, %d album locations put back; "
              "slowest action with its answer %.1f ms",
              seed, input.Events(), input.SlowestAnswerMs(), tally.prompts, input.BlockingWindows(),
              input.FileDialogs(), reopened, remade, m_webPages, tally.locationsPutBack, input.SlowestActionMs());
        frame.reset();
        QFile::remove(Settings::FilePath());
    }

private:
    std::unique_ptr<Watchdog> m_watchdog;
    int m_webPages = 0;
};

int main(int argc, char** argv)
{
    // The run's home and desktop folders, so that nothing outside its temporary folder is
    // read or written (the settings file beside the program excepted).
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    g_root = root.path();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                             "XDG_RUNTIME_DIR"}) {
        const QString folder = QDir(g_root).filePath(QString::fromLatin1(name).toLower());
        QDir().mkpath(folder);
        qputenv(name, folder.toLocal8Bit());
    }
    ::chmod(QDir(g_root).filePath(QStringLiteral("xdg_runtime_dir")).toLocal8Bit().constData(), 0700);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    MonkeyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MonkeyTest.moc"
