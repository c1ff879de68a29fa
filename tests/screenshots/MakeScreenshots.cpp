// Renders the main states of the program's window offscreen into PNG files, for the
// pictures under docs/screenshots (scripts/screenshots.sh). Usage: make_screenshots OUTDIR
#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
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
#include "search/SearchHistory.h"
#include "thumbcache/ThumbnailList.h"
#include "views/album/CollectionRow.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/album/VeCollectionsPane.h"
#include "views/items/VeFadListCtrlBase.h"
#include "views/details/VeFadInfoCtrlBase.h"
#include "views/menus/CommandIds.h"
#include "../views/PhotoFixtures.h"
#include "views/viewer/VeFadViewerBase.h"
#include "views/details/VeFadDetailsCtrlBase.h"
#include "views/results/ResultRow.h"
#include "views/results/VeSearchResultsCtrlBase.h"
#include "views/search/VeFlyoutWndBase.h"
#include "views/search/VeSearchBoxCtrlBase.h"
#include "views/tags/TagRow.h"
#include "views/tags/VeTagListCtrlBase.h"
#include "views/frame/VeTopViewBase.h"
#include "views/viewer/VeImgViewCtrl.h"
#include "imagefiles/ExifBuilder.h"
#include "imagefiles/JpegFixture.h"

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

// The frame with the fly-out, a window of its own, drawn where it floats over the frame.
bool SaveWithFlyout(MainFrame& frame, VeFlyoutWndBase& flyout, const QString& path)
{
    QApplication::processEvents();
    QPixmap shot = frame.grab();
    if (flyout.isVisible()) {
        QPainter p(&shot);
        p.drawPixmap(frame.mapFromGlobal(flyout.mapToGlobal(QPoint(0, 0))), flyout.grab());
    }
    const bool ok = shot.save(path);
    qInfo("%s %s", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

void TypeInto(QWidget* edit, const QString& text)
{
    for (const QChar c : text) {
        QTest::keyClicks(edit, QString(c));
        QTest::qWait(15);
    }
}

// Searching: the fly-out's suggestions while typing, the results with their highlights, the
// tags pane of a found photo with its highlighted values and an open value editor.
bool ShootSearch(MainFrame& frame, const QString& out)
{
    VeAlbumViewBase& view = frame.MainView().AlbumView();
    VeCollectionsPane& pane = view.CollectionsPane();
    Collection& beaches = pane.CollectionRowAt(1)->GetCollection();
    Collection& town = pane.CollectionRowAt(2)->GetCollection();
    const QStringList places = {"Cascais", "Costa da Caparica", "Carcavelos", "Guincho", "Cascais harbour"};
    const QStringList people = {"Ana and Rui", "Marta", "Ana", "Rui and Tomás", "Marta and Ana"};
    for (Collection* c : {&beaches, &town}) {
        const int32_t place = c->GetTags().Add(QStringLiteral("Place"))->Id();
        const int32_t who = c->GetTags().Add(QStringLiteral("People"))->Id();
        c->GetTags().Add(QStringLiteral("Weather"));
        for (int i = 0; i < c->GetItems().Count(); ++i) {
            Item* item = c->GetItems().At(i);
            item->SetTagValue(place, c == &town ? QStringLiteral("Alfama") : places[i % places.size()]);
            item->SetTagValue(who, people[i % people.size()]);
        }
    }
    SearchHistory history;
    for (const char* past : {"place:cascais", "people:ana", "beach sunset", "place:carcavelos", "people:marta"})
        history.RecordSearch(QString::fromLatin1(past));
    Settings::Instance().mruSearches = history.Recent();
    Settings::Instance().allSearches = history.All();
    Settings::Instance().autoSuggest = true;

    SelectCollectionRow(pane, 0); // every collection
    VeSearchBoxCtrlBase& box = *frame.MainView().TopStrip().SearchBox();
    box.Activate();
    QTest::qWait(50);
    TypeInto(&box.Edit(), QStringLiteral("place:c"));
    QTest::qWait(300); // the slide-in
    bool ok = box.Flyout().IsVisible();
    ok = SaveWithFlyout(frame, box.Flyout(), out + QStringLiteral("/search-suggestions.png")) && ok;

    QTest::keyClick(&box.Edit(), Qt::Key_Escape); // the fly-out goes, the text stays
    TypeInto(&box.Edit(), QStringLiteral("as ana"));
    box.Flyout().Hide();
    VeSearchResultsCtrlBase& results = view.SearchResults();
    ok = results.RowCount() > 0 && ok;
    results.Select(results.ResultRowAt(0), true, true);
    results.setFocus();
    QTest::qWait(400); // previews from the worker
    ok = Save(frame, out + QStringLiteral("/search-results.png")) && ok;

    VeTagListCtrlBase& tags = view.DetailsPane().TagsPane();
    ok = tags.StartValueEdit(tags.TagRowAt(1)) && ok;
    QTest::qWait(50);
    ok = Save(frame, out + QStringLiteral("/tags-pane-editing.png")) && ok;
    ok = Save(view.DetailsPane(), out + QStringLiteral("/tags-pane.png")) && ok;
    QTest::keyClick(&tags.ValueEditor(), Qt::Key_Escape);
    box.SetScope(box.Scope()); // the search ends
    return ok;
}

// A portrait photo as a camera held upright stores it: the picture lies on its side (turned
// counter-clockwise) and the Exif orientation 6 says to turn it clockwise for showing.
QString MakePortraitPhoto(const QString& path)
{
    QImage upright(900, 1200, QImage::Format_RGB32);
    QPainter p(&upright);
    QLinearGradient sky(0, 0, 0, 760);
    sky.setColorAt(0, QColor(0x3A, 0x7B, 0xC8));
    sky.setColorAt(1, QColor(0xF2, 0xC4, 0x8A));
    p.fillRect(0, 0, 900, 760, sky);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xE8, 0xA0));
    p.drawEllipse(QPointF(640, 300), 70, 70);
    p.fillRect(0, 760, 900, 440, QColor(0x1F, 0x5E, 0x7A));
    p.fillRect(0, 960, 900, 240, QColor(0xD8, 0xC0, 0x8E));
    // A lighthouse on the shore: striped tower, lamp room and roof.
    const QPolygonF tower({QPointF(330, 1000), QPointF(370, 420), QPointF(470, 420), QPointF(510, 1000)});
    p.setBrush(Qt::white);
    p.drawPolygon(tower);
    p.setBrush(QColor(0xC8, 0x2A, 0x2A));
    for (int band = 0; band < 3; ++band) {
        const double top = 480 + band * 180, bottom = top + 80;
        const auto x = [](double y, bool left) { return left ? 370 - (y - 420) * 40 / 580 : 470 + (y - 420) * 40 / 580; };
        p.drawPolygon(QPolygonF({QPointF(x(top, true), top), QPointF(x(top, false), top),
                                 QPointF(x(bottom, false), bottom), QPointF(x(bottom, true), bottom)}));
    }
    p.setBrush(QColor(0x30, 0x30, 0x38));
    p.drawRect(QRectF(360, 360, 120, 60));
    p.setBrush(QColor(0xFF, 0xF4, 0xB0));
    p.drawRect(QRectF(378, 370, 84, 44));
    p.setBrush(QColor(0xC8, 0x2A, 0x2A));
    p.drawPolygon(QPolygonF({QPointF(350, 362), QPointF(420, 300), QPointF(490, 362)}));
    p.end();

    const QImage stored = upright.transformed(QTransform().rotate(-90));
    test::JpegRecipe recipe;
    recipe.width = stored.width();
    recipe.height = stored.height();
    recipe.quality = 92;
    const auto jpeg = test::EncodeJpeg(recipe, [&stored](int x, int y, int c) {
        const QRgb rgb = stored.pixel(x, y);
        return uint8_t(c == 0 ? qRed(rgb) : c == 1 ? qGreen(rgb) : qBlue(rgb));
    });
    test::TiffBuilder tiff(false);
    tiff.AddShort(test::TiffBuilder::kIfd0, 274, 6);
    const auto file = test::InsertAfterSoi(jpeg, test::ExifSegment(tiff.Build()));
    QFile out(path);
    const bool ok = out.open(QIODevice::WriteOnly)
                    && out.write(reinterpret_cast<const char*>(file.data()), qint64(file.size())) == qint64(file.size());
    return ok ? path : QString();
}

} // namespace

