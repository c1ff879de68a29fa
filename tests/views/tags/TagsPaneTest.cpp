// The tags pane: rows, drawing, mouse rules, editing with its validation and commits, the
// menus' enabling, the commands, dragging, and a saved and reloaded album.

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "views/ViewsTestSupport.h"
#include "album/Album.h"
#include "album/AlbumFile.h"
#include "search/SearchEngine.h"
#include "views/common/SharedFonts.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/tags/TagRow.h"
#include "views/tags/VeTagListCtrlBase.h"

using namespace tessary;

namespace {

// An album with one collection holding the given tags and two items.
struct Fixture {
    explicit Fixture(const QStringList& tagNames = {"Colour", "Place", "Year"})
        : album(dir.path(), QStringLiteral("Trips"))
    {
        collection = album.GetCollections().Add(QStringLiteral("Summer"));
        for (const QString& n : tagNames)
            collection->GetTags().Add(n);
        item = collection->GetItems().Add(QStringLiteral("Beach"), 1);
        other = collection->GetItems().Add(QStringLiteral("Hill"), 2);
        pane = std::make_unique<VeTagListCtrlBase>(&prompts);
        pane->resize(400, 200);
        spy = std::make_unique<QSignalSpy>(pane.get(), &VeTagListCtrlBase::TagsChanged);
        pane->BindItem(item, false);
    }
    Tags& GetTags() { return collection->GetTags(); }
    int32_t Id(int index) { return GetTags().At(index)->Id(); }
    QStringList Names()
    {
        QStringList out;
        for (const Tag& t : GetTags())
            out << t.Name();
        return out;
    }
    QStringList RowNames()
    {
        QStringList out;
        for (int i = 0; i < pane->TagRowCount(); ++i)
            out << pane->TagRowAt(i)->GetTag().Name();
        return out;
    }
    QList<int> Codes()
    {
        QList<int> out;
        for (const QList<QVariant>& args : *spy)
            out << args.at(0).toInt();
        return out;
    }
    // The pane in a shown, active window, for real focus changes.
    void Show()
    {
        window.resize(500, 300);
        pane->setParent(&window);
        pane->setGeometry(0, 0, 400, 200);
        other_widget = new QLineEdit(&window);
        other_widget->setGeometry(410, 10, 80, 24);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QPoint NamePoint(int index) { return QPoint(80, pane->RowRectAt(index).center().y()); }
    QPoint ValuePoint(int index) { return QPoint(250, pane->RowRectAt(index).center().y()); }
    QWidget* Viewport() { return pane->viewport(); }

    QTemporaryDir dir;
    test::ScriptedPrompts prompts;
    Album album;
    Collection* collection;
    Item* item;
    Item* other;
    QWidget window;
    QLineEdit* other_widget = nullptr;
    std::unique_ptr<VeTagListCtrlBase> pane;
    std::unique_ptr<QSignalSpy> spy;
};

bool Enabled(QMenu& menu, int id)
{
    QAction* a = FindAction(menu, id);
    return a && a->isEnabled();
}

void SendMouse(QWidget* w, QEvent::Type type, const QPoint& p, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, p, w->mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TagsPaneTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterInterfaceFonts(); }

    void rowsFollowTheCollection()
    {
        Fixture f;
        QCOMPARE(f.pane->RowHeight(), 30);
        QCOMPARE(f.pane->RowCount(), 4);
        QCOMPARE(f.RowNames(), QStringList({"Colour", "Place", "Year"}));
        const TagRow* placeholder = f.pane->TagRowAt(3);
        QCOMPARE(placeholder->GetTag().Id(), 0);
        QVERIFY(!placeholder->IsReal());
        QVERIFY(!placeholder->IsSelectable());
        QCOMPARE(placeholder->GetTag().Name(), QString("Double-click to add a tag"));
        QCOMPARE(f.pane->BoundItem(), f.item);

        // The same tags: rows (and their selection) stay; other tags: rebuilt.
        Row* first = f.pane->RowAtIndex(0);
        f.pane->Select(first, true, false);
        f.pane->BindItem(f.other, true);
        QCOMPARE(f.pane->RowAtIndex(0), first);
        QVERIFY(first->IsSelected());
        QVERIFY(f.pane->Highlighted());
        Collection* winter = f.album.GetCollections().Add(QStringLiteral("Winter"));
        winter->GetTags().Add(QStringLiteral("Snow"));
        Item* ski = winter->GetItems().Add(QStringLiteral("Ski"), 1);
        f.pane->BindItem(ski, false);
        QCOMPARE(f.RowNames(), QStringList({"Snow"}));

        f.pane->BindItem(nullptr, true);
        QCOMPARE(f.pane->RowCount(), 0);
        QVERIFY(!f.pane->Highlighted());
        QVERIFY(!f.pane->RunCommand(cmd::kAdd));
        QVERIFY(!f.pane->RunCommand(cmd::kClearAllValues));
    }

