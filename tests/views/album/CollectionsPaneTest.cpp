// The collections pane: its rows, naming, deleting, moving, sorting, menu and pixels.

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include "views/ViewsTestSupport.h"
#include "album/Album.h"
#include "views/album/CollectionRow.h"
#include "views/album/VeCollectionsPane.h"
#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"

using namespace tessary;

namespace {

QStringList AlbumOrder(const Album& album)
{
    QStringList names;
    for (const Collection& c : album.GetCollections())
        names << c.Name();
    return names;
}

QStringList RowTexts(const VeCollectionsPane& pane)
{
    QStringList texts;
    for (int i = 0; i < pane.RowCount(); ++i)
        texts << pane.CollectionRowAt(i)->Text();
    return texts;
}

void AddCollections(Album& album, const QStringList& names)
{
    for (const QString& n : names)
        album.GetCollections().Add(n);
}

QPoint RowCentre(const VeCollectionsPane& pane, int index)
{
    return pane.RowRectAt(index).center();
}

// Enabled state of every command of the menu, by id.
bool Enabled(QMenu& menu, int id)
{
    QAction* a = FindAction(menu, id);
    return a && a->isEnabled();
}

} // namespace

class CollectionsPaneTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void albumWithoutCollectionsHasTwoRowsAndNoMoveOrSort()
    {
        test::ScriptedPrompts prompts;
        Album album;
        VeCollectionsPane pane(prompts);
        pane.SetAlbum(&album);
        QCOMPARE(pane.RowCount(), 2);
        QCOMPARE(pane.RowHeight(), 31);
        QCOMPARE(RowTexts(pane), QStringList({"All Collections", "Double-click to add a collection"}));
        QCOMPARE(pane.CollectionRowAt(0)->GetCollection().Id(), 0);
        QCOMPARE(pane.CollectionRowAt(1)->GetCollection().Id(), -1);
        QCOMPARE(pane.SelectedCollection(), &album.GetCollections().AllCollections());
        QVERIFY(!pane.CollectionRowAt(1)->IsSelectable());
        for (const CollectionRow* row : {static_cast<CollectionRow*>(nullptr), pane.CollectionRowAt(0),
                                         pane.CollectionRowAt(1)}) {
            std::unique_ptr<QMenu> menu = pane.ContextMenuFor(row);
            QVERIFY(Enabled(*menu, cmd::kAdd));
            for (int id : {cmd::kRename, cmd::kDelete, cmd::kMoveToTop, cmd::kMoveUp, cmd::kMoveDown,
                           cmd::kMoveToBottom, cmd::kCollectionSortAscending, cmd::kCollectionSortDescending})
                QVERIFY2(!Enabled(*menu, id), qPrintable(QString::number(id)));
        }
        // Commands that need a real collection do nothing.
        QVERIFY(!pane.RunCommand(cmd::kDelete));
        QVERIFY(!pane.RunCommand(cmd::kMoveDown));
        QVERIFY(!pane.RunCommand(cmd::kCollectionSortAscending));
        QVERIFY(prompts.asked.empty());
        pane.Clear();
        QCOMPARE(pane.RowCount(), 0);
        QCOMPARE(pane.SelectedCollection(), nullptr);
    }

    void menuEnablingFollowsTheRowUnderTheMouse()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"One"});
        VeCollectionsPane pane(prompts);
        pane.SetAlbum(&album);
        {
            // A single collection is first and last; fewer than four rows: no sorting.
            std::unique_ptr<QMenu> menu = pane.ContextMenuFor(pane.CollectionRowAt(1));
            QVERIFY(Enabled(*menu, cmd::kRename) && Enabled(*menu, cmd::kDelete));
            QVERIFY(!Enabled(*menu, cmd::kMoveToTop) && !Enabled(*menu, cmd::kMoveToBottom));
            QVERIFY(!Enabled(*menu, cmd::kCollectionSortAscending));
        }
        AddCollections(album, {"Two", "Three"});
        pane.SetAlbum(&album);
        std::unique_ptr<QMenu> first = pane.ContextMenuFor(pane.CollectionRowAt(1));
        QVERIFY(!Enabled(*first, cmd::kMoveToTop) && !Enabled(*first, cmd::kMoveUp));
        QVERIFY(Enabled(*first, cmd::kMoveDown) && Enabled(*first, cmd::kMoveToBottom));
        QVERIFY(Enabled(*first, cmd::kCollectionSortAscending) && Enabled(*first, cmd::kCollectionSortDescending));
        std::unique_ptr<QMenu> middle = pane.ContextMenuFor(pane.CollectionRowAt(2));
        for (int id : {cmd::kMoveToTop, cmd::kMoveUp, cmd::kMoveDown, cmd::kMoveToBottom, cmd::kRename})
            QVERIFY(Enabled(*middle, id));
        std::unique_ptr<QMenu> last = pane.ContextMenuFor(pane.CollectionRowAt(3));
        QVERIFY(Enabled(*last, cmd::kMoveToTop) && Enabled(*last, cmd::kMoveUp));
        QVERIFY(!Enabled(*last, cmd::kMoveDown) && !Enabled(*last, cmd::kMoveToBottom));
        std::unique_ptr<QMenu> all = pane.ContextMenuFor(pane.CollectionRowAt(0));
        QVERIFY(!Enabled(*all, cmd::kRename) && !Enabled(*all, cmd::kMoveDown));
        QVERIFY(Enabled(*all, cmd::kCollectionSortAscending));
    }

    void addingTakesTheDefaultNameAndRefusesReservedAndDuplicateNames()
    {
        test::ScriptedPrompts prompts;
        Album album;
        VeCollectionsPane pane(prompts);
        pane.resize(300, 250);
        pane.SetAlbum(&album);
        QSignalSpy notified(&pane, &RowListBase::Notify);
        QVERIFY(pane.StartAdd());
        QVERIFY(pane.IsEditing());
        QCOMPARE(pane.EditedRow(), pane.CollectionRowAt(1));
        QCOMPARE(pane.EditBox()->text(), QString("New Collection"));
        QCOMPARE(pane.EditBox()->maxLength(), 100);
        QCOMPARE(pane.EditBox()->geometry().left(), pane.RowRectAt(1).left() + 42);
        // Centred in the row, one pixel taller at each end than the text and its frame.
        const int natural = QFontMetrics(pane.EditBox()->font()).height() + 4;
        QCOMPARE(pane.EditBox()->geometry().top(), pane.RowRectAt(1).top() + (31 - natural) / 2 - 1);
        QCOMPARE(pane.EditBox()->height(), natural + 2);
        QCOMPARE(pane.EditBox()->geometry().right(), pane.RowRectAt(1).right());
        QVERIFY(pane.CommitEdit());
        QVERIFY(!pane.IsEditing());
        // Moving the selection to the new row is one change, announced once.
        QCOMPARE(notified.count(), 1);
        QCOMPARE(notified[0][0].toInt(), kNotifySelectionChanged);
        QCOMPARE(RowTexts(pane), QStringList({"All Collections", "New Collection", "Double-click to add a collection"}));
        QCOMPARE(pane.SelectedCollection()->Name(), QString("New Collection"));
        QCOMPARE(album.GetCollections().HotId(), pane.SelectedCollection()->Id());

        // Two collections, "New Collection 3" taken: the count + 1 rule skips to 4.
        AddCollections(album, {"New Collection 3"});
        pane.SetAlbum(&album);
        QVERIFY(pane.StartAdd());
        QCOMPARE(pane.EditBox()->text(), QString("New Collection 4"));

        pane.EditBox()->setText("  All Collections ");
        QVERIFY(!pane.CommitEdit());
        QVERIFY(pane.IsEditing());
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text, QString("Invalid collection name. Please try another name."));
        QCOMPARE(prompts.asked[0].caption, QString("Orvanne Tessary"));
        QCOMPARE(prompts.asked[0].icon, QMessageBox::Information);
        QCOMPARE(prompts.owners[0], &pane);

        pane.EditBox()->setText(" New Collection 3\t");
        QVERIFY(!pane.CommitEdit());
        QVERIFY(pane.IsEditing());
        QCOMPARE(prompts.asked.back().text,
                 QString("Collection \"New Collection 3\" already exists. Please try another name."));
        QCOMPARE(album.GetCollections().Count(), 2);

        // Only the exact name is taken: another case is a new name.
        pane.EditBox()->setText("new collection 3");
        QVERIFY(pane.CommitEdit());
        QCOMPARE(AlbumOrder(album), QStringList({"New Collection", "New Collection 3", "new collection 3"}));
        QCOMPARE(pane.CollectionRowAt(3)->Text(), QString("new collection 3"));
        QVERIFY(pane.CollectionRowAt(3)->IsSelected());

        // An empty name adds nothing.
        QVERIFY(pane.StartAdd());
        pane.EditBox()->setText("   ");
        QVERIFY(pane.CommitEdit());
        QCOMPARE(album.GetCollections().Count(), 3);
        QCOMPARE(pane.RowCount(), 5);
    }

    void renamingAcceptsCaseChangesAndEscapeCancels()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"Alpha", "Beta"});
        VeCollectionsPane pane(prompts);
        pane.SetAlbum(&album);
        std::vector<Collection*> renamed;
        connect(&pane, &VeCollectionsPane::CollectionRenamed, this, [&renamed](Collection* c) { renamed.push_back(c); });
        QVERIFY(!pane.StartEdit(pane.CollectionRowAt(0)));
        QVERIFY(!pane.StartRenameSelected()); // "All Collections" is selected

        QVERIFY(pane.StartEdit(pane.CollectionRowAt(1)));
        QCOMPARE(pane.EditBox()->text(), QString("Alpha"));
        pane.EditBox()->setText("Beta");
        QVERIFY(!pane.CommitEdit());
        QCOMPARE(prompts.asked.back().text, QString("Collection \"Beta\" already exists. Please try another name."));
        pane.EditBox()->setText("ALPHA ");
        QVERIFY(pane.CommitEdit());
        QCOMPARE(int(renamed.size()), 1);
        QCOMPARE(renamed[0], album.GetCollections().At(0));
        QCOMPARE(album.GetCollections().At(0)->Name(), QString("ALPHA"));

        // Its own name again is no rename.
        QVERIFY(pane.StartEdit(pane.CollectionRowAt(1)));
        QVERIFY(pane.CommitEdit());
        QCOMPARE(int(renamed.size()), 1);

        QVERIFY(pane.StartEdit(pane.CollectionRowAt(2)));
        pane.EditBox()->setText("Gamma");
        QTest::keyClick(pane.EditBox(), Qt::Key_Escape);
        QVERIFY(!pane.IsEditing());
        QVERIFY(pane.EditBox()->isHidden());
        QCOMPARE(album.GetCollections().At(1)->Name(), QString("Beta"));

        // Enter takes the name.
        QVERIFY(pane.StartEdit(pane.CollectionRowAt(2)));
        pane.EditBox()->setText("Gamma");
        QTest::keyClick(pane.EditBox(), Qt::Key_Return);
        QVERIFY(!pane.IsEditing());
        QCOMPARE(album.GetCollections().At(1)->Name(), QString("Gamma"));
        QCOMPARE(int(renamed.size()), 2);
    }

    void leavingTheBoxTakesTheNameUnlessRefused()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"Alpha", "Beta"});
        QWidget window;
        window.resize(400, 300);
        auto* pane = new VeCollectionsPane(prompts, &window);
        pane->setGeometry(0, 0, 250, 300);
        auto* other = new QLineEdit(&window);
        other->setGeometry(260, 10, 120, 24);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        pane->SetAlbum(&album);

        QVERIFY(pane->StartEdit(pane->CollectionRowAt(1)));
        QTRY_VERIFY(pane->EditBox()->hasFocus());
        pane->EditBox()->setText("Beta");
        QTest::mouseClick(other, Qt::LeftButton);
        // Refused once, the box keeps the focus and its text selected.
        QCOMPARE(prompts.asked.size(), size_t(1));
        QVERIFY(pane->IsEditing());
        QVERIFY(pane->EditBox()->hasFocus());
        QCOMPARE(pane->EditBox()->selectedText(), QString("Beta"));
        QCoreApplication::processEvents();

        pane->EditBox()->setText(" Home ");
        other->setFocus();
        QVERIFY(!pane->IsEditing());
        QVERIFY(pane->EditBox()->isHidden());
        QCOMPARE(AlbumOrder(album), QStringList({"Home", "Beta"}));

        // The box's frame.
        QVERIFY(pane->StartEdit(pane->CollectionRowAt(2)));
        const QImage box = pane->EditBox()->grab().toImage();
        QCOMPARE(QColor(box.pixel(0, 0)), VeCollectionsPane::kEditFrameColor);
        QCOMPARE(QColor(box.pixel(1, 1)), QColor(Qt::white));
        QTest::keyClick(pane->EditBox(), Qt::Key_Escape);
        QVERIFY(pane->hasFocus());
        QCOMPARE(AlbumOrder(album), QStringList({"Home", "Beta"}));
    }

    void doubleClickOnTheAddRowAddsACollection()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"Home"});
        VeCollectionsPane pane(prompts);
        pane.resize(300, 250);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetAlbum(&album);
        QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, RowCentre(pane, 2));
        QVERIFY(pane.IsEditing());
        QCOMPARE(pane.EditedRow(), pane.CollectionRowAt(2));
        QCOMPARE(pane.EditBox()->text(), QString("New Collection 2"));
        pane.EditBox()->setText("Trips");
        QTest::keyClick(pane.EditBox(), Qt::Key_Return);
        QCOMPARE(AlbumOrder(album), QStringList({"Home", "Trips"}));
        QCOMPARE(pane.SelectedCollection(), album.GetCollections().At(1));

        // Double-clicking a real row renames it; "All Collections" cannot be edited.
        QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, RowCentre(pane, 1));
        QCOMPARE(pane.EditedRow(), pane.CollectionRowAt(1));
        pane.CancelEdit();
        QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, RowCentre(pane, 0));
        QVERIFY(!pane.IsEditing());
    }

    void deletingAsksAndSelectsTheNeighbour()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"A", "B", "C"});
        album.GetCollections().At(1)->GetItems().Add("photo.jpg", 1);
        VeCollectionsPane pane(prompts);
        pane.SetAlbum(&album);
        QSignalSpy notified(&pane, &RowListBase::Notify);

        pane.Select(pane.CollectionRowAt(2), true, true);
        prompts.answers = {QMessageBox::No};
        QVERIFY(!pane.DeleteSelected());
        QCOMPARE(album.GetCollections().Count(), 3);
        QCOMPARE(prompts.asked.back().text, QString("Are you sure you want to delete collection \"B\"?\n\n"
                                                    "Note: all items in this collection will also be deleted."));
        QCOMPARE(prompts.asked.back().caption, QString("Confirm Collection Delete"));
        QCOMPARE(prompts.asked.back().icon, QMessageBox::Question);
        QCOMPARE(prompts.asked.back().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(prompts.asked.back().defaultButton, QMessageBox::No);

        notified.clear();
        prompts.answers = {QMessageBox::Yes};
        QTest::keyClick(&pane, Qt::Key_Delete);
        QCOMPARE(AlbumOrder(album), QStringList({"A", "C"}));
        QCOMPARE(RowTexts(pane), QStringList({"All Collections", "A", "C", "Double-click to add a collection"}));
        QCOMPARE(pane.SelectedCollection()->Name(), QString("C")); // the row below
        QCOMPARE(notified.count(), 1);
        QCOMPARE(notified[0][0].toInt(), kNotifySelectionChanged);
        QCOMPARE(album.GetCollections().HotId(), pane.SelectedCollection()->Id());

        // A collection without items is asked about without the note.
        prompts.answers = {QMessageBox::Yes};
        QVERIFY(pane.RunCommand(cmd::kDelete));
        QCOMPARE(prompts.asked.back().text, QString("Are you sure you want to delete collection \"C\"?"));
        QCOMPARE(pane.SelectedCollection()->Name(), QString("A")); // the last one: the row above

        prompts.answers = {QMessageBox::Yes};
        QVERIFY(pane.DeleteSelected());
        QCOMPARE(pane.RowCount(), 2);
        QVERIFY(album.GetCollections().IsEmpty());
        QCOMPARE(pane.SelectedCollection(), &album.GetCollections().AllCollections());
        QCOMPARE(album.GetCollections().HotId(), 0);
    }

    void movesAndSortsCarryTheAlbumOrder()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"b", "A", "a", "B"});
        VeCollectionsPane pane(prompts);
        pane.SetAlbum(&album);
        Collection* a = album.GetCollections().At(2);
        pane.Select(pane.RowOf(a), true, true);

        QVERIFY(pane.RunCommand(cmd::kMoveToTop));
        QCOMPARE(AlbumOrder(album), QStringList({"a", "b", "A", "B"}));
        QVERIFY(!pane.RunCommand(cmd::kMoveUp));
        QVERIFY(pane.RunCommand(cmd::kMoveDown));
        QCOMPARE(AlbumOrder(album), QStringList({"b", "a", "A", "B"}));
        QVERIFY(pane.RunCommand(cmd::kMoveToBottom));
        QCOMPARE(AlbumOrder(album), QStringList({"b", "A", "B", "a"}));
        QVERIFY(!pane.RunCommand(cmd::kMoveDown));
        QVERIFY(pane.RunCommand(cmd::kMoveUp));
        QCOMPARE(AlbumOrder(album), QStringList({"b", "A", "a", "B"}));
        QCOMPARE(pane.SelectedCollection(), a);
        QCOMPARE(RowTexts(pane).mid(1, 4), AlbumOrder(album));

        // Code-unit order: capitals before small letters.
        QVERIFY(pane.RunCommand(cmd::kCollectionSortAscending));
        QCOMPARE(AlbumOrder(album), QStringList({"A", "B", "a", "b"}));
        QCOMPARE(RowTexts(pane).mid(1, 4), AlbumOrder(album));
        QVERIFY(!pane.SortRows(true));
        QVERIFY(pane.RunCommand(cmd::kCollectionSortDescending));
        QCOMPARE(AlbumOrder(album), QStringList({"b", "a", "B", "A"}));
        QCOMPARE(RowTexts(pane).mid(1, 4), AlbumOrder(album));
        QCOMPARE(RowTexts(pane).last(), QString("Double-click to add a collection"));
        QCOMPARE(pane.SelectedCollection(), a);
    }

    void draggingARowMovesItToTheNearestBoundary()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"A", "B", "C"});
        VeCollectionsPane pane(prompts);
        pane.resize(300, 250);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetAlbum(&album);
        QWidget* vp = pane.viewport();
        const int h = pane.RowHeight();

        // Boundaries are limited to the collection rows, whatever the pointer's height.
        QCOMPARE(pane.DropBoundaryAt(QPoint(10, 2)), 1);
        QCOMPARE(pane.DropBoundaryAt(QPoint(10, 2 * h - h / 2 + 1)), 2);
        QCOMPARE(pane.DropBoundaryAt(QPoint(10, 2 * h - h / 2 - 1)), 1);
        QCOMPARE(pane.DropBoundaryAt(QPoint(10, 240)), 4);

        // A down to the boundary above the add row: last.
        QTest::mousePress(vp, Qt::LeftButton, {}, RowCentre(pane, 1));
        QTest::mouseMove(vp, RowCentre(pane, 1) + QPoint(0, 2 * h));
        QTest::mouseMove(vp, QPoint(50, 4 * h + 3));
        QCOMPARE(pane.DragBoundary(), 4);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(50, 4 * h + 3));
        QCOMPARE(pane.DragBoundary(), -1);
        QCOMPARE(AlbumOrder(album), QStringList({"B", "C", "A"}));
        QCOMPARE(RowTexts(pane).mid(1, 3), AlbumOrder(album));

        // C up over "All Collections": first.
        QTest::mousePress(vp, Qt::LeftButton, {}, RowCentre(pane, 2));
        QTest::mouseMove(vp, RowCentre(pane, 2) - QPoint(0, h));
        QTest::mouseMove(vp, QPoint(50, 3));
        QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(50, 3));
        QCOMPARE(AlbumOrder(album), QStringList({"C", "B", "A"}));

        // Dropped on the boundary just below itself: nothing moves.
        const QPoint below = RowCentre(pane, 2) + QPoint(0, QApplication::startDragDistance() + 2);
        QTest::mousePress(vp, Qt::LeftButton, {}, RowCentre(pane, 2));
        QTest::mouseMove(vp, below);
        QCOMPARE(pane.DragBoundary(), 3);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, below);
        QCOMPARE(AlbumOrder(album), QStringList({"C", "B", "A"}));
        // Moves shorter than the drag distance are no drag.
        QTest::mousePress(vp, Qt::LeftButton, {}, RowCentre(pane, 2));
        QTest::mouseMove(vp, RowCentre(pane, 2) + QPoint(0, 2));
        QCOMPARE(pane.DragBoundary(), -1);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, RowCentre(pane, 2) + QPoint(0, 2));
        QTest::mouseClick(vp, Qt::LeftButton, {}, RowCentre(pane, 3));
        QCOMPARE(AlbumOrder(album), QStringList({"C", "B", "A"}));
        QCOMPARE(pane.SelectedCollection()->Name(), QString("A"));

        // "All Collections" cannot be dragged.
        QTest::mousePress(vp, Qt::LeftButton, {}, RowCentre(pane, 0));
        QTest::mouseMove(vp, QPoint(50, 3 * h + 5));
        QCOMPARE(pane.DragBoundary(), -1);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(50, 3 * h + 5));
        QCOMPARE(AlbumOrder(album), QStringList({"C", "B", "A"}));
    }

    void hotIdIsRememberedAcrossSetAlbum()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"One", "Two"});
        VeCollectionsPane pane(prompts);
        pane.resize(300, 250);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetAlbum(&album);
        QSignalSpy notified(&pane, &RowListBase::Notify);
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, RowCentre(pane, 2));
        QVERIFY(notified.contains(QVariantList{kNotifySelectionChanged}));
        Collection* two = album.GetCollections().At(1);
        QCOMPARE(pane.SelectedCollection(), two);
        QCOMPARE(album.GetCollections().HotId(), two->Id());

        pane.Clear();
        pane.SetAlbum(&album);
        QCOMPARE(pane.SelectedCollection(), two);

        // The add row cannot be selected.
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, RowCentre(pane, 3));
        QVERIFY(!pane.CollectionRowAt(3)->IsSelected());

        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, RowCentre(pane, 0));
        QCOMPARE(album.GetCollections().HotId(), 0);
        album.GetCollections().SetHotId(9999);
        pane.SetAlbum(&album);
        QCOMPARE(pane.SelectedCollection(), &album.GetCollections().AllCollections());
    }

    void paintsFlatRowsAndCountBadges()
    {
        test::ScriptedPrompts prompts;
        Album album;
        AddCollections(album, {"Empty", "Full", "Third"});
        Collection* full = album.GetCollections().At(1);
        for (int i = 1; i <= 12; ++i)
            full->GetItems().Add(QString("p%1.jpg").arg(i), i);
        VeCollectionsPane pane(prompts);
        pane.resize(300, 250);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetAlbum(&album);
        pane.Select(pane.CollectionRowAt(3), true, true);
        QTest::mouseMove(pane.viewport(), RowCentre(pane, 1));
        QTRY_COMPARE(pane.HotRow(), pane.CollectionRowAt(1));

        const QImage shot = pane.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (const QByteArray dir = qgetenv("TESSARY_SHOT_DIR"); !dir.isEmpty())
            pane.grab().save(QString::fromLocal8Bit(dir) + "/collections.png");

        // Row 2 (the badge row) is neither hot nor selected.
        const QRect row = pane.RowRectAt(2);
        QCOMPARE(shot.pixelColor(row.left() + 3, row.top() + 5), CollectionRow::kFlatFill);
        QCOMPARE(shot.pixelColor(row.left() + 3, row.bottom()), CollectionRow::kBottomLine);
        QCOMPARE(shot.pixelColor(row.right() - 3, row.bottom()), CollectionRow::kBottomLine);

        const QRect badge = pane.CollectionRowAt(2)->BadgeRect(row);
        const int textWidth = QFontMetrics(SharedFonts::Normal()).horizontalAdvance("12");
        QCOMPARE(badge.width(), std::max(textWidth + 14, 22));
        QCOMPARE(badge.height(), 20);
        QCOMPARE(badge.right(), row.right() - 10);
        QVERIFY(std::abs((badge.top() - row.top()) - (row.bottom() - badge.bottom())) <= 1);
        // The pill is darker than the row; its digits are white.
        const QColor pill = shot.pixelColor(badge.left() + 4, badge.center().y());
        QVERIFY2(pill.lightness() < CollectionRow::kFlatFill.lightness() - 40, qPrintable(pill.name()));
        bool white = false;
        for (int x = badge.left(); x <= badge.right() && !white; ++x) {
            for (int y = badge.top(); y <= badge.bottom() && !white; ++y)
                white = shot.pixelColor(x, y).lightness() > 240;
        }
        QVERIFY(white);
        // Just left of the badge the row is flat again (the text area ends 5 pixels before it).
        QCOMPARE(shot.pixelColor(badge.left() - 2, badge.center().y()), CollectionRow::kFlatFill);

        // Collections without items have no badge.
        QVERIFY(pane.CollectionRowAt(1)->BadgeRect(pane.RowRectAt(1)).isEmpty());
        const QRect emptyRow = pane.RowRectAt(1);
        QCOMPARE(shot.pixelColor(badge.left() + 4, emptyRow.center().y()) == pill, false);
        // The selected row shows its skin, not the flat fill.
        QVERIFY(shot.pixelColor(pane.RowRectAt(3).center()) != CollectionRow::kFlatFill);
    }
};

QTEST_MAIN(CollectionsPaneTest)
#include "CollectionsPaneTest.moc"
