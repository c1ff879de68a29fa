// Renders the main states of the program's window offscreen into PNG files, for the
// pictures under docs/screenshots (scripts/screenshots.sh). Usage: make_screenshots OUTDIR
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "album/Album.h"
#include "album/AlbumFile.h"
#include "app/MainFrame.h"
#include "views/common/SharedFonts.h"
#include "views/frame/VeMainView.h"

using namespace tessary;

namespace {

bool Save(QWidget& widget, const QString& path)
{
    QApplication::processEvents();
    const bool ok = widget.grab().save(path);
    qInfo("%s %s", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

QString MakeAlbum(const QString& folder)
{
    Album album(folder, QStringLiteral("Summer in Lisbon"));
    album.SetAlbumId(1);
    album.GetCollections().Add(QStringLiteral("Beaches"));
    album.GetCollections().Add(QStringLiteral("Old Town"));
    return SaveAlbum(album) ? album.FilePath() : QString();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        qWarning("usage: make_screenshots OUTDIR");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    RegisterInterfaceFonts();

    QTemporaryDir temp;
    const QString albumFile = MakeAlbum(temp.filePath(QStringLiteral("Summer in Lisbon")));
    bool ok = !albumFile.isEmpty();

    MainFrame frame;
    frame.resize(920, 640);
    frame.show();
    ok = Save(frame, out + QStringLiteral("/home.png")) && ok;

    frame.OpenFromArgument(albumFile);
    ok = frame.MainView().HasAlbum() && ok;
    ok = Save(frame, out + QStringLiteral("/album.png")) && ok;

    // The album tab hovered over the home page.
    frame.MainView().ShowPage(VeMainView::kHomePage);
    ok = Save(frame, out + QStringLiteral("/home-with-album.png")) && ok;
    return ok ? 0 : 1;
}