    void clickOnValueEditsAndCommitsTrimmed()
    {
        Fixture f;
        f.Show();
        QTest::mouseClick(f.Viewport(), Qt::LeftButton, {}, f.ValuePoint(1));
        QVERIFY(f.pane->IsEditing());
        QCOMPARE(f.pane->EditingRow(), f.pane->TagRowAt(1));
        QCOMPARE(f.pane->ActiveEditor(), &f.pane->ValueEditor());
        QVERIFY(f.pane->TagRowAt(1)->IsSelected());
        VeCellEdit& editor = f.pane->ValueEditor();
        QTRY_VERIFY(editor.hasFocus());
        QCOMPARE(editor.maxLength(), 100);
        QVERIFY(editor.alignment() & Qt::AlignLeft);
        // Over the value cell: left + 163 to right - 3.
        QCOMPARE(editor.x(), 163);
        QCOMPARE(editor.x() + editor.width(), f.pane->viewport()->width() - 3);
        QTest::keyClicks(&editor, QStringLiteral("  Lisbon  "));
        // Clicking another widget ends the edit.
        QTest::mouseClick(f.other_widget, Qt::LeftButton);
        QVERIFY(!f.pane->IsEditing());
        QVERIFY(editor.isHidden());
        QCOMPARE(f.item->TagValue(f.Id(1)), QString("Lisbon"));
        QCOMPARE(f.Codes(), QList<int>{1});

        // The same text again changes nothing and tells nothing.
        QVERIFY(f.pane->StartValueEdit(f.pane->TagRowAt(1)));
        QCOMPARE(editor.text(), QString("Lisbon"));
        f.other_widget->setFocus();
        QCOMPARE(f.Codes(), QList<int>{1});
    }

    void escapeChangesNothing()
    {
        Fixture f;
        f.Show();
        f.item->SetTagValue(f.Id(0), QStringLiteral("Red"));
        QVERIFY(f.pane->StartValueEdit(f.pane->TagRowAt(0)));
        QTest::keyClicks(&f.pane->ValueEditor(), QStringLiteral("Blue"));
        QTest::keyClick(&f.pane->ValueEditor(), Qt::Key_Escape);
        QVERIFY(!f.pane->IsEditing());
        QVERIFY(f.pane->hasFocus());
        QVERIFY(f.pane->StartNameEdit(f.pane->TagRowAt(0)));
        QTest::keyClicks(&f.pane->NameEditor(), QStringLiteral("Hue"));
        QTest::keyClick(&f.pane->NameEditor(), Qt::Key_Escape);
        QCOMPARE(f.item->TagValue(f.Id(0)), QString("Red"));
        QCOMPARE(f.Names(), QStringList({"Colour", "Place", "Year"}));
        QVERIFY(f.spy->isEmpty());
    }

