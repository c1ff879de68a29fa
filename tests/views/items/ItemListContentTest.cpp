// The item list's rows, hints, modes and thumbnail requests.
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTreeView>

#include "ItemListFixture.h"
#include "album/Collections.h"
#include "views/items/EmptyListHint.h"
#include "views/items/FadListModel.h"
#include "views/menus/CommandIds.h"

using namespace tessary;
using namespace tessary::test;

namespace {

// The ids of the queue's normal list with repeats after the first occurrence left out.
std::vector<int32_t> FirstOccurrences(const std::vector<int32_t>& ids)
{
    std::vector<int32_t> out;
    std::set<int32_t> seen;
    for (int32_t id : ids)
        if (seen.insert(id).second)
            out.push_back(id);
    return out;
}

bool IsSubsequence(const std::vector<int32_t>& part, const std::vector<int32_t>& whole)
{
    size_t at = 0;
    for (int32_t id : whole)
        if (at < part.size() && part[at] == id)
            ++at;
    return at == part.size();
}

int GreyPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) < 0xF0 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c))
                ++count;
        }
    return count;
}

} // namespace

class ItemListContentTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpItemListTests(); }

    void rowsFollowTheCollectionOrderAndSkipMissingFiles()
    {
        ItemListFixture f;
        Collection& first = f.AddCollection(QStringLiteral("First"), 5, QStringLiteral("A"));
        Collection& second = f.AddCollection(QStringLiteral("Second"), 2, QStringLiteral("B"));
        Item& gone = *first.GetItems().At(1);
        Item& folder = *first.GetItems().At(3);
        QVERIFY(QFile::remove(gone.FirstPhotoPath()));
        // A folder where the photo should be gets no row either.
        QVERIFY(QFile::remove(folder.FirstPhotoPath()));
        QVERIFY(QDir().mkpath(folder.FirstPhotoPath()));

        auto list = f.MakeList();
        QSignalSpy shown(list.get(), &VeFadListCtrlBase::CollectionShown);
        QSignalSpy changed(list.get(), &VeFadListCtrlBase::RowsChanged);
        list->ShowCollection(&first);
        QVERIFY(f.WaitFilled(*list));
        QCOMPARE(f.RowNames(*list), (QStringList{"A 01", "A 03", "A 05"}));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(changed.count(), 0); // a fill is one bulk change
        QCOMPARE(list->RowAt(0).location, QFileInfo(list->RowAt(0).path).path());
        QVERIFY(list->RowAt(0).size > 0);

        // The same collection again changes nothing.
        list->ShowCollection(&first);
        QCOMPARE(shown.count(), 1);

        list->ShowCollection(&f.album->GetCollections().AllCollections());
        QVERIFY(f.WaitFilled(*list));
        QCOMPARE(f.RowNames(*list), (QStringList{"A 01", "A 03", "A 05", "B 01", "B 02"}));
        QCOMPARE(shown.count(), 2);

        // Item ids repeat across collections; every row still has a key of its own.
        QCOMPARE(first.GetItems().At(0)->Id(), second.GetItems().At(0)->Id());
        std::set<int32_t> keys;
        for (int row = 0; row < list->RowCount(); ++row)
            keys.insert(list->RowAt(row).key);
        QCOMPARE(int(keys.size()), list->RowCount());

        // A photo deleted behind the program's back drops out at the next Refresh.
        QVERIFY(QFile::remove(list->RowAt(3).path));
        list->Refresh();
        QVERIFY(f.WaitFilled(*list));
        QCOMPARE(f.RowNames(*list), (QStringList{"A 01", "A 03", "A 05", "B 02"}));
    }

    void aLargeCollectionArrivesInBatchesWhileTheWindowRuns()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("Many"), 3, QStringLiteral("P"));
        // Items beyond the first batch share the photos of the first three.
        const QString base = c.GetItems().At(0)->FirstPhotoPath();
        for (int i = 0; i < 300; ++i) {
            Item* item = c.GetItems().NewItemFromFile(base);
            QVERIFY(item);
        }
        auto list = f.MakeList();
        list->ShowCollection(&c);
        QVERIFY(list->IsFilling());
        QCOMPARE(list->RowCount(), 0);
        QVERIFY(f.WaitFilled(*list));
        QCOMPARE(list->RowCount(), 303);
        // A new row while a fill runs lands after every row of the fill.
        Item* late = c.GetItems().NewItemFromFile(base);
        list->Clear();
        list->ShowCollection(&c);
        QCOMPARE(list->AddRow(late->FirstPhotoPath(), late), 304);
        QVERIFY(!list->IsFilling());
        QCOMPARE(list->RowCount(), 305);
        QCOMPARE(list->RowAt(304).item, late);
        QCoreApplication::processEvents(); // stale batches of the stopped scan are dropped
        QCOMPARE(list->RowCount(), 305);
    }

    void addRowRefusesFoldersAndMissingFiles()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 1, QStringLiteral("P"));
        auto list = f.MakeList();
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        Item* item = c.GetItems().At(0);
        QCOMPARE(list->AddRow(f.dir.path(), item), -1);
        QCOMPARE(list->AddRow(f.dir.filePath(QStringLiteral("nothing.jpg")), item), -1);
        QCOMPARE(list->RowCount(), 1);
    }

    void theTwoHintsAndWhereTheyGo()
    {
        ItemListFixture f;
        Collection& empty = *f.album->GetCollections().Add(QStringLiteral("Holidays"));
        QCOMPARE(EmptyListHintText(&empty),
                 QStringLiteral("Add photos here for \"Holidays\".\n\nYou can:\n\n1) Click \"Add Photos\" on the "
                                "toolbar;\n2) Or, drag photos into this pane."));
        const QString pick = QStringLiteral("Select a collection on the left, then add photos here.");
        QCOMPARE(EmptyListHintText(&f.album->GetCollections().AllCollections()), pick);
        QCOMPARE(EmptyListHintText(nullptr), pick);

        // 400 x 300, text 200 wide: 380 x 288 after the margins, narrowed to 232 around the
        // middle (148 spare), moved left by 12 and down by (288 - 90) / 3.
        const HintPlacement p = PlaceEmptyListHint(QRect(0, 0, 400, 300), 200);
        QCOMPARE(p.block, QRect(QPoint(72, 76), QPoint(303, 297)));
        QCOMPARE(p.text.left(), 104);
        QCOMPARE(p.glyph, QPoint(72, 71));
        // Too narrow for the text: the block keeps the client's width and place.
        const HintPlacement narrow = PlaceEmptyListHint(QRect(0, 0, 100, 80), 200);
        QCOMPARE(narrow.block, QRect(QPoint(10, 10), QPoint(89, 77)));

        // The hint is painted while there are no rows, and only then.
        auto list = f.MakeList();
        list->show();
        list->ShowCollection(&empty);
        QVERIFY(GreyPixels(list->grab().toImage()) > 50);
        Collection& full = f.AddCollection(QStringLiteral("Full"), 1, QStringLiteral("P"));
        list->ShowCollection(&full);
        QVERIFY(f.WaitFilled(*list));
        list->SetViewMode(VeFadListCtrlBase::ViewMode::List);
        const QImage withRows = list->grab().toImage();
        QCOMPARE(GreyPixels(withRows.copy(100, 150, 300, 150)), 0);
    }

    void modesSwitchViewsAndKeepTheSelection()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 4, QStringLiteral("P"));
        auto list = f.MakeList();
        list->show();
        QCOMPARE(list->GetViewMode(), VeFadListCtrlBase::ViewMode::Icons);
        QTRY_COMPARE(list->GetViewMode(), VeFadListCtrlBase::ViewMode::Thumbnails); // posted to itself
        QVERIFY(list->Thumbnails().ThumbnailsOn());
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        list->SelectRows({1, 2});
        QCOMPARE(list->IconView()->viewMode(), QListView::IconMode);
        QCOMPARE(list->IconView()->gridSize().width(), 116);

        list->HandleCommand(cmd::kViewDetails);
        QVERIFY(list->DetailsView()->isVisible());
        QVERIFY(!list->IconView()->isVisible());
        QVERIFY(!list->Thumbnails().ThumbnailsOn());
        QCOMPARE(list->SelectedRows(), (std::vector<int>{1, 2}));
        QCOMPARE(list->DetailsView()->header()->sectionSize(4), 200);
        QCOMPARE(list->DetailsView()->header()->sectionSize(0), 120);
        QCOMPARE(list->Model().headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Location"));

        list->HandleCommand(cmd::kViewList);
        QCOMPARE(list->IconView()->viewMode(), QListView::ListMode);
        QCOMPARE(list->SelectedRows(), (std::vector<int>{1, 2}));
        list->HandleCommand(cmd::kViewIcons);
        QCOMPARE(list->IconView()->viewMode(), QListView::IconMode);
        QCOMPARE(list->IconView()->iconSize(), QSize(32, 32));
        QVERIFY(!list->Model().index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());

        // The info tip: one line per column.
        const QStringList tip = list->Model().index(0, 0).data(Qt::ToolTipRole).toString().split('\n');
        QCOMPARE(tip.size(), 5);
        QCOMPARE(tip[0], QStringLiteral("Name: P 01"));
        QVERIFY(tip[4].startsWith(QStringLiteral("Location: ")));
    }

    void rowsOutsideThumbnailsWaitAndGoAsOneBatchBehindAllRows()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 6, QStringLiteral("P"));
        auto list = f.MakeList(true);
        list->SetViewMode(VeFadListCtrlBase::ViewMode::Details);
        QCoreApplication::processEvents(); // the posted Thumbnails command of a new list
        list->SetViewMode(VeFadListCtrlBase::ViewMode::Details);
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        const std::vector<int32_t> ids = f.RowIds(*list);
        QCOMPARE(list->PendingThumbnails(), ids);
        QVERIFY(list->Thumbnails().Queue().NormalIds().empty());

        list->SetViewMode(VeFadListCtrlBase::ViewMode::Thumbnails);
        QVERIFY(list->PendingThumbnails().empty());
        const std::vector<int32_t> queued = list->Thumbnails().Queue().NormalIds();
        // All rows in display order ahead of the pending batch (one may have been taken).
        QVERIFY(queued.size() >= 2 * ids.size() - 1);
        QVERIFY(IsSubsequence(std::vector<int32_t>(ids.begin() + 1, ids.end()), queued));
        QCOMPARE(FirstOccurrences(queued).size(), ids.size() - (queued.size() < 2 * ids.size() ? 1 : 0));

        // Made once: after everything is done, switching modes makes nothing again.
        list->Thumbnails().PauseWorkers(false);
        QTRY_COMPARE(list->Thumbnails().GetCounters().made, int64_t(ids.size()));
        list->SetViewMode(VeFadListCtrlBase::ViewMode::Icons);
        list->SetViewMode(VeFadListCtrlBase::ViewMode::Thumbnails);
        QTRY_VERIFY(list->Thumbnails().Queue().NormalIds().empty());
        QTest::qWait(50);
        QCOMPARE(list->Thumbnails().GetCounters().made, int64_t(ids.size()));
        for (int row = 0; row < list->RowCount(); ++row)
            QVERIFY(list->Thumbnails().ThumbIndex(list->RowAt(row).key) >= 0);
    }

    void scrollingRequestsTheVisibleRowsAheadOfTheBacklog()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 2, QStringLiteral("P"));
        for (int i = 0; i < 58; ++i)
            c.GetItems().NewItemFromFile(c.GetItems().At(i % 2)->FirstPhotoPath());
        auto list = f.MakeList(true);
        list->show();
        QTRY_COMPARE(list->GetViewMode(), VeFadListCtrlBase::ViewMode::Thumbnails);
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        QScrollBar* bar = list->IconView()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
        const auto [first, last] = list->VisibleRows();
        QVERIFY(first > 0);
        QCOMPARE(last, list->RowCount() - 1);
        std::vector<int32_t> visible;
        for (int row = first; row <= last; ++row)
            visible.push_back(list->RowAt(row).key);
        const std::vector<int32_t> queued = list->Thumbnails().Queue().NormalIds();
        QVERIFY(queued.size() > visible.size());
        QCOMPARE(std::vector<int32_t>(queued.begin(), queued.begin() + long(visible.size())), visible);

        // The wheel asks again for what is on screen then.
        bar->setValue(0);
        QCoreApplication::processEvents();
        QCOMPARE(list->Thumbnails().Queue().NormalIds().front(), list->RowAt(0).key);
    }

    void aHugeListKeepsItsThumbnailsWithinTheBudgetAndRemakesThoseScrolledBackTo()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 3, QStringLiteral("P"));
        for (int i = 0; i < 237; ++i)
            c.GetItems().NewItemFromFile(c.GetItems().At(i % 3)->FirstPhotoPath());
        auto list = f.MakeList();
        list->SetThumbnailBudget(40);
        list->show();
        QTRY_COMPARE(list->GetViewMode(), VeFadListCtrlBase::ViewMode::Thumbnails);
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        QScrollBar* bar = list->IconView()->verticalScrollBar();
        bar->setValue(bar->maximum());
        ThumbnailList& thumbs = list->Thumbnails();
        QTRY_VERIFY_WITH_TIMEOUT(thumbs.GetCounters().made >= 240, 20000);
        QCoreApplication::processEvents();
        QVERIFY2(thumbs.ThumbnailCount() <= 45, qPrintable(QString::number(thumbs.ThumbnailCount())));
        const auto onScreenHaveCells = [&] {
            const auto [first, last] = list->VisibleRows();
            for (int row = first; row <= last; ++row)
                if (thumbs.ThumbIndex(list->RowAt(row).key) < 0)
                    return false;
            return first >= 0;
        };
        QVERIFY(onScreenHaveCells());

        // The first rows were given up; scrolled back to, they are made again.
        QCOMPARE(thumbs.ThumbIndex(list->RowAt(0).key), -1);
        const int64_t made = thumbs.GetCounters().made;
        const int cells = thumbs.ImageCount();
        bar->setValue(0);
        QTRY_VERIFY(onScreenHaveCells());
        QVERIFY(thumbs.GetCounters().made > made);
        QCOMPARE(thumbs.ImageCount(), cells); // into given-up slots
        // And the cell painted for a row is that row's photo, not the slot's earlier one.
        for (int row : {0, 1, 2}) {
            QImage expected = list->CellPixmap(row).toImage();
            ThumbnailList fresh(nullptr, f.store, f.dir.filePath(QStringLiteral("tmp2")), 1);
            QVERIFY(fresh.Reset(4));
            fresh.Request({list->RowAt(row).key, list->RowAt(row).path});
            QTRY_VERIFY(fresh.ThumbIndex(list->RowAt(row).key) >= 0);
            QCOMPARE(fresh.Image(fresh.ThumbIndex(list->RowAt(row).key)).convertToFormat(expected.format()), expected);
        }
    }

    void thumbnailsArriveAndRowsWithoutOneShowThePlaceholder()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 2, QStringLiteral("P"));
        // A damaged photo: a JPEG name on bytes that are none.
        Item* bad = c.GetItems().NewItemFromFile(c.GetItems().At(0)->FirstPhotoPath());
        QVERIFY(WriteFile(bad->FirstPhotoPath(), QByteArray("\xFF\xD8\xFF garbage", 12)));
        auto list = f.MakeList();
        list->show();
        QTRY_COMPARE(list->GetViewMode(), VeFadListCtrlBase::ViewMode::Thumbnails);
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        QTRY_COMPARE(list->Thumbnails().GetCounters().made, int64_t(2));
        QTRY_VERIFY(list->Thumbnails().GetCounters().failed >= 1);
        const QImage good = list->CellPixmap(0).toImage();
        const QImage placeholder = list->CellPixmap(2).toImage();
        QCOMPARE(good.size(), QSize(96, 96));
        QCOMPARE(placeholder.size(), QSize(96, 96));
        QVERIFY(good != placeholder);
        QCOMPARE(list->Thumbnails().ThumbIndex(FadRowKey(*bad)), -1);
        // Other modes draw no cells.
        list->SetViewMode(VeFadListCtrlBase::ViewMode::Icons);
        QVERIFY(list->CellPixmap(0).isNull());
    }
};

QTEST_MAIN(ItemListContentTest)
#include "ItemListContentTest.moc"
