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
#include "app/Settings.h"
#include "views/common/UserPrompts.h"
#include "views/dialogs/AboutDialog.h"
#include "views/dialogs/NewAlbumDialog.h"
#include "views/dialogs/OpenAlbumDialog.h"
#include "views/dialogs/RecentAlbumList.h"
#include "views/dialogs/RecentAlbumRow.h"
#include "album/PhotoOperations.h"
#include "thumbcache/ThumbnailList.h"
#include "views/album/CollectionRow.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/album/VeCollectionsPane.h"
#include "views/items/VeFadListCtrlBase.h"
#include "views/details/VeFadInfoCtrlBase.h"
#include "views/menus/CommandIds.h"
#include "../views/PhotoFixtures.h"

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

void SelectCollectionRow(VeCollectionsPane& pane, int index)
{
    pane.SelectOnly(pane.CollectionRowAt(index), false);
    pane.Select(pane.CollectionRowAt(index), true, true);
}

// Waits until the item list has every row and every thumbnail of its Thumbnails mode.
void WaitForCells(VeFadListCtrlBase& list)
{
    for (int i = 0; i < 500 && list.IsFilling(); ++i)
        QTest::qWait(10);
    for (int i = 0; i < 500 && list.Thumbnails().GetCounters().made + list.Thumbnails().GetCounters().failed <
                                 list.RowCount(); ++i)
        QTest::qWait(10);
    QTest::qWait(50);
}

// The album page: both empty-list hints, the four modes of the item list and a hovered
// collections pane with its badges.
bool ShootAlbumPage(MainFrame& frame, const QString& out, const QString& photoFolder)
{
    VeAlbumViewBase& view = frame.MainView().AlbumView();
    VeCollectionsPane& pane = view.CollectionsPane();
    VeFadListCtrlBase& list = *view.ItemList();
    Album* album = view.GetAlbum();
    if (!album || pane.RealRowCount() < 2)
        return false;
    bool ok = Save(frame, out + QStringLiteral("/item-list-hint-all.png"));

    SelectCollectionRow(pane, 2);
    ok = Save(frame, out + QStringLiteral("/item-list-hint-collection.png")) && ok;

    const QStringList beaches = test::WriteScenes(photoFolder + QStringLiteral("/beach"), 14, QStringLiteral("Beach"));
    const QStringList town = test::WriteScenes(photoFolder + QStringLiteral("/town"), 5, QStringLiteral("Old Town"));
    AddPathList(pane.CollectionRowAt(1)->GetCollection(), beaches);
    AddPathList(pane.CollectionRowAt(2)->GetCollection(), town);
    SelectCollectionRow(pane, 1);
    WaitForCells(list);
    list.SelectRows({2});
    // The info strip's facts and the previews come from workers.
    for (int i = 0; i < 300 && !view.InfoStrip().HasFacts(); ++i)
        QTest::qWait(10);
    QTest::qWait(300);
    ok = Save(frame, out + QStringLiteral("/item-list-thumbnails.png")) && ok;
    ok = Save(view.InfoStrip(), out + QStringLiteral("/info-strip-single.png")) && ok;
    list.SelectRows({0, 1, 4});
    ok = Save(frame, out + QStringLiteral("/album-multiple-selection.png")) && ok;
    ok = Save(view.InfoStrip(), out + QStringLiteral("/info-strip-multiple.png")) && ok;
    list.SelectRows({2});

    const std::pair<int, const char*> modes[] = {{cmd::kViewIcons, "icons"}, {cmd::kViewList, "list"},
                                                 {cmd::kViewDetails, "details"}};
    for (const auto& [command, name] : modes) {
        list.HandleCommand(command);
        ok = Save(frame, out + QStringLiteral("/item-list-%1.png").arg(QLatin1String(name))) && ok;
    }
    list.HandleCommand(cmd::kViewThumbnails);

    // The collections pane with its count badges, the pointer over "Old Town".
    const QRect hot = pane.RowRect(pane.CollectionRowAt(2));
    QTest::mouseMove(pane.viewport(), hot.center());
    QTest::qWait(30);
    ok = Save(pane, out + QStringLiteral("/collections-pane.png")) && ok;
    return ok;
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
    app.setFont(SharedFonts::Normal());

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
    ok = ShootAlbumPage(frame, out, temp.filePath(QStringLiteral("Camera"))) && ok;

    // The album tab hovered over the home page.
    frame.MainView().ShowPage(VeMainView::kHomePage);
    ok = Save(frame, out + QStringLiteral("/home-with-album.png")) && ok;

    // The dialogs of the main frame, each shown on its own.
    {
        UserPrompts prompts;
        Settings settings;
        settings.albumFolder = temp.filePath(QStringLiteral("My Photo Albums"));
        settings.nextAlbumId = 3;
        NewAlbumDialog newAlbum(settings, prompts, &frame);
        newAlbum.show();
        ok = Save(newAlbum, out + QStringLiteral("/new-album.png")) && ok;
        newAlbum.reject();

        QStringList none;
        OpenAlbumDialog empty(none, prompts, &frame);
        empty.show();
        ok = Save(empty, out + QStringLiteral("/open-album-empty.png")) && ok;
        empty.reject();

        QStringList recent{albumFile};
        for (const QString& name : {QStringLiteral("Grandma's 90th Birthday"), QStringLiteral("Garden 2024")}) {
            Album album(temp.filePath(name), name);
            album.SetAlbumId(2);
            if (SaveAlbum(album))
                recent << album.FilePath();
        }
        OpenAlbumDialog open(recent, prompts, &frame);
        open.show();
        // The stored names come from a worker thread.
        for (int i = 0; i < 200 && open.List()->AlbumRowAt(0)->DisplayName() != QStringLiteral("Summer in Lisbon"); ++i)
            QTest::qWait(10);
        QTest::qWait(50);
        open.List()->Select(open.List()->RowAtIndex(1), true, true);
        ok = open.List()->RowCount() == 3 && ok;
        ok = Save(open, out + QStringLiteral("/open-album.png")) && ok;
        open.reject();

        AboutDialog about(&frame);
        about.show();
        ok = Save(about, out + QStringLiteral("/about.png")) && ok;
        about.close();
    }
    return ok ? 0 : 1;
}