    void enterMovesToNextValueAndWraps()
    {
        Fixture f;
        f.Show();
        QTest::mouseClick(f.Viewport(), Qt::LeftButton, {}, f.ValuePoint(1));
        QTest::keyClicks(&f.pane->ValueEditor(), QStringLiteral("Porto"));
        QTest::keyClick(&f.pane->ValueEditor(), Qt::Key_Return);
        QCOMPARE(f.item->TagValue(f.Id(1)), QString("Porto"));
        QTRY_COMPARE(f.pane->EditingRow(), f.pane->TagRowAt(2));
        QVERIFY(f.pane->TagRowAt(2)->IsSelected());
        QVERIFY(!f.pane->TagRowAt(1)->IsSelected());
        QTRY_VERIFY(f.pane->ValueEditor().hasFocus());
        QTest::keyClicks(&f.pane->ValueEditor(), QStringLiteral("2024"));
        QTest::keyClick(&f.pane->ValueEditor(), Qt::Key_Return);
        // After the last tag: the first.
        QTRY_COMPARE(f.pane->EditingRow(), f.pane->TagRowAt(0));
        QCOMPARE(f.item->TagValue(f.Id(2)), QString("2024"));
        QCOMPARE(f.Codes(), QList<int>({1, 1}));
        // Ctrl+Enter only commits.
        QTest::keyClick(&f.pane->ValueEditor(), Qt::Key_Return, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QVERIFY(!f.pane->IsEditing());
    }

    void pendingNextValueIsDroppedForAnotherItem()
    {
        Fixture f;
        f.Show();
        QVERIFY(f.pane->StartValueEdit(f.pane->TagRowAt(0)));
        QTest::keyClicks(&f.pane->ValueEditor(), QStringLiteral("Red"));
        QTest::keyClick(&f.pane->ValueEditor(), Qt::Key_Return);
        f.pane->BindItem(f.other, false);
        QCoreApplication::processEvents();
        QVERIFY(!f.pane->IsEditing());
        QCOMPARE(f.item->TagValue(f.Id(0)), QString("Red"));
        QCOMPARE(f.other->TagValue(f.Id(0)), QString());
    }

    void enterWithOneTagOnlyCommits()
    {
        Fixture f({"Only"});
        f.Show();
        QVERIFY(f.pane->StartValueEdit(f.pane->TagRowAt(0)));
        QTest::keyClicks(&f.pane->ValueEditor(), QStringLiteral("x"));
        QTest::keyClick(&f.pane->ValueEditor(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY(!f.pane->IsEditing());
        QCOMPARE(f.item->TagValue(f.Id(0)), QString("x"));
    }

    void renameRules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("name");
        QTest::newRow("own name") << "Place" << true << "Place";
        QTest::newRow("own name with blanks") << "  Place " << true << "Place";
        QTest::newRow("other case of another tag") << "colour" << true << "colour";
        QTest::newRow("new name trimmed") << "\tCity " << true << "City";
        QTest::newRow("another tag's name") << "Colour" << false << "Place";
        QTest::newRow("another tag's name with blanks") << " Year  " << false << "Place";
        QTest::newRow("empty keeps the name") << "   " << true << "Place";
    }
    void renameRules()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, name);
        Fixture f;
        f.Show();
        QTest::mouseClick(f.Viewport(), Qt::LeftButton, {}, f.NamePoint(1));
        QTest::mouseDClick(f.Viewport(), Qt::LeftButton, {}, f.NamePoint(1));
        QCOMPARE(f.pane->ActiveEditor(), &f.pane->NameEditor());
        VeCellEdit& editor = f.pane->NameEditor();
        QTRY_VERIFY(editor.hasFocus());
        QCOMPARE(editor.text(), QString("Place"));
        QCOMPARE(editor.selectedText(), QString("Place"));
        QVERIFY(editor.alignment() & Qt::AlignRight);
        QCOMPARE(editor.x(), 3);
        QCOMPARE(editor.width(), 154);
        editor.setText(typed);
        f.other_widget->setFocus();
        QCOMPARE(f.pane->TagRowAt(1)->GetTag().Name(), name);
        if (!accepted) {
            QCOMPARE(f.prompts.asked.size(), size_t(1));
            const QString shown = typed.trimmed();
            QCOMPARE(f.prompts.asked[0].text,
                     QString("Tag \"%1\" already exists. Please try another name.").arg(shown));
            QCOMPARE(f.prompts.asked[0].caption, QString("Orvanne Tessary"));
            QCOMPARE(f.prompts.asked[0].icon, QMessageBox::Information);
            QCOMPARE(f.prompts.asked[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QVERIFY(f.pane->IsEditing());
            QVERIFY(editor.isVisible());
            QVERIFY(editor.hasFocus());
            QCOMPARE(editor.selectedText(), typed);
            QVERIFY(f.spy->isEmpty());
            return;
        }
        QVERIFY(f.prompts.asked.empty());
        QVERIFY(!f.pane->IsEditing());
        QCOMPARE(f.Codes(), name == "Place" ? QList<int>() : QList<int>{8});
    }

    void refusedNameSwallowsTheClick()
    {
        Fixture f;
        f.Show();
        QVERIFY(f.pane->StartNameEdit(f.pane->TagRowAt(0)));
        QTRY_VERIFY(f.pane->NameEditor().hasFocus());
        f.pane->NameEditor().setText(QStringLiteral("Year"));
        // A click on another value would start its edit; refused, it does nothing.
        QTest::mouseClick(f.Viewport(), Qt::LeftButton, {}, f.ValuePoint(1));
        QCOMPARE(f.prompts.asked.size(), size_t(1));
        QCOMPARE(f.pane->ActiveEditor(), &f.pane->NameEditor());
        QCOMPARE(f.pane->EditingRow(), f.pane->TagRowAt(0));
        QVERIFY(!f.pane->TagRowAt(1)->IsSelected());
    }

    void addThroughPlaceholder()
    {
        Fixture f({"Colour", "Place"});
        f.Show();
        QTest::mouseClick(f.Viewport(), Qt::LeftButton, {}, f.NamePoint(2));
        QTest::mouseDClick(f.Viewport(), Qt::LeftButton, {}, f.NamePoint(2));
        QCOMPARE(f.pane->EditingRow(), f.pane->TagRowAt(2));
        QCOMPARE(f.pane->NameEditor().text(), QString("New Tag 3"));
        const int32_t next = f.GetTags().NextId();
        QTest::keyClicks(&f.pane->NameEditor(), QStringLiteral(" Mood "));
        QTest::keyClick(&f.pane->NameEditor(), Qt::Key_Return);
        QCOMPARE(f.Names(), QStringList({"Colour", "Place", "Mood"}));
        QCOMPARE(f.GetTags().At(2)->Id(), next);
        QCOMPARE(f.pane->RowCount(), 4);
        QVERIFY(f.pane->TagRowAt(2)->IsSelected());
        QVERIFY(!f.pane->TagRowAt(3)->IsReal());
        QCOMPARE(f.Codes(), QList<int>{2});
        // Enter in the name editor does not go on to a value.
        QCoreApplication::processEvents();
        QVERIFY(!f.pane->IsEditing());

        // The default name skips a name that exists; an empty name adds nothing.
        f.GetTags().At(2)->SetName(QStringLiteral("New Tag 4"));
        QVERIFY(f.pane->RunCommand(cmd::kAdd));
        QCOMPARE(f.pane->NameEditor().text(), QString("New Tag 5"));
        f.pane->NameEditor().setText(QStringLiteral(" "));
        QVERIFY(f.pane->NameEditor().EndEdit());
        QCOMPARE(f.GetTags().Count(), 3);
        QCOMPARE(f.Codes(), QList<int>{2});
    }

    void defaultNameWithoutTags()
    {
        Fixture f{QStringList()};
        QCOMPARE(f.pane->RowCount(), 1);
        QVERIFY(f.pane->RunCommand(cmd::kAdd));
        QCOMPARE(f.pane->NameEditor().text(), QString("New Tag"));
    }

    void tagMenuEnabling()
    {
        Fixture f;
        auto check = [&](const TagRow* row, QList<int> enabled) {
            std::unique_ptr<QMenu> menu = f.pane->ContextMenuFor(row, false);
            for (int id : {cmd::kAdd, cmd::kDelete, cmd::kRename, cmd::kDeleteAllTags, cmd::kMoveToTop, cmd::kMoveUp,
                           cmd::kMoveDown, cmd::kMoveToBottom, cmd::kTagSortAscending, cmd::kTagSortDescending})
                QVERIFY2(Enabled(*menu, id) == enabled.contains(id), qPrintable(QString::number(id)));
        };
        const QList<int> always{cmd::kAdd, cmd::kDeleteAllTags, cmd::kTagSortAscending, cmd::kTagSortDescending};
        check(f.pane->TagRowAt(0), always + QList<int>{cmd::kDelete, cmd::kRename, cmd::kMoveDown, cmd::kMoveToBottom});
        check(f.pane->TagRowAt(1), always + QList<int>{cmd::kDelete, cmd::kRename, cmd::kMoveToTop, cmd::kMoveUp,
                                                       cmd::kMoveDown, cmd::kMoveToBottom});
        check(f.pane->TagRowAt(2), always + QList<int>{cmd::kDelete, cmd::kRename, cmd::kMoveToTop, cmd::kMoveUp});
        check(f.pane->TagRowAt(3), always);
        check(nullptr, always);

        Fixture two({"A", "B"});
        QVERIFY(Enabled(*two.pane->ContextMenuFor(nullptr, false), cmd::kTagSortAscending));
        Fixture one({"A"});
        std::unique_ptr<QMenu> menu = one.pane->ContextMenuFor(one.pane->TagRowAt(0), false);
        QVERIFY(!Enabled(*menu, cmd::kTagSortAscending));
        QVERIFY(Enabled(*menu, cmd::kDeleteAllTags));
        QVERIFY(!Enabled(*menu, cmd::kMoveDown));
        QVERIFY(!Enabled(*menu, cmd::kMoveUp));
    }

    void onlyPlaceholderDisablesDeleteAllSortAndClearAll()
    {
        Fixture f{QStringList()};
        std::unique_ptr<QMenu> tag = f.pane->ContextMenuFor(f.pane->TagRowAt(0), false);
        QVERIFY(Enabled(*tag, cmd::kAdd));
        for (int id : {cmd::kDelete, cmd::kRename, cmd::kDeleteAllTags, cmd::kMoveToTop, cmd::kMoveUp,
                       cmd::kMoveDown, cmd::kMoveToBottom, cmd::kTagSortAscending, cmd::kTagSortDescending})
            QVERIFY(!Enabled(*tag, id));
        std::unique_ptr<QMenu> value = f.pane->ContextMenuFor(f.pane->TagRowAt(0), true);
        for (int id : {cmd::kEditValue, cmd::kClearValue, cmd::kClearAllValues})
            QVERIFY(!Enabled(*value, id));
        QVERIFY(!f.pane->RunCommand(cmd::kDeleteAllTags));
        QVERIFY(!f.pane->RunCommand(cmd::kTagSortAscending));
        QVERIFY(!f.pane->RunCommand(cmd::kClearAllValues));
        QVERIFY(f.prompts.asked.empty());
    }

    void valueMenuEnabling()
    {
        Fixture f;
        std::unique_ptr<QMenu> menu = f.pane->ContextMenuFor(f.pane->TagRowAt(0), true);
        QVERIFY(Enabled(*menu, cmd::kEditValue));
        QVERIFY(!Enabled(*menu, cmd::kClearValue));
        QVERIFY(!Enabled(*menu, cmd::kClearAllValues));
        f.item->SetTagValue(f.Id(2), QStringLiteral("1999"));
        menu = f.pane->ContextMenuFor(f.pane->TagRowAt(0), true);
        QVERIFY(!Enabled(*menu, cmd::kClearValue));
        QVERIFY(Enabled(*menu, cmd::kClearAllValues));
        menu = f.pane->ContextMenuFor(f.pane->TagRowAt(2), true);
        QVERIFY(Enabled(*menu, cmd::kClearValue));
        menu = f.pane->ContextMenuFor(f.pane->TagRowAt(3), true);
        QVERIFY(!Enabled(*menu, cmd::kEditValue));
        QVERIFY(!Enabled(*menu, cmd::kClearValue));
    }

    void rightClickOpensTheColumnsMenu()
    {
        Fixture f;
        f.Show();
        f.item->SetTagValue(f.Id(1), QStringLiteral("Rome"));
        QStringList seen;
        // Picks `id` from whichever menu opens.
        auto choose = [&](int id) {
            QTimer::singleShot(0, [&seen, id] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!menu)
                    return;
                seen << menu->actions().first()->text();
                if (QAction* a = FindAction(*menu, id)) {
                    menu->setActiveAction(a);
                    QTest::keyClick(menu, Qt::Key_Return);
                } else {
                    menu->close();
                }
            });
        };
        choose(cmd::kClearValue);
        QTest::mouseClick(f.Viewport(), Qt::RightButton, {}, f.ValuePoint(1));
        QCOMPARE(seen, QStringList{"Edit Value..."});
        QCOMPARE(f.item->TagValue(f.Id(1)), QString());
        QVERIFY(f.pane->TagRowAt(1)->IsSelected());
        choose(cmd::kMoveToTop);
        QTest::mouseClick(f.Viewport(), Qt::RightButton, {}, f.NamePoint(2));
        QCOMPARE(seen, QStringList({"Edit Value...", "Add a Tag..."}));
        QCOMPARE(f.Names(), QStringList({"Year", "Colour", "Place"}));
        QCOMPARE(f.Codes(), QList<int>({1, 0x11}));
    }

