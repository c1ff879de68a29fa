// The results list: searching on each change of the text, lazily built texts, the scope,
// the context menu's enabling, delete with its questions, rename in place; and the banner.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "../PhotoFixtures.h"
#include "../ViewsTestSupport.h"
#include "album/Album.h"
#include "album/Collections.h"
#include "album/Items.h"
#include "album/PhotoOperations.h"
#include "search/SearchEngine.h"
#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/results/ResultRow.h"
#include "views/results/VeSRBannerCtrlBase.h"
#include "views/results/VeSearchResultsCtrlBase.h"

using namespace tessary;

namespace {

QStringList Names(const VeSearchResultsCtrlBase& list)
{
    QStringList names;
    for (int i = 0; i < list.RowCount(); ++i)
        names << list.ItemAt(i)->Name();
    return names;
}

bool Enabled(QMenu& menu, int id)
{
    QAction* a = FindAction(menu, id);
    return a && a->isEnabled();
}

} // namespace

class SearchResultsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Album> album;
    Collection* beach = nullptr;
    Collection* town = nullptr;
    test::ScriptedPrompts prompts;
    SearchEngine engine;

    std::unique_ptr<VeSearchResultsCtrlBase> MakeList(const Collection* scope)
    {
        auto list = std::make_unique<VeSearchResultsCtrlBase>(prompts, engine);
        list->resize(360, 300);
        list->SetScope(scope);
        return list;
    }

