#include <QMenu>
#include <QTest>

#include "views/menus/CommandGlyphs.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/menus/MenuResources.h"

using namespace tessary;

namespace {

std::vector<int> Ids(const std::vector<MenuItemDef>& items)
{
    std::vector<int> ids;
    for (const MenuItemDef& item : items)
        ids.push_back(item.id);
    return ids;
}

} // namespace

class MenusTest : public QObject {
    Q_OBJECT
private slots:
    void everyMenuIsThere()
    {
        for (int id : {kMenuMainFrame, kMenuSearchOptions, kMenuItemListContext, kMenuItemListView,
                       kMenuCollectionsContext, kMenuTagContext, kMenuTagValueContext, kMenuAlbumListContext,
                       kMenuCmdBar, kMenuResultsContext}) {
            const MenuDef& menu = MenuResource(id);
            QCOMPARE(menu.resourceId, id);
            QVERIFY(!menu.items.empty());
            QVERIFY2(!menu.items.front().IsSeparator() && !menu.items.back().IsSeparator(), qPrintable(menu.name));
        }
        QVERIFY(MenuResource(9999).items.empty());
    }

    void contextMenusCarryTheirCommands()
    {
        const MenuDef& collections = MenuResource(kMenuCollectionsContext);
        for (int id : {cmd::kAdd, cmd::kDelete, cmd::kRename, cmd::kMoveToTop, cmd::kMoveUp, cmd::kMoveDown,
                       cmd::kMoveToBottom, cmd::kCollectionSortAscending, cmd::kCollectionSortDescending})
            QVERIFY(FindMenuItem(collections, id));
        QCOMPARE(FindMenuItem(collections, cmd::kDelete)->text, QStringLiteral("Delete\tDel"));
        QCOMPARE(FindMenuItem(collections, cmd::kAdd)->text, QStringLiteral("Add a Collection..."));
        QCOMPARE(FindMenuItem(MenuResource(kMenuTagContext), cmd::kAdd)->text, QStringLiteral("Add a Tag..."));
        // Nested: the item list's arrange submenu.
        const MenuItemDef* byName = FindMenuItem(MenuResource(kMenuItemListContext), cmd::kArrangeByName);
        QVERIFY(byName);
        QCOMPARE(byName->text, QStringLiteral("Name"));
        QCOMPARE(Ids(MenuResource(kMenuItemListView).items),
                 (std::vector<int>{cmd::kViewThumbnails, cmd::kViewIcons, cmd::kViewList, cmd::kViewDetails}));
        QVERIFY(FindMenuItem(MenuResource(kMenuAlbumListContext), cmd::kAlbumListOpen)->isDefault);
        QVERIFY(FindMenuItem(MenuResource(kMenuSearchOptions), cmd::kAutoSuggest)->checkable);
        QVERIFY(!FindMenuItem(MenuResource(kMenuCmdBar), cmd::kSelectAll));
    }

    void acceleratorsAreUnique()
    {
        const auto& table = MainAccelerators();
        QCOMPARE(int(table.size()), 15);
        for (size_t i = 0; i < table.size(); ++i)
            for (size_t j = i + 1; j < table.size(); ++j)
                QVERIFY(table[i].keys != table[j].keys);
        auto commandOf = [&](const QKeySequence& keys) {
            for (const auto& a : table)
                if (a.keys == keys)
                    return a.commandId;
            return 0;
        };
        QCOMPARE(commandOf(QKeySequence(Qt::SHIFT | Qt::Key_Insert)), cmd::kEditPaste);
        QCOMPARE(commandOf(QKeySequence(Qt::ALT | Qt::Key_Backspace)), cmd::kEditUndo);
        QCOMPARE(commandOf(QKeySequence(Qt::SHIFT | Qt::Key_F6)), cmd::kPrevPane);
        QCOMPARE(commandOf(QKeySequence(Qt::Key_F5)), cmd::kViewRefresh);
    }

    void glyphTableOrder()
    {
        QCOMPARE(CommandGlyphIndex(cmd::kAdd), 0);
        QCOMPARE(CommandGlyphIndex(cmd::kMoveToBottom), 5);
        QCOMPARE(CommandGlyphIndex(cmd::kHideSearchResults), 9);
        QCOMPARE(CommandGlyphIndex(cmd::kShowOnlineHelp), 12);
        QCOMPARE(CommandGlyphIndex(cmd::kRename), -1);
        QVERIFY(CommandGlyph(cmd::kRename).isNull());
        const QImage add = CommandGlyph(cmd::kAdd);
        QCOMPARE(add.size(), QSize(16, 16));
        QVERIFY(add != CommandGlyph(cmd::kDelete));
    }

    void builtMenusCarryIdsAndGlyphs()
    {
        QMenu menu;
        FillMenu(menu, MenuResource(kMenuCollectionsContext).items);
        QAction* add = FindAction(menu, cmd::kAdd);
        QVERIFY(add);
        QCOMPARE(CommandIdOf(add), cmd::kAdd);
        QVERIFY(!add->icon().isNull());
        QVERIFY(FindAction(menu, cmd::kRename)->icon().isNull());
        int separators = 0;
        for (QAction* a : menu.actions())
            separators += a->isSeparator() ? 1 : 0;
        QCOMPARE(separators, 3);

        QMenu list;
        FillMenu(list, MenuResource(kMenuItemListContext).items);
        QVERIFY(FindAction(list, cmd::kArrangeByDateAdded)); // inside a submenu
        QMenu albums;
        FillMenu(albums, MenuResource(kMenuAlbumListContext).items);
        QCOMPARE(albums.defaultAction(), FindAction(albums, cmd::kAlbumListOpen));
    }
};

QTEST_MAIN(MenusTest)
#include "MenusTest.moc"