    void commandsNeedASelectedTag()
    {
        Fixture f;
        for (int id : {cmd::kDelete, cmd::kRename, cmd::kMoveToTop, cmd::kMoveUp, cmd::kMoveDown, cmd::kMoveToBottom,
                       cmd::kEditValue, cmd::kClearValue})
            QVERIFY(!f.pane->RunCommand(id));
        QVERIFY(f.prompts.asked.empty());
        QVERIFY(f.spy->isEmpty());
        // The first selected row from the top counts.
        f.pane->Select(f.pane->RowAtIndex(1), true, false);
        QCOMPARE(f.pane->FirstSelectedTag(), f.pane->TagRowAt(1));
        QVERIFY(f.pane->RunCommand(cmd::kEditValue));
        QCOMPARE(f.pane->EditingRow(), f.pane->TagRowAt(1));
    }

    void deleteAsksAndRemoves()
    {
        Fixture f;
        f.item->SetTagValue(f.Id(1), QStringLiteral("Porto"));
        const int32_t placeId = f.Id(1);
        f.pane->Select(f.pane->RowAtIndex(1), true, false);
        f.prompts.answers = {QMessageBox::No};
        QVERIFY(!f.pane->RunCommand(cmd::kDelete));
        QCOMPARE(f.prompts.asked.size(), size_t(1));
        const MessageBoxSpec& q = f.prompts.asked[0];
        QCOMPARE(q.text, QString("Are you sure you want to delete tag \"Place\"?\n\n"
                                 "Note: all values for this tag in current album will be lost."));
        QCOMPARE(q.caption, QString("Confirm Tag Delete"));
        QCOMPARE(q.icon, QMessageBox::Question);
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(q.defaultButton, QMessageBox::No);
        QCOMPARE(f.Names().size(), 3);

        f.prompts.answers = {QMessageBox::Yes};
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QApplication::sendEvent(f.pane.get(), &del);
        QCOMPARE(f.Names(), QStringList({"Colour", "Year"}));
        QCOMPARE(f.RowNames(), QStringList({"Colour", "Year"}));
        QCOMPARE(f.Codes(), QList<int>{4});
        // The record stays but is no longer valid.
        const Record* r = f.item->GetRecords().Find(placeId);
        QVERIFY(r);
        QVERIFY(!f.item->GetRecords().IsValid(*r));
    }