namespace {
// A folder made empty for the run and removed after it.
class FixedFolder {
public:
    explicit FixedFolder(const QString& path) : m_path(path)
    {
        QDir(m_path).removeRecursively();
        QDir().mkpath(m_path);
    }
    ~FixedFolder() { QDir(m_path).removeRecursively(); }
    QString filePath(const QString& name) const { return QDir(m_path).filePath(name); }

private:
    QString m_path;
};
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

    // One fixed folder, so that the paths the dialogs show are the same on every run.
    FixedFolder temp(QDir(QDir::tempPath()).filePath(QStringLiteral("tessary-screenshots/Pictures")));
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
    ok = ShootSearch(frame, out) && ok;

    // The viewer on a portrait photo stored on its side (Exif orientation 6).
    const QString portrait = MakePortraitPhoto(temp.filePath(QStringLiteral("Lighthouse.jpg")));
    ok = !portrait.isEmpty() && ok;
    frame.OpenViewer({portrait}, 0);
    for (int i = 0; i < 500 && frame.Viewer().ImageView().DisplayedIndex() != 0; ++i)
        QTest::qWait(10);
    ok = frame.IsViewerShown() && !frame.Viewer().ImageView().PhotoRect().isEmpty() && ok;
    ok = Save(frame, out + QStringLiteral("/viewer.png")) && ok;
    frame.CloseViewer();

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