private slots:
    void initTestCase()
    {
        RegisterInterfaceFonts();
        qRegisterMetaType<const Item*>();
    }

    void init()
    {
        prompts = test::ScriptedPrompts();
        dir = std::make_unique<QTemporaryDir>(); // the photo files of each case go with it
        album = std::make_unique<Album>(dir->filePath(QStringLiteral("album")), QStringLiteral("Trips"));
        album->SetAlbumId(1);
        QDir().mkpath(album->Folder());
        beach = album->GetCollections().Add(QStringLiteral("Beach"));
        town = album->GetCollections().Add(QStringLiteral("Old Town"));
        const QStringList files = test::WriteScenes(dir->filePath(QStringLiteral("src")), 4, QStringLiteral("Bay"), 32, 24);
        AddPathList(*beach, files); // "Bay 01" .. "Bay 04", with files
        beach->GetItems().Add(QStringLiteral("Beach bar"), 100);
        beach->GetItems().Add(QStringLiteral("Sunset"), 101);
        town->GetItems().Add(QStringLiteral("Bakery"), 1);
        town->GetItems().Add(QStringLiteral("Market"), 2);
        Tag* place = beach->GetTags().Add(QStringLiteral("Place"));
        beach->GetItems().At(5)->SetTagValue(place->Id(), QStringLiteral("Bay of fires"));
    }

    void cleanup()
    {
        engine.Reset();
        album.reset();
        dir.reset();
    }

    // ---- searching ---------------------------------------------------------------------------

    void everyChangeOfTheTextSearchesAgain()
    {
        auto list = MakeList(&album->GetCollections().AllCollections());
        QSignalSpy filled(list.get(), &VeSearchResultsCtrlBase::Filled);
        list->SearchFor(QStringLiteral("b"));
        QCOMPARE(Names(*list), (QStringList{"Bay 01", "Bay 02", "Bay 03", "Bay 04", "Beach bar", "Sunset", "Bakery"}));
        list->SearchFor(QStringLiteral("be"));
        QCOMPARE(Names(*list), QStringList{"Beach bar"});
        list->SearchFor(QStringLiteral("bez"));
        QCOMPARE(list->RowCount(), 0);
        QCOMPARE(filled.count(), 3); // a search that finds nothing still fills (with no rows)
        list->SearchFor(QString());
        QCOMPARE(list->RowCount(), 0);
        QCOMPARE(filled.count(), 3); // an empty text does not search
    }

    void aRealCollectionLimitsTheSearch()
    {
        auto list = MakeList(town);
        list->SearchFor(QStringLiteral("b"));
        QCOMPARE(Names(*list), QStringList{"Bakery"});
    }

    void withoutAScopeNothingIsSearched()
    {
        auto list = MakeList(nullptr);
        QSignalSpy filled(list.get(), &VeSearchResultsCtrlBase::Filled);
        list->SearchFor(QStringLiteral("b"));
        QCOMPARE(list->RowCount(), 0);
        QCOMPARE(filled.count(), 0);
    }

    void oddTextGivesResultsOrTheEmptyState_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("unbalanced quote") << QStringLiteral("\"bay");
        QTest::newRow("lone colon") << QStringLiteral(":");
        QTest::newRow("lone equals") << QStringLiteral(":=");
        QTest::newRow("field without value") << QStringLiteral("place:");
        QTest::newRow("control characters") << QString::fromUtf16(u"b\u0001\u0007\u001b");
        QTest::newRow("emoji") << QString::fromUtf16(u"\U0001F3D6 bay");
        QTest::newRow("lone surrogate") << QString(QChar(0xD83C));
        QTest::newRow("line breaks") << QStringLiteral("bay\n01\r\nplace:fires");
        QTest::newRow("very long") << QString(20000, QLatin1Char('b'));
        QTest::newRow("quotes only") << QStringLiteral("\"\"\"");
    }

    void oddTextGivesResultsOrTheEmptyState()
    {
        QFETCH(QString, text);
        auto list = MakeList(&album->GetCollections().AllCollections());
        list->show();
        list->SearchFor(text);
        QVERIFY(list->RowCount() >= 0 && list->RowCount() <= 8);
        const QImage shot = list->grab().toImage(); // paints rows or the empty state
        QVERIFY(!shot.isNull());
    }

    void theEmptyStateIsPaintedWithoutRows()
    {
        auto list = MakeList(beach);
        list->show();
        list->SearchFor(QStringLiteral("nothing like this"));
        const QImage shot = list->grab().toImage();
        // Grey text in the top band, white below it.
        bool grey = false;
        for (int y = 0; y < VeSearchResultsCtrlBase::kRowHeight && !grey; ++y)
            for (int x = 0; x < shot.width() && !grey; ++x)
                grey = qGray(shot.pixel(x, y)) < 230;
        QVERIFY(grey);
        for (int x = 0; x < shot.width(); x += 7)
            QCOMPARE(shot.pixel(x, 120), qRgb(255, 255, 255));
    }

    void textsAreBuiltOnlyForPaintedRows()
    {
        for (int i = 0; i < 300; ++i)
            beach->GetItems().Add(QStringLiteral("Bay extra %1").arg(i), 200 + i);
        auto list = MakeList(beach);
        list->resize(360, 5 * VeSearchResultsCtrlBase::kRowHeight);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        list->SearchFor(QStringLiteral("bay"));
        QCOMPARE(list->RowCount(), 305);
        list->repaint();
        auto built = [&] {
            int n = 0;
            for (int i = 0; i < list->RowCount(); ++i)
                n += list->ResultRowAt(i)->HasTexts() ? 1 : 0;
            return n;
        };
        QVERIFY(built() >= 5);
        QVERIFY(built() <= 6);
        QVERIFY(list->ResultRowAt(0)->HasTexts());
        QVERIFY(!list->ResultRowAt(200)->HasTexts());
        // The highlight covers the match.
        QVERIFY(list->ResultRowAt(0)->Result().nameMarkup.contains(QStringLiteral("<color")));
    }

    void refreshDropsTheTextsOfOneRowOrOfAll()
    {
        auto list = MakeList(beach);
        list->SearchFor(QStringLiteral("bay"));
        for (int i = 0; i < list->RowCount(); ++i)
            engine.BuildResultTexts(list->ResultRowAt(i)->Result());
        list->RefreshItem(list->ItemAt(1));
        QVERIFY(list->ResultRowAt(0)->HasTexts());
        QVERIFY(!list->ResultRowAt(1)->HasTexts());
        list->RefreshItem(nullptr);
        for (int i = 0; i < list->RowCount(); ++i)
            QVERIFY(!list->ResultRowAt(i)->HasTexts());
    }

    void aNewScopeEmptiesTheListAndTheSameScopeKeepsIt()
    {
        auto list = MakeList(beach);
        list->SearchFor(QStringLiteral("bay"));
        QCOMPARE(list->RowCount(), 5);
        list->SetScope(beach);
        QCOMPARE(list->RowCount(), 5);
        list->SetScope(town);
        QCOMPARE(list->RowCount(), 0);
        QCOMPARE(engine.Scope(), nullptr);
        QCOMPARE(list->Scope(), town);
    }

    // ---- the context menu --------------------------------------------------------------------

    void theMenuFollowsTheSelection()
    {
        auto list = MakeList(beach);
        list->SearchFor(QStringLiteral("bay"));
        {
            auto menu = list->ContextMenu();
            QVERIFY(!Enabled(*menu, cmd::kAddToCombination));
            QVERIFY(!Enabled(*menu, cmd::kDelete));
            QVERIFY(!Enabled(*menu, cmd::kResultRename));
            QVERIFY(Enabled(*menu, cmd::kResultSelectAll));
            QVERIFY(Enabled(*menu, cmd::kResultSelectInverse));
        }
        list->Select(list->ResultRowAt(2), true, false);
        {
            auto menu = list->ContextMenu();
            QVERIFY(Enabled(*menu, cmd::kAddToCombination));
            QVERIFY(Enabled(*menu, cmd::kDelete));
            QVERIFY(Enabled(*menu, cmd::kResultRename));
        }
        QVERIFY(list->RunCommand(cmd::kResultSelectInverse));
        QCOMPARE(list->SelectedCount(), 4);
        {
            auto menu = list->ContextMenu();
            QVERIFY(!Enabled(*menu, cmd::kResultRename));
            QVERIFY(Enabled(*menu, cmd::kDelete));
        }
        QVERIFY(list->RunCommand(cmd::kResultSelectAll));
        QCOMPARE(list->SelectedCount(), 5);
        // Add to Combination is there and does nothing.
        QVERIFY(!list->RunCommand(cmd::kAddToCombination));
        QCOMPARE(list->RowCount(), 5);
        QCOMPARE(beach->GetItems().Count(), 6);
    }

    void theMenuOpensOnlyWithRows()
    {
        auto list = MakeList(beach);
        list->show();
        list->SearchFor(QStringLiteral("nothing"));
        // With no rows a right click opens nothing (a menu would block this test).
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QCOMPARE(list->SelectedCount(), 0);
    }

    // ---- delete ------------------------------------------------------------------------------

    void deleteAsksAboutOneItemByName()
    {
        auto list = MakeList(beach);
        list->SearchFor(QStringLiteral("bay"));
        list->Select(list->ResultRowAt(0), true, false);
        const QString path = list->ItemAt(0)->FirstPhotoPath();
        QVERIFY(QFileInfo::exists(path));
        QSignalSpy before(list.get(), &VeSearchResultsCtrlBase::ItemAboutToBeDeleted);
        QSignalSpy after(list.get(), &VeSearchResultsCtrlBase::ItemsDeleted);

        prompts.answers = {QMessageBox::No};
        QVERIFY(!list->DeleteSelected());
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Are you sure you want to delete \"Bay 01\"?"));
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Confirm Item Delete"));
        QCOMPARE(prompts.asked[0].defaultButton, QMessageBox::No);
        QCOMPARE(list->RowCount(), 5);
        QCOMPARE(before.count(), 0);

        prompts.answers = {QMessageBox::Yes};
        QVERIFY(list->DeleteSelected());
        QCOMPARE(before.count(), 1);
        QCOMPARE(after.count(), 1);
        QCOMPARE(Names(*list), (QStringList{"Bay 02", "Bay 03", "Bay 04", "Sunset"}));
        QCOMPARE(beach->GetItems().Count(), 5);
        QVERIFY(!QFileInfo::exists(path));
    }

    void deleteAsksAboutSeveralByCountAndTellsEachItem()
    {
        auto list = MakeList(&album->GetCollections().AllCollections());
        list->SearchFor(QStringLiteral("ba"));
        QCOMPARE(Names(*list), (QStringList{"Bay 01", "Bay 02", "Bay 03", "Bay 04", "Beach bar", "Sunset", "Bakery"}));
        list->Select(list->ResultRowAt(1), true, false);
        list->RunCommand(cmd::kResultSelectInverse);
        list->Select(list->ResultRowAt(0), false, false);
        list->Select(list->ResultRowAt(2), false, false);
        list->Select(list->ResultRowAt(5), false, false);
        QCOMPARE(list->SelectedCount(), 3); // Bay 04, Beach bar, Bakery
        QSignalSpy before(list.get(), &VeSearchResultsCtrlBase::ItemAboutToBeDeleted);
        // The names while the items still exist (the spy keeps only pointers).
        QStringList told;
        connect(list.get(), &VeSearchResultsCtrlBase::ItemAboutToBeDeleted, this,
                [&told](const Item* item) { told << item->Name(); });
        prompts.answers = {QMessageBox::Yes};
        QVERIFY(list->DeleteSelected());
        QCOMPARE(prompts.asked.back().text, QStringLiteral("Are you sure you want to delete these 3 items?"));
        QCOMPARE(prompts.asked.back().caption, QStringLiteral("Confirm Multiple Item Delete"));
        QCOMPARE(before.count(), 3);
        // From the last row to the first.
        QCOMPARE(told.value(0), QStringLiteral("Bakery"));
        QCOMPARE(Names(*list), (QStringList{"Bay 01", "Bay 02", "Bay 03", "Sunset"}));
        QCOMPARE(town->GetItems().Count(), 1);
        QCOMPARE(beach->GetItems().Count(), 4);
    }

    // ---- rename ------------------------------------------------------------------------------

    void renameTakesTheTrimmedNameOnEnter()
    {
        auto list = MakeList(beach);
        list->show();
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
        list->SearchFor(QStringLiteral("bay"));
        list->Select(list->ResultRowAt(1), true, false);
        QSignalSpy renamed(list.get(), &VeSearchResultsCtrlBase::ItemRenamed);
        QVERIFY(list->StartRename());
        VeCellEdit& editor = list->RenameEditor();
        QVERIFY(editor.isVisible());
        QCOMPARE(editor.text(), QStringLiteral("Bay 02"));
        QTRY_VERIFY(editor.hasFocus());
        QCOMPARE(editor.selectedText(), QStringLiteral("Bay 02"));
        QTest::keyClicks(&editor, QStringLiteral("  Harbour  "));
        QTest::keyClick(&editor, Qt::Key_Return);
        QTRY_VERIFY(!editor.isVisible());
        QCOMPARE(beach->GetItems().At(1)->Name(), QStringLiteral("Harbour"));
        QCOMPARE(renamed.count(), 1);
        QVERIFY(!list->ResultRowAt(1)->HasTexts() || list->ResultRowAt(1)->Result().nameMarkup.contains("Harbour"));
    }

    void renameToTheSameNameOrBlanksOrCancelledChangesNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::newRow("same name") << QStringLiteral("Bay 02") << int(Qt::Key_Return);
        QTest::newRow("same name with blanks") << QStringLiteral(" Bay 02 ") << int(Qt::Key_Return);
        QTest::newRow("blanks only") << QStringLiteral("   ") << int(Qt::Key_Return);
        QTest::newRow("escape") << QStringLiteral("Other") << int(Qt::Key_Escape);
    }

    void renameToTheSameNameOrBlanksOrCancelledChangesNothing()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        auto list = MakeList(beach);
        list->show();
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
        list->SearchFor(QStringLiteral("bay"));
        list->Select(list->ResultRowAt(1), true, false);
        QSignalSpy renamed(list.get(), &VeSearchResultsCtrlBase::ItemRenamed);
        QVERIFY(list->StartRename());
        VeCellEdit& editor = list->RenameEditor();
        QTRY_VERIFY(editor.hasFocus());
        editor.selectAll();
        QTest::keyClicks(&editor, typed);
        QTest::keyClick(&editor, Qt::Key(key));
        QTRY_VERIFY(!editor.isVisible());
        QCOMPARE(beach->GetItems().At(1)->Name(), QStringLiteral("Bay 02"));
        QCOMPARE(renamed.count(), 0);
    }

    void renameEndsWhenTheFocusMovesAway()
    {
        auto list = MakeList(beach);
        QWidget other;
        other.setFocusPolicy(Qt::StrongFocus);
        list->show();
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
        list->SearchFor(QStringLiteral("bay"));
        list->Select(list->ResultRowAt(3), true, false);
        QVERIFY(list->StartRename());
        VeCellEdit& editor = list->RenameEditor();
        QTRY_VERIFY(editor.hasFocus());
        QTest::keyClicks(&editor, QStringLiteral("Lighthouse"));
        list->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(!editor.isVisible());
        QCOMPARE(beach->GetItems().At(3)->Name(), QStringLiteral("Lighthouse"));
    }

    void renameNeedsExactlyOneSelectedRow()
    {
        auto list = MakeList(beach);
        list->SearchFor(QStringLiteral("bay"));
        QVERIFY(!list->StartRename());
        list->RunCommand(cmd::kResultSelectAll);
        QVERIFY(!list->StartRename());
    }

    // ---- banner ------------------------------------------------------------------------------

    void theBannerTitleNamesTheScope()
    {
        QCOMPARE(VeSRBannerCtrlBase::TitleFor(beach), QStringLiteral("Beach Collection"));
        town->SetName(QStringLiteral("Stamp COLLECTION"));
        QCOMPARE(VeSRBannerCtrlBase::TitleFor(town), QStringLiteral("Stamp COLLECTION"));
        QCOMPARE(VeSRBannerCtrlBase::TitleFor(&album->GetCollections().AllCollections()),
                 QStringLiteral("All Collections"));
        QCOMPARE(VeSRBannerCtrlBase::TitleFor(nullptr), QStringLiteral("Unknown Collection"));
    }

    void theBannerRuleFadesAtBothEnds()
    {
        VeSRBannerCtrlBase banner;
        banner.resize(300, VeSRBannerCtrlBase::kHeight);
        banner.SetScope(beach);
        const QImage shot = banner.grab().toImage();
        const int y = VeSRBannerCtrlBase::kRuleTop;
        QCOMPARE(shot.pixel(150, y), qRgb(211, 221, 241));
        QCOMPARE(shot.pixel(5, y), qRgb(255, 255, 255));
        const QRgb nearEnd = shot.pixel(VeSRBannerCtrlBase::kInset + 3, y);
        QVERIFY(qRed(nearEnd) > 211); // still fading in
        QCOMPARE(shot.pixel(150, y + 1), qRgb(255, 255, 255));
    }
};

QTEST_MAIN(SearchResultsTest)
#include "SearchResultsTest.moc"