    void deleteAllTags()
    {
        Fixture f;
        f.item->SetTagValue(f.Id(0), QStringLiteral("Red"));
        f.other->SetTagValue(f.Id(1), QStringLiteral("Rome"));
        f.prompts.answers = {QMessageBox::Yes};
        QVERIFY(f.pane->RunCommand(cmd::kDeleteAllTags));
        QCOMPARE(f.prompts.asked[0].text, QString("Are you sure you want to delete all existing tags?\n\n"
                                                  "Note: values for all tags in current album will be lost."));
        QCOMPARE(f.prompts.asked[0].caption, QString("Confirm Delete All Tags"));
        QCOMPARE(f.prompts.asked[0].defaultButton, QMessageBox::No);
        QCOMPARE(f.GetTags().Count(), 0);
        QCOMPARE(f.pane->RowCount(), 1);
        QVERIFY(f.item->GetRecords().IsEmpty());
        QVERIFY(f.other->GetRecords().IsEmpty());
        QCOMPARE(f.Codes(), QList<int>{4});
    }

    void clearAndClearAll()
    {
        Fixture f;
        f.item->SetTagValue(f.Id(0), QStringLiteral("Red"));
        f.item->SetTagValue(f.Id(2), QStringLiteral("1999"));
        f.other->SetTagValue(f.Id(2), QStringLiteral("2001"));
        f.pane->Select(f.pane->RowAtIndex(0), true, false);
        QVERIFY(f.pane->RunCommand(cmd::kClearValue));
        QCOMPARE(f.item->TagValue(f.Id(0)), QString());
        QCOMPARE(f.item->TagValue(f.Id(2)), QString("1999"));
        QVERIFY(f.pane->RunCommand(cmd::kClearAllValues));
        QVERIFY(f.item->GetRecords().IsEmpty());
        QCOMPARE(f.other->TagValue(f.Id(2)), QString("2001"));
        QCOMPARE(f.Codes(), QList<int>({1, 1}));
    }

