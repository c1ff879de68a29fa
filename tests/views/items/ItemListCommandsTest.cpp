// The item list's commands: arranging and sorting, rename, selection, delete, send to folder,
// paste and drop (with their refusals), the viewer entry and the context menu.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTreeView>
#include <QUrl>

#include "ItemListFixture.h"
#include "album/Collections.h"
#include "views/items/FadListModel.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"

using namespace tessary;
using namespace tessary::test;

namespace {

std::unique_ptr<QMimeData> UriList(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

// A real drop of `data` onto the list's viewport, as a file manager's drag ends.
bool Drop(VeFadListCtrlBase& list, const QMimeData& data)
{
    QWidget* target = list.ActiveView()->viewport();
    const QPointF at(20, 20);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

class ItemListCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpItemListTests(); }

    void arrangeByNameIsCodeUnitOrderAndByDateOldestFirst()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 4, QStringLiteral("P"));
        const QString names[] = {QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("a"), QStringLiteral("Ä")};
        for (int i = 0; i < 4; ++i) {
            c.GetItems().At(i)->SetName(names[i]);
            DateTime added;
            QVERIFY(added.Parse(QStringLiteral("2024-05-0%1 12:00:00.000").arg(4 - i)));
            c.GetItems().At(i)->SetDateAdded(added);
        }
        auto list = f.MakeList();
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        list->SelectRows({0}); // "b"
        list->HandleCommand(cmd::kArrangeByName);
        QCOMPARE(f.RowNames(*list), (QStringList{"B", "a", "b", "Ä"}));
        QCOMPARE(list->SelectedItems().front()->Name(), QStringLiteral("b")); // the selection follows
        list->HandleCommand(cmd::kArrangeByDateAdded);
        QCOMPARE(f.RowNames(*list), (QStringList{"Ä", "a", "B", "b"}));
        // The album's own order is untouched.
        QCOMPARE(c.GetItems().At(0)->Name(), QStringLiteral("b"));
    }

    void headerClicksSortAscendingThenDescending()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 3, QStringLiteral("P"));
        c.GetItems().At(0)->SetName(QStringLiteral("photo 10"));
        c.GetItems().At(1)->SetName(QStringLiteral("photo 9"));
        c.GetItems().At(2)->SetName(QStringLiteral("Photo 1"));
        auto list = f.MakeList();
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        list->SetViewMode(VeFadListCtrlBase::ViewMode::Details);
        QHeaderView* header = list->DetailsView()->header();
        header->sectionClicked(0);
        QCOMPARE(f.RowNames(*list), (QStringList{"Photo 1", "photo 9", "photo 10"}));
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), 0);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        header->sectionClicked(0);
        QCOMPARE(f.RowNames(*list), (QStringList{"photo 10", "photo 9", "Photo 1"}));
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        // The sorted column is shaded.
        QVERIFY(list->Model().index(0, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(!list->Model().index(0, 1).data(Qt::BackgroundRole).isValid());

        // By size, numerically: make the sizes differ by orders of magnitude.
        QVERIFY(WriteFile(list->RowAt(0).path, QByteArray(50000, 'x')));
        QVERIFY(WriteFile(list->RowAt(1).path, QByteArray(900, 'x')));
        QVERIFY(WriteFile(list->RowAt(2).path, QByteArray(7000, 'x')));
        list->Refresh();
        QVERIFY(f.WaitFilled(*list));
        header->sectionClicked(1); // another column: ascending
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(list->RowAt(0).size, 900);
        QCOMPARE(list->RowAt(2).size, 50000);
        QCOMPARE(list->Model().index(0, 1).data().toString(), QStringLiteral("900 bytes"));
    }

    void renameInPlaceTrimsAndIgnoresBlanksAndSameNames()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 2, QStringLiteral("P"));
        auto list = f.MakeList();
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        QSignalSpy renamed(list.get(), &VeFadListCtrlBase::ItemRenamed);

        list->SelectRows({0, 1});
        QVERIFY(!list->StartRename()); // several rows: nothing
        list->SelectRows({1});
        QVERIFY(list->StartRename());
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("P 02"));
        editor->setText(QStringLiteral("  Harbour at dusk  "));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(renamed.count(), 1);
        QCOMPARE(c.GetItems().At(1)->Name(), QStringLiteral("Harbour at dusk"));

        for (const QString& text : {QStringLiteral("   "), QStringLiteral("Harbour at dusk")}) {
            QVERIFY(list->StartRename());
            editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QVERIFY(editor);
            editor->setText(text);
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents();
        }
        QCOMPARE(renamed.count(), 1);
        QCOMPARE(c.GetItems().At(1)->Name(), QStringLiteral("Harbour at dusk"));
    }

    void selectAllInverseAndTheirReports()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 4, QStringLiteral("P"));
        auto list = f.MakeList();
        list->show();
        QSignalSpy selection(list.get(), &VeFadListCtrlBase::SelectionChanged);
        list->HandleCommand(cmd::kSelectAll); // no rows: nothing
        QCOMPARE(selection.count(), 0);
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        list->SelectRows({1});
        QCOMPARE(selection.takeLast().at(0).toInt(), 1);
        list->HandleCommand(cmd::kSelectInverse);
        QCOMPARE(list->SelectedRows(), (std::vector<int>{0, 2, 3}));
        QCOMPARE(selection.takeLast().at(0).toInt(), 3);
        // Ctrl+A on the view, once per press.
        list->ActiveView()->setFocus();
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QString(), true);
        list->SelectRows({0});
        QApplication::sendEvent(list->ActiveView(), &repeat);
        QCOMPARE(list->SelectedRows().size(), size_t(1));
        QTest::keyClick(list->ActiveView(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(list->SelectedRows().size(), size_t(4));
    }

    void deleteAsksOnceForOneOrSeveralAndRemovesRowsAndFiles()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 4, QStringLiteral("P"));
        auto list = f.ShowingList(c);
        QVERIFY(list);
        QSignalSpy changed(list.get(), &VeFadListCtrlBase::ItemsChanged);

        list->SelectRows({0});
        f.prompts.answers = {QMessageBox::No};
        QVERIFY(!list->DeleteSelected());
        QCOMPARE(f.prompts.asked.back().text, QStringLiteral("Are you sure you want to delete \"P 01\"?"));
        QCOMPARE(f.prompts.asked.back().caption, QStringLiteral("Confirm Item Delete"));
        QCOMPARE(list->RowCount(), 4);

        const QString file1 = list->RowAt(1).path;
        const QString file2 = list->RowAt(2).path;
        list->SelectRows({1, 2});
        f.prompts.answers = {QMessageBox::Yes};
        // The Delete key posts the command to the list.
        list->ActiveView()->setFocus();
        QTest::keyClick(list->ActiveView(), Qt::Key_Delete);
        QTRY_COMPARE(list->RowCount(), 2);
        QCOMPARE(f.prompts.asked.back().text, QStringLiteral("Are you sure you want to delete these 2 items?"));
        QCOMPARE(f.prompts.asked.back().caption, QStringLiteral("Confirm Multiple Item Delete"));
        QCOMPARE(c.GetItems().Count(), 2);
        QVERIFY(!QFile::exists(file1));
        QVERIFY(!QFile::exists(file2));
        QCOMPARE(f.RowNames(*list), (QStringList{"P 01", "P 04"}));
        QCOMPARE(changed.count(), 1);
    }

    void sendToFolderCopiesTheSelectedPhotos()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 3, QStringLiteral("P"));
        auto list = f.MakeList();
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        QCOMPARE(list->SendSelectedToFolder(), 0); // nothing selected: no question
        QVERIFY(f.prompts.folderTitles.isEmpty());
        const QString target = f.dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(target));
        f.prompts.folder = target;
        list->SelectRows({0, 2});
        QCOMPARE(list->SendSelectedToFolder(), 2);
        QCOMPARE(f.prompts.folderTitles, QStringList{QStringLiteral("Please select a folder:")});
        QCOMPARE(QDir(target).entryList(QDir::Files).size(), 2);
    }

    void dropOfAFolderTreeAddsExactlyThePhotos()
    {
        ItemListFixture f;
        Collection& c = *f.album->GetCollections().Add(QStringLiteral("Trip"));
        const QString tree = f.dir.filePath(QStringLiteral("camera"));
        const QStringList top = WriteScenes(tree, 2, QStringLiteral("Top"), 48, 32);
        const QStringList deep = WriteScenes(tree + QStringLiteral("/day 2/evening"), 2, QStringLiteral("Deep"), 48, 32);
        QVERIFY(WriteFile(tree + QStringLiteral("/notes.txt"), "not a photo"));
        QVERIFY(WriteFile(tree + QStringLiteral("/fake.doc"), "\xFF\xD8\xFF"));
        // A link to a photo brings that photo; a link to nothing brings nothing.
        QVERIFY(QFile::link(top[0], tree + QStringLiteral("/link to top.jpg")));
        QVERIFY(QFile::link(tree + QStringLiteral("/gone.jpg"), tree + QStringLiteral("/dangling.jpg")));

        auto list = f.ShowingList(c);
        QVERIFY(list);
        const auto data = UriList({tree});
        QVERIFY(Drop(*list, *data));
        QCOMPARE(list->RowCount(), 0); // the adding runs after the drop is answered
        QTRY_COMPARE(list->RowCount(), 5);
        QCOMPARE(c.GetItems().Count(), 5);
        QStringList names = f.RowNames(*list);
        names.sort();
        QCOMPARE(names, (QStringList{"Deep 01", "Deep 02", "Top 01", "Top 02", "link to top"}));
        for (int row = 0; row < 5; ++row) {
            QVERIFY(list->RowAt(row).path.startsWith(f.album->PhotosFolder()));
            QVERIFY(!QFileInfo(list->RowAt(row).path).isSymLink()); // a copy, not the link
        }
        QCOMPARE(list->SelectedRows(), (std::vector<int>{0, 1, 2, 3, 4}));
        QVERIFY(f.prompts.asked.empty()); // nothing said about the rest

        // Text that is not a file list is not taken.
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QVERIFY(!Drop(*list, text));
    }

    void pasteAndDropAreRefusedForAllCollections()
    {
        ItemListFixture f;
        f.AddCollection(QStringLiteral("C"), 1, QStringLiteral("P"));
        const QStringList files = WriteScenes(f.dir.filePath(QStringLiteral("more")), 1, QStringLiteral("M"), 48, 32);
        auto list = f.MakeList();
        list->show();
        list->ShowCollection(&f.album->GetCollections().AllCollections());
        QVERIFY(f.WaitFilled(*list));
        const QString refusal = QStringLiteral("Adding photos to \"All Collections\" is not allowed.\n\n"
                                               "Please select a collection and try again.");
        QVERIFY(Drop(*list, *UriList(files)));
        QTRY_COMPARE(f.prompts.asked.size(), size_t(1));
        QCOMPARE(f.prompts.asked.back().text, refusal);
        QGuiApplication::clipboard()->setMimeData(UriList(files).release());
        list->HandleCommand(cmd::kItemPaste);
        QCOMPARE(f.prompts.asked.size(), size_t(2));
        QCOMPARE(f.prompts.asked.back().text, refusal);
        QCOMPARE(list->RowCount(), 1);
        // The menu offers no Paste there.
        auto menu = list->ContextMenu();
        QVERIFY(!FindAction(*menu, cmd::kItemPaste)->isEnabled());
    }

    void pasteIntoACollectionAddsAndSelects()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 1, QStringLiteral("P"));
        const QStringList files = WriteScenes(f.dir.filePath(QStringLiteral("more")), 2, QStringLiteral("M"), 48, 32);
        auto list = f.ShowingList(c);
        QVERIFY(list);
        QGuiApplication::clipboard()->setMimeData(UriList(files).release());
        auto menu = list->ContextMenu();
        QVERIFY(FindAction(*menu, cmd::kItemPaste)->isEnabled());
        list->HandleCommand(cmd::kItemPaste);
        QTRY_COMPARE(list->RowCount(), 3);
        QCOMPARE(list->SelectedRows(), (std::vector<int>{1, 2}));
    }

    void theContextMenuFollowsTheSelection()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 2, QStringLiteral("P"));
        auto list = f.MakeList();
        list->ShowCollection(&c);
        QVERIFY(f.WaitFilled(*list));
        QCoreApplication::processEvents();
        auto enabled = [&](int id) { return FindAction(*list->ContextMenu(), id)->isEnabled(); };
        QVERIFY(!enabled(cmd::kItemRename));
        QVERIFY(!enabled(cmd::kDelete));
        QVERIFY(!enabled(cmd::kSendToFolder));
        QVERIFY(enabled(cmd::kSelectAll));
        QVERIFY(enabled(cmd::kArrangeByName));
        list->SelectRows({0});
        QVERIFY(enabled(cmd::kItemRename));
        QVERIFY(enabled(cmd::kDelete));
        list->SelectRows({0, 1});
        QVERIFY(!enabled(cmd::kItemRename));
        auto menu = list->ContextMenu();
        QVERIFY(FindAction(*menu, cmd::kViewThumbnails)->isChecked());
        QVERIFY(!FindAction(*menu, cmd::kViewDetails)->isChecked());
    }

    void enterAndDoubleClickOpenTheViewer()
    {
        ItemListFixture f;
        Collection& c = f.AddCollection(QStringLiteral("C"), 4, QStringLiteral("P"));
        auto list = f.ShowingList(c);
        QVERIFY(list);
        QSignalSpy viewer(list.get(), &VeFadListCtrlBase::OpenViewer);
        QStringList all;
        for (int row = 0; row < 4; ++row)
            all << list->RowAt(row).path;

        list->SelectRows({2});
        list->ActiveView()->setFocus();
        QTest::keyClick(list->ActiveView(), Qt::Key_Return);
        QCOMPARE(viewer.count(), 1);
        QCOMPARE(viewer.at(0).at(0).toStringList(), all);
        QCOMPARE(viewer.at(0).at(1).toInt(), 2);

        // Several selected: the selection only, from the current row.
        list->SelectRows({1, 3});
        QTest::keyClick(list->ActiveView(), Qt::Key_Enter);
        QCOMPARE(viewer.at(1).at(0).toStringList(), (QStringList{all[1], all[3]}));
        QCOMPARE(viewer.at(1).at(1).toInt(), 1);

        // A held key opens it once.
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(list->ActiveView(), &repeat);
        QCOMPARE(viewer.count(), 2);

        const QRect cell = list->IconView()->visualRect(list->Model().index(3, 0));
        // A double-click arrives as press, release, press, double-click, release.
        QTest::mousePress(list->IconView()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseRelease(list->IconView()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(list->IconView()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QCOMPARE(viewer.count(), 3);
        QCOMPARE(viewer.at(2).at(0).toStringList(), all);
        QCOMPARE(viewer.at(2).at(1).toInt(), 3);
    }
};

QTEST_MAIN(ItemListCommandsTest)
#include "ItemListCommandsTest.moc"
