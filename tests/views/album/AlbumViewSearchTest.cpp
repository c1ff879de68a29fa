// The album view's wiring of the search: the box's text decides the middle page and fills
// the results after every keystroke, the collections pane sets the scope, Hide Search Results
// and clicks on collections end the search, and the results drive the right stack.
#include <QSignalSpy>
#include <QtTest>

#include "album/Collections.h"
#include "app/Settings.h"
#include "views/album/CollectionRow.h"
#include "views/album/VeAlbumViewBase.h"
#include "views/album/VeCollectionsPane.h"
#include "views/details/VeFadDetailsCtrlBase.h"
#include "views/frame/WTL_PageStack.h"
#include "views/items/ItemListFixture.h"
#include "views/menus/CommandIds.h"
#include "views/results/ResultRow.h"
#include "views/results/SearchResultsPage.h"
#include "views/results/VeSRBannerCtrlBase.h"
#include "views/results/VeSearchResultsCtrlBase.h"
#include "views/search/VeSearchBoxCtrlBase.h"

using namespace tessary;
using namespace tessary::test;

namespace {

QStringList ResultNames(VeSearchResultsCtrlBase& results)
{
    QStringList names;
    for (int i = 0; i < results.RowCount(); ++i)
        names << results.ItemAt(i)->Name();
    return names;
}

// A window with a search box over an album page, as the main view lays them out.
struct SearchWindow {
    explicit SearchWindow(ItemListFixture& f)
    {
        window.resize(900, 640);
        box = new VeSearchBoxCtrlBase(&window);
        box->setGeometry(560, 10, 316, 22);
        view = new VeAlbumViewBase(&window);
        view->setGeometry(0, 43, 900, 597);
        view->SetPrompts(&f.prompts);
        view->SetSearchBox(box);
        window.show();
        window.activateWindow();
        view->SetAlbum(f.album.get());
    }
    ~SearchWindow()
    {
        view->Clear();
        view->SetSearchBox(nullptr);
    }
    bool Type(const QString& text)
    {
        box->Activate();
        if (!QTest::qWaitFor([this] { return box->Edit().hasFocus(); }, 2000))
            return false;
        QTest::keyClicks(&box->Edit(), text);
        return true;
    }
    void SelectCollection(int index)
    {
        VeCollectionsPane& pane = view->CollectionsPane();
        pane.SelectOnly(pane.CollectionRowAt(index), false);
        pane.Select(pane.CollectionRowAt(index), true, true);
    }
    VeSearchResultsCtrlBase& Results() { return view->SearchResults(); }
    int MiddlePage() { return view->MiddleStack().ActiveIndex(); }

    QWidget window;
    VeSearchBoxCtrlBase* box;
    VeAlbumViewBase* view;
};

} // namespace

class AlbumViewSearchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        SetUpItemListTests();
        Settings::Instance().autoSuggest = false; // no fly-out over the tests
    }

    void everyKeystrokeSearchesAndShowsTheResults()
    {
        ItemListFixture f;
        f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("Bay"));
        f.AddCollection(QStringLiteral("Town"), 2, QStringLiteral("Bakery"));
        SearchWindow w(f);
        QCOMPARE(w.box->Scope(), &f.album->GetCollections().AllCollections());
        QCOMPARE(w.view->ResultsPage().Banner().Scope(), w.box->Scope());

        QVERIFY(w.Type(QStringLiteral("b")));
        QCOMPARE(w.MiddlePage(), VeAlbumViewBase::kSearchResultsPage);
        QCOMPARE(w.Results().RowCount(), 5);
        QTest::keyClicks(&w.box->Edit(), QStringLiteral("ay"));
        QCOMPARE(ResultNames(w.Results()), (QStringList{"Bay 01", "Bay 02", "Bay 03"}));
        QTest::keyClicks(&w.box->Edit(), QStringLiteral(" 02"));
        QCOMPARE(ResultNames(w.Results()), QStringList{"Bay 02"});
        QTest::keyClick(&w.box->Edit(), Qt::Key_Z);
        QCOMPARE(w.Results().RowCount(), 0); // the empty state, still on the results page
        QCOMPARE(w.MiddlePage(), VeAlbumViewBase::kSearchResultsPage);
        QCOMPARE(w.view->RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsHintPage);

        // Backspace to nothing: the item list again.
        for (int i = 0; i < 7; ++i)
            QTest::keyClick(&w.box->Edit(), Qt::Key_Backspace);
        QCOMPARE(w.box->GetText(), QString());
        QCOMPARE(w.MiddlePage(), VeAlbumViewBase::kItemListPage);
        QCOMPARE(w.Results().RowCount(), 0);
    }

    void escapeEmptiesTheSearch()
    {
        ItemListFixture f;
        f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("Bay"));
        SearchWindow w(f);
        QVERIFY(w.Type(QStringLiteral("bay")));
        QCOMPARE(w.Results().RowCount(), 3);
        QTest::keyClick(&w.box->Edit(), Qt::Key_Escape);
        QCOMPARE(w.box->GetText(), QString());
        QCOMPARE(w.Results().RowCount(), 0);
        QCOMPARE(w.MiddlePage(), VeAlbumViewBase::kItemListPage);
    }

    void hideSearchResultsAndCollectionClicksEndTheSearch()
    {
        ItemListFixture f;
        f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("Bay"));
        SearchWindow w(f);
        QVERIFY(w.Type(QStringLiteral("bay")));
        QVERIFY(w.view->HandleCommand(cmd::kHideSearchResults));
        QCOMPARE(w.box->GetText(), QString());
        QCOMPARE(w.MiddlePage(), VeAlbumViewBase::kItemListPage);

        // A click on the collection that is selected already.
        QVERIFY(w.Type(QStringLiteral("bay")));
        QCOMPARE(w.MiddlePage(), VeAlbumViewBase::kSearchResultsPage);
        VeCollectionsPane& pane = w.view->CollectionsPane();
        const QRect all = pane.RowRect(pane.CollectionRowAt(0));
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, all.center());
        QTRY_COMPARE(w.box->GetText(), QString());
        QCOMPARE(w.MiddlePage(), VeAlbumViewBase::kItemListPage);
        QCOMPARE(w.Results().RowCount(), 0);
    }

    void aNewCollectionIsTheNewScope()
    {
        ItemListFixture f;
        Collection& beach = f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("Bay"));
        f.AddCollection(QStringLiteral("Town"), 2, QStringLiteral("Bakery"));
        SearchWindow w(f);
        QVERIFY(w.Type(QStringLiteral("ba")));
        QCOMPARE(w.Results().RowCount(), 5);
        w.SelectCollection(1);
        QCOMPARE(w.box->Scope(), &beach);
        QCOMPARE(w.Results().Scope(), &beach);
        QCOMPARE(w.view->ResultsPage().Banner().Scope(), &beach);
        QCOMPARE(w.box->GetText(), QString());
        QCOMPARE(w.MiddlePage(), VeAlbumViewBase::kItemListPage);
        QVERIFY(w.Type(QStringLiteral("ba")));
        QCOMPARE(ResultNames(w.Results()), (QStringList{"Bay 01", "Bay 02", "Bay 03"}));
    }

    void theResultsSelectionDrivesTheDetails()
    {
        ItemListFixture f;
        Collection& beach = f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("Bay"));
        SearchWindow w(f);
        QVERIFY(w.Type(QStringLiteral("bay")));
        VeSearchResultsCtrlBase& results = w.Results();
        QVERIFY(results.Select(results.ResultRowAt(1), true, true));
        QCOMPARE(w.view->RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsPage);
        QCOMPARE(w.view->DetailsPane().ShownItem(), beach.GetItems().At(1));
        results.RunCommand(cmd::kResultSelectAll);
        QCOMPARE(w.view->RightStack().ActiveIndex(), VeAlbumViewBase::kDetailsHintPage);
    }

    void deletingAResultTakesItOutOfTheItemListToo()
    {
        ItemListFixture f;
        Collection& beach = f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("Bay"));
        SearchWindow w(f);
        w.SelectCollection(1);
        VeFadListCtrlBase& list = *w.view->ItemList();
        QVERIFY(f.WaitFilled(list));
        QCOMPARE(list.RowCount(), 3);
        QVERIFY(w.Type(QStringLiteral("bay 02")));
        VeSearchResultsCtrlBase& results = w.Results();
        QCOMPARE(results.RowCount(), 1);
        results.Select(results.ResultRowAt(0), true, true);
        QCOMPARE(w.view->DetailsPane().ShownItem(), beach.GetItems().At(1));
        f.prompts.answers = {QMessageBox::Yes};
        QVERIFY(results.DeleteSelected());
        QCOMPARE(beach.GetItems().Count(), 2);
        QCOMPARE(list.RowCount(), 2);
        QCOMPARE(w.view->DetailsPane().ShownItem(), nullptr);
        QTest::keyClick(&w.box->Edit(), Qt::Key_Escape);
        QCOMPARE(f.RowNames(list), (QStringList{"Bay 01", "Bay 03"}));
    }

    void deletingFromTheCommandBarWhileResultsShowSearchesAgain()
    {
        ItemListFixture f;
        Collection& beach = f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("Bay"));
        SearchWindow w(f);
        w.SelectCollection(1);
        VeFadListCtrlBase& list = *w.view->ItemList();
        QVERIFY(f.WaitFilled(list));
        list.SelectRows({0, 1});
        QVERIFY(w.Type(QStringLiteral("bay")));
        VeSearchResultsCtrlBase& results = w.Results();
        QCOMPARE(results.RowCount(), 3);
        results.Select(results.ResultRowAt(0), true, true);
        QCOMPARE(w.view->DetailsPane().ShownItem(), beach.GetItems().At(0));
        // "Delete Selected Photos" acts on the item list's selection, hidden behind the results.
        f.prompts.answers = {QMessageBox::Yes};
        QVERIFY(list.DeleteSelected());
        QCOMPARE(beach.GetItems().Count(), 1);
        QCOMPARE(ResultNames(results), QStringList{"Bay 03"});
        QCOMPARE(w.view->DetailsPane().ShownItem(), nullptr);
        results.repaint();
        w.view->DetailsPane().repaint();
    }

    void deletingACollectionDropsItsResults()
    {
        ItemListFixture f;
        f.AddCollection(QStringLiteral("Beach"), 3, QStringLiteral("Bay"));
        f.AddCollection(QStringLiteral("Town"), 2, QStringLiteral("Bakery"));
        SearchWindow w(f);
        QVERIFY(w.Type(QStringLiteral("ba")));
        QCOMPARE(w.Results().RowCount(), 5);
        // The pane's Delete acts on its selected collection; select it without a click.
        w.SelectCollection(2);
        f.prompts.answers = {QMessageBox::Yes};
        QVERIFY(w.view->CollectionsPane().DeleteSelected());
        QCOMPARE(w.Results().RowCount(), 0);
        // The neighbour above is selected: it is the new scope, and no row of the old one is left.
        QCOMPARE(w.box->Scope(), f.album->GetCollections().At(0));
        QVERIFY(w.Type(QStringLiteral("ba")));
        QCOMPARE(ResultNames(w.Results()), (QStringList{"Bay 01", "Bay 02", "Bay 03"}));
        w.Results().repaint();
    }
};

QTEST_MAIN(AlbumViewSearchTest)
#include "AlbumViewSearchTest.moc"