    void moveCommands()
    {
        Fixture f({"A", "B", "C", "D"});
        f.pane->Select(f.pane->RowAtIndex(2), true, false);
        QVERIFY(f.pane->RunCommand(cmd::kMoveToTop));
        QCOMPARE(f.Names(), QStringList({"C", "A", "B", "D"}));
        QVERIFY(!f.pane->RunCommand(cmd::kMoveUp));
        QVERIFY(f.pane->RunCommand(cmd::kMoveDown));
        QCOMPARE(f.Names(), QStringList({"A", "C", "B", "D"}));
        QVERIFY(f.pane->RunCommand(cmd::kMoveToBottom));
        QCOMPARE(f.Names(), QStringList({"A", "B", "D", "C"}));
        QVERIFY(!f.pane->TagRowAt(4)->IsReal());
        QVERIFY(!f.pane->RunCommand(cmd::kMoveDown));
        QVERIFY(f.pane->RunCommand(cmd::kMoveUp));
        QCOMPARE(f.Names(), QStringList({"A", "B", "C", "D"}));
        QCOMPARE(f.RowNames(), f.Names());
        QCOMPARE(f.Codes(), QList<int>({0x11, 0x11, 0x11, 0x11}));
    }

    void sortByCodeUnits()
    {
        Fixture f({"beta", "Alpha", "alpha", "Beta", "gamma"});
        QVERIFY(f.pane->RunCommand(cmd::kTagSortAscending));
        QCOMPARE(f.Names(), QStringList({"Alpha", "Beta", "alpha", "beta", "gamma"}));
        QVERIFY(f.pane->RunCommand(cmd::kTagSortDescending));
        QCOMPARE(f.Names(), QStringList({"gamma", "beta", "alpha", "Beta", "Alpha"}));
        QCOMPARE(f.RowNames(), f.Names());
        QVERIFY(!f.pane->TagRowAt(5)->IsReal());
        QCOMPARE(f.Codes(), QList<int>({0x11, 0x11}));
    }

