// The album view's wiring of the collections pane, the item list and the right stack.
#include <QSignalSpy>
#include <QtTest>

#include "album/Collections.h"
#include "views/album/CollectionRow.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/album/VeCollectionsPane.h"
#include "views/frame/VeCmdBarCtrlBase.h"
#include "views/frame/WTL_PageStack.h"
#include "views/items/ItemListFixture.h"
#include "views/menus/CommandIds.h"
#include "views/details/VeFadDetailsCtrlBase.h"
#include "views/tags/VeTagListCtrlBase.h"

using namespace tessary;
using namespace tessary::test;

namespace {

void SelectOnly(VeCollectionsPane& pane, int index)
{
    pane.SelectOnly(pane.CollectionRowAt(index), false);
    pane.Select(pane.CollectionRowAt(index), true, true);
}

// An album page on the fixture's album, shown.
std::unique_ptr<VeAlbumViewBase> ShowAlbum(ItemListFixture& f)
{
    auto view = std::make_unique<VeAlbumViewBase>();
    view->SetPrompts(&f.prompts);
    view->resize(900, 600);
    view->show();
    view->SetAlbum(f.album.get());
    return view;
}

} // namespace

class AlbumViewItemsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void theSelectedCollectionFillsTheItemList()
    {
        ItemListFixture f;
        Collection& beach = f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("B"));
        Collection& town = f.AddCollection(QStringLiteral("Town"), 2, QStringLiteral("T"));
        f.album->GetCollections().SetHotId(town.Id());
        auto shown = ShowAlbum(f);
        VeAlbumViewBase& view = *shown;
        VeFadListCtrlBase& list = *view.ItemList();
        QCOMPARE(view.MiddleStack().GetPage(VeAlbumViewBase::kItemListPage), &list);
        QCOMPARE(list.ShownCollection(), &town); // the remembered collection
        QVERIFY(f.WaitFilled(list));
        QCOMPARE(f.RowNames(list), (QStringList{"T 01", "T 02"}));

        SelectOnly(view.CollectionsPane(), 1);
        QCOMPARE(list.ShownCollection(), &beach);
        QVERIFY(f.WaitFilled(list));
        QCOMPARE(list.RowCount(), 3);
        QCOMPARE(f.album->GetCollections().HotId(), beach.Id());

        // One selected photo shows the details page, more show the hint again.
        list.SelectRows({0});
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsPage);
        list.SelectRows({0, 1});
        QCOMPARE(view.RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsHintPage);

        view.Clear();
        QCOMPARE(list.RowCount(), 0);
        QCOMPARE(list.ShownCollection(), nullptr);
    }

    void deletingACollectionTakesItsRowsOutOfAllCollections()
    {
        ItemListFixture f;
        f.AddCollection(QStringLiteral("Keep"), 2, QStringLiteral("K"));
        f.AddCollection(QStringLiteral("Drop"), 2, QStringLiteral("D"));
        auto shown = ShowAlbum(f);
        VeAlbumViewBase& view = *shown;
        VeCollectionsPane& pane = view.CollectionsPane();
        VeFadListCtrlBase& list = *view.ItemList();
        // "All Collections" and "Drop" both selected: the list shows the first.
        SelectOnly(pane, 0);
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, Qt::ControlModifier,
                          pane.RowRect(pane.CollectionRowAt(2)).center());
        QVERIFY(pane.CollectionRowAt(0)->IsSelected());
        QVERIFY(pane.CollectionRowAt(2)->IsSelected());
        QCOMPARE(list.ShownCollection(), &f.album->GetCollections().AllCollections());
        QVERIFY(f.WaitFilled(list));
        QCOMPARE(list.RowCount(), 4);
        f.prompts.answers = {QMessageBox::Yes};
        QVERIFY(pane.DeleteSelected());
        QVERIFY(f.WaitFilled(list));
        QCOMPARE(f.RowNames(list), (QStringList{"K 01", "K 02"}));
        list.repaint(); // no row refers to a deleted item
    }

    void theTagsPaneFollowsTheSingleSelectedItem()
    {
        ItemListFixture f;
        f.AddCollection(QStringLiteral("Keep"), 1, QStringLiteral("K"));
        Collection& drop = f.AddCollection(QStringLiteral("Drop"), 2, QStringLiteral("D"));
        drop.GetTags().Add(QStringLiteral("Place"));
        drop.GetItems().At(0)->SetTagValue(drop.GetTags().At(0)->Id(), QStringLiteral("Rome"));
        auto shown = ShowAlbum(f);
        VeAlbumViewBase& view = *shown;
        VeCollectionsPane& pane = view.CollectionsPane();
        VeFadListCtrlBase& list = *view.ItemList();
        VeTagListCtrlBase& tags = view.DetailsPane().TagsPane();
        SelectOnly(pane, 2);
        QVERIFY(f.WaitFilled(list));
        list.SelectRows({0});
        QCOMPARE(tags.BoundItem(), drop.GetItems().At(0));
        QCOMPARE(tags.RowCount(), 2);
        list.SelectRows({0, 1});
        QCOMPARE(tags.BoundItem(), nullptr);
        list.SelectRows({1});
        QVERIFY(tags.BoundItem());
        // Deleting the collection lets go of its item first.
        f.prompts.answers = {QMessageBox::Yes};
        QVERIFY(pane.DeleteSelected());
        QCOMPARE(tags.BoundItem(), nullptr);
        QCOMPARE(tags.RowCount(), 0);
        tags.viewport()->repaint();
    }

    void addPhotosFromTheCommandBarReachesTheList()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 1, QStringLiteral("P"));
        f.album->GetCollections().SetHotId(c.Id());
        auto shown = ShowAlbum(f);
        VeAlbumViewBase& view = *shown;
        VeFadListCtrlBase& list = *view.ItemList();
        QVERIFY(f.WaitFilled(list));
        f.prompts.files = WriteScenes(f.dir.filePath(QStringLiteral("new")), 2, QStringLiteral("N"), 48, 32);
        view.CommandBar().HandleCommand(cmd::kAddPhotos);
        QTRY_COMPARE(list.RowCount(), 3);
        QCOMPARE(f.prompts.chooseFilesCalls, 1);
        QCOMPARE(list.SelectedRows(), (std::vector<int>{1, 2}));
        QCOMPARE(c.GetItems().Count(), 3);
        // The badge of the collection follows.
        QCOMPARE(f.album->GetCollections().ItemCount(c), 3);
    }
};

QTEST_MAIN(AlbumViewItemsTest)
#include "AlbumViewItemsTest.moc"
