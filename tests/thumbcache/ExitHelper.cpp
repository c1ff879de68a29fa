// A small program for the exit tests: opens both process-wide stores in the per-run temporary
// folder, stores a thumbnail in each, prints the folder, and leaves in the way asked:
//   quit  - through the application's quit path (event loop ends, main returns)
//   exit  - through exit()
//   kill  - killed
//   keep  - quits with a foreign file left in the temporary folder
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include "app/AppFolders.h"
#include "thumbcache/ThumbCacheStore.h"

using namespace tessary;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QByteArray mode = argv[1];
    const QString photo = QString::fromLocal8Bit(argv[2]);

    const QString folder = AppFolders::TempFolder();
    if (folder.isEmpty())
        return 3;
    ThumbCacheStore& lv = ThumbCacheStore::ListView();
    ThumbCacheStore& pv = ThumbCacheStore::Preview();
    if (!lv.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), folder)
        || !pv.Open(QString::fromLatin1(ThumbCacheStore::kPreviewFileName), folder))
        return 4;
    QByteArray back;
    if (!lv.Store(photo, QByteArray(27702, 'L')) || !pv.Store(photo, QByteArray(76854, 'P'))
        || !lv.Lookup(photo, back) || back != QByteArray(27702, 'L'))
        return 5;

    std::printf("%s\n", QFile::encodeName(folder).constData());
    std::fflush(stdout);

    if (mode == "kill")
        std::raise(SIGKILL);
    if (mode == "exit")
        std::exit(0);
    if (mode == "keep") {
        QFile other(folder + QStringLiteral("/other.txt"));
        if (!other.open(QIODevice::WriteOnly))
            return 6;
    }
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