    void dragToReorder_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("dropRow");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("down before the third") << 0 << 2 << QStringList({"B", "A", "C", "D"});
        QTest::newRow("down before the fourth") << 0 << 3 << QStringList({"B", "C", "A", "D"});
        QTest::newRow("up to the top") << 3 << 0 << QStringList({"D", "A", "B", "C"});
        QTest::newRow("onto itself") << 1 << 1 << QStringList({"A", "B", "C", "D"});
        QTest::newRow("onto the next row") << 1 << 2 << QStringList({"A", "B", "C", "D"});
        QTest::newRow("to the end") << 0 << 4 << QStringList({"B", "C", "D", "A"});
        QTest::newRow("below all rows") << 1 << 6 << QStringList({"A", "C", "D", "B"});
    }
    void dragToReorder()
    {
        QFETCH(int, from);
        QFETCH(int, dropRow);
        QFETCH(QStringList, order);
        Fixture f({"A", "B", "C", "D"});
        f.pane->resize(400, 250);
        f.pane->show();
        QWidget* vp = f.Viewport();
        const QPoint press = f.NamePoint(from);
        QTest::mousePress(vp, Qt::LeftButton, {}, press);
        // Two pixels do not start a drag.
        SendMouse(vp, QEvent::MouseMove, press + QPoint(0, 2), Qt::LeftButton);
        QVERIFY(!f.pane->IsDragging());
        // The image's centre is the pointer's height: the press was at the row's middle.
        const QPoint drop(80, dropRow * 30 + 22);
        SendMouse(vp, QEvent::MouseMove, drop, Qt::LeftButton);
        QVERIFY(f.pane->IsDragging());
        const int target = std::min(dropRow, 4);
        QCOMPARE(f.pane->DragTarget(), target);
        if (!qEnvironmentVariableIsEmpty("TESSARY_SHOTS") && from == 0 && dropRow == 2)
            vp->grab().save(QStringLiteral("/tmp/tags_drag.png"));
        SendMouse(vp, QEvent::MouseButtonRelease, drop, Qt::NoButton);
        QVERIFY(!f.pane->IsDragging());
        QCOMPARE(f.Names(), order);
        QCOMPARE(f.RowNames(), order);
        const bool moved = order != QStringList({"A", "B", "C", "D"});
        QCOMPARE(f.Codes(), moved ? QList<int>{0x11} : QList<int>());
    }

    void dragOutsideShowsNoEntryAndDropsNothing()
    {
        Fixture f({"A", "B", "C"});
        f.pane->show();
        QWidget* vp = f.Viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, f.NamePoint(0));
        SendMouse(vp, QEvent::MouseMove, f.NamePoint(2), Qt::LeftButton);
        QCOMPARE(vp->cursor().shape(), Qt::ArrowCursor);
        const QPoint outside(80, vp->height() + 40);
        SendMouse(vp, QEvent::MouseMove, outside, Qt::LeftButton);
        QCOMPARE(f.pane->DragTarget(), -1);
        QCOMPARE(vp->cursor().shape(), Qt::ForbiddenCursor);
        SendMouse(vp, QEvent::MouseMove, f.NamePoint(1), Qt::LeftButton);
        QCOMPARE(vp->cursor().shape(), Qt::ArrowCursor);
        SendMouse(vp, QEvent::MouseMove, outside, Qt::LeftButton);
        SendMouse(vp, QEvent::MouseButtonRelease, outside, Qt::NoButton);
        QCOMPARE(f.Names(), QStringList({"A", "B", "C"}));
        QVERIFY(f.spy->isEmpty());
    }

    void valueColumnPressDoesNotDrag()
    {
        Fixture f({"A", "B", "C"});
        f.Show();
        QWidget* vp = f.Viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, f.ValuePoint(0));
        SendMouse(vp, QEvent::MouseMove, f.ValuePoint(2), Qt::LeftButton);
        QVERIFY(!f.pane->IsDragging());
        QVERIFY(f.pane->IsEditing());
    }

    void unbindingCancelsTheEdit()
    {
        Fixture f;
        f.Show();
        QVERIFY(f.pane->StartValueEdit(f.pane->TagRowAt(0)));
        QTest::keyClicks(&f.pane->ValueEditor(), QStringLiteral("lost"));
        f.pane->BindItem(nullptr, false);
        QVERIFY(!f.pane->IsEditing());
        QVERIFY(f.pane->ValueEditor().isHidden());
        QCOMPARE(f.item->TagValue(f.Id(0)), QString());
        // The item can go now.
        f.collection->GetItems().Remove(f.item);
        f.pane->viewport()->repaint();
        QVERIFY(f.spy->isEmpty());
    }

    void valuesSurviveSaveAndReload()
    {
        Fixture f;
        f.Show();
        QTest::mouseClick(f.Viewport(), Qt::LeftButton, {}, f.ValuePoint(0));
        QTest::keyClicks(&f.pane->ValueEditor(), QStringLiteral(" Deep <blue> & green "));
        QTest::keyClick(&f.pane->ValueEditor(), Qt::Key_Escape);
        QTest::mouseClick(f.Viewport(), Qt::LeftButton, {}, f.ValuePoint(0));
        QTest::keyClicks(&f.pane->ValueEditor(), QStringLiteral(" Deep <blue> & green "));
        QTest::mouseClick(f.other_widget, Qt::LeftButton);
        f.pane->Select(f.pane->RowAtIndex(2), true, false);
        QVERIFY(f.pane->RunCommand(cmd::kMoveToTop));
        QVERIFY(SaveAlbum(f.album));

        Album loaded;
        QVERIFY(LoadAlbum(loaded, f.album.FilePath()));
        Collection* c = loaded.GetCollections().At(0);
        QVERIFY(c);
        QStringList names;
        for (const Tag& t : c->GetTags())
            names << t.Name();
        QCOMPARE(names, QStringList({"Year", "Colour", "Place"}));
        const Tag* colour = c->GetTags().FindByName(QStringLiteral("Colour"));
        QCOMPARE(c->GetItems().FindById(1)->TagValue(colour->Id()), QString("Deep <blue> & green"));
    }

    void drawsRowsHintAndHighlight()
    {
        Fixture f({"Colour", "Place", "A very long tag name that cannot fit"});
        f.item->SetTagValue(f.Id(0), QStringLiteral("Red"));
        f.pane->resize(380, 150);
        f.pane->BindItem(f.item, true);
        const QImage img = f.pane->viewport()->grab().toImage();
        auto px = [&](int x, int y) { return QColor(img.pixel(x, y)); };
        // Name and value backgrounds, even and odd rows.
        QCOMPARE(px(2, 2), QColor(223, 226, 235));
        QCOMPARE(px(2, 32), QColor(240, 242, 246));
        QCOMPARE(px(370, 2), QColor(235, 238, 244));
        QCOMPARE(px(370, 32), QColor(250, 251, 253));
        // A name is drawn right-aligned: ink near x = 154, none at the far left of row 0.
        bool inkRight = false;
        for (int x = 140; x < 155; ++x)
            for (int y = 5; y < 25; ++y)
                inkRight = inkRight || qGray(img.pixel(x, y)) < 120;
        QVERIFY(inkRight);
        auto yellowIn = [](const QImage& image, const QRect& area) {
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (QColor(image.pixel(x, y)) == QColor(0xFF, 0xEB, 0x64))
                        return true;
            return false;
        };
        // No terms: the value is plain.
        QVERIFY(!yellowIn(img, QRect(166, 0, 200, 30)));

        SearchEngine& engine = SearchEngine::Instance();
        engine.SetScope(f.collection);
        QVERIFY(engine.Parse(QStringLiteral("re")));
        f.pane->viewport()->repaint();
        QImage lit = f.pane->viewport()->grab().toImage();
        QVERIFY(yellowIn(lit, QRect(166, 0, 200, 30)));
        // Without the highlight flag the same value stays plain.
        f.pane->BindItem(f.item, false);
        QVERIFY(!yellowIn(f.pane->viewport()->grab().toImage(), QRect(166, 0, 200, 30)));
        f.pane->BindItem(f.item, true);

        // A selected row is drawn from the selection image, not the plain shades.
        f.pane->Select(f.pane->RowAtIndex(1), true, false);
        QVERIFY(f.pane->StartValueEdit(f.pane->TagRowAt(1)));
        f.pane->ValueEditor().setText(QStringLiteral("Lisbon"));
        const QImage shot = f.pane->grab().toImage();
        QVERIFY(QColor(shot.pixel(2, 32)) != QColor(240, 242, 246));
        QCOMPARE(QColor(shot.pixel(f.pane->ValueEditor().x(), f.pane->ValueEditor().y() + 5)),
                 VeTagListCtrlBase::kEditFrameColor);
        if (!qEnvironmentVariableIsEmpty("TESSARY_SHOTS")) {
            lit.save(QStringLiteral("/tmp/tags_pane.png"));
            shot.save(QStringLiteral("/tmp/tags_pane_edit.png"));
        }
        engine.Reset();
    }
};

QTEST_MAIN(TagsPaneTest)
#include "TagsPaneTest.moc"
