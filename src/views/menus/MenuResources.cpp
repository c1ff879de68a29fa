#include "MenuResources.h"

#include <map>

#include "CommandIds.h"

namespace tessary {

namespace {

MenuItemDef Item(int id, const char* text)
{
    MenuItemDef item;
    item.id = id;
    item.text = QString::fromUtf8(text);
    return item;
}

MenuItemDef DefaultItem(int id, const char* text)
{
    MenuItemDef item = Item(id, text);
    item.isDefault = true;
    return item;
}

MenuItemDef CheckItem(int id, const char* text)
{
    MenuItemDef item = Item(id, text);
    item.checkable = true;
    return item;
}

MenuItemDef Separator()
{
    return MenuItemDef();
}

MenuItemDef Submenu(const char* text, std::vector<MenuItemDef> children)
{
    MenuItemDef item;
    item.text = QString::fromUtf8(text);
    item.children = std::move(children);
    return item;
}

std::vector<MenuItemDef> ViewModeItems()
{
    return {Item(cmd::kViewThumbnails, "Thumbnails"), Item(cmd::kViewIcons, "Icons"), Item(cmd::kViewList, "List"),
            Item(cmd::kViewDetails, "Details")};
}

std::vector<MenuItemDef> MoveItems()
{
    return {Item(cmd::kMoveToTop, "Move to Top"), Item(cmd::kMoveUp, "Move Up"), Item(cmd::kMoveDown, "Move Down"),
            Item(cmd::kMoveToBottom, "Move to Bottom")};
}

std::map<int, MenuDef> MakeMenus()
{
    std::map<int, MenuDef> menus;
    auto add = [&menus](int id, const char* name, std::vector<MenuItemDef> items) {
        menus[id] = MenuDef{id, QString::fromUtf8(name), std::move(items)};
    };
    auto concat = [](std::vector<MenuItemDef> a, const std::vector<MenuItemDef>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };

    add(kMenuMainFrame, "MainFrame",
        {Submenu("&File", {Item(cmd::kFileNew, "&New Album...\tCtrl+N"), Item(cmd::kFileOpen, "&Open Album...\tCtrl+O"),
                           Item(cmd::kFileClose, "&Close Album"), Item(cmd::kFileSave, "&Save Album\tCtrl+S"),
                           Separator(), Item(cmd::kAppExit, "E&xit")}),
         Submenu("&Edit", {Item(cmd::kEditFind, "&Find\tCtrl+F"), Item(cmd::kEditPaste, "&Paste\tCtrl+V")}),
         Submenu("&View", {Item(cmd::kViewRefresh, "&Refresh\tF5")}),
         Submenu("&Help", {Item(cmd::kShowOnlineHelp, "Show Online &Help"),
                           Item(cmd::kViewOnlineTutorials, "View Online &Tutorials"), Separator(),
                           Item(cmd::kVisitWebsite, "&Visit Tessary Website"), Item(cmd::kTellAFriend, "Tell a &Friend"),
                           Item(cmd::kDonate, "&Make a Donation"), Separator(),
                           Item(cmd::kAppAbout, "&About Tessary...")})});

    add(kMenuCmdBar, "CmdBar",
        {Item(cmd::kCloseAlbum, "Close Album"), Item(cmd::kAddPhotos, "Add Photos"),
         Item(cmd::kDeleteSelectedPhotos, "Delete Selected Photos"), Item(cmd::kHideSearchResults, "Hide Search Results"),
         Separator(), Item(cmd::kTellAFriend, "Tell a Friend"), Item(cmd::kVisitWebsite, "Visit Tessary Website"),
         Item(cmd::kShowOnlineHelp, "Show Online Help")});

    add(kMenuItemListContext, "FadList Context",
        {Submenu("View", ViewModeItems()),
         Submenu("Arrange Items By", {Item(cmd::kArrangeByName, "Name"), Item(cmd::kArrangeByDateAdded, "Date Added")}),
         Item(cmd::kItemRefresh, "Refresh"), Separator(), Item(cmd::kItemPaste, "Paste"), Separator(),
         Item(cmd::kSendToFolder, "Send to Folder..."), Separator(), Item(cmd::kDelete, "Delete\tDel"),
         Item(cmd::kItemRename, "Rename"), Separator(), Item(cmd::kSelectAll, "Select All\tCtrl+A"),
         Item(cmd::kSelectInverse, "Select Inverse")});

    add(kMenuItemListView, "View", ViewModeItems());

    add(kMenuCollectionsContext, "CatList_Context",
        concat(concat({Item(cmd::kAdd, "Add a Collection..."), Separator(), Item(cmd::kDelete, "Delete\tDel"),
                       Item(cmd::kRename, "Rename..."), Separator()},
                      MoveItems()),
               {Separator(), Item(cmd::kCollectionSortAscending, "Sort Ascending"),
                Item(cmd::kCollectionSortDescending, "Sort Descending")}));

    add(kMenuTagContext, "TagList_Tag_Context",
        concat(concat({Item(cmd::kAdd, "Add a Tag..."), Separator(), Item(cmd::kDelete, "Delete\tDel"),
                       Item(cmd::kRename, "Rename..."), Item(cmd::kDeleteAllTags, "Delete All Tags"), Separator()},
                      MoveItems()),
               {Separator(), Item(cmd::kTagSortAscending, "Sort Ascending"),
                Item(cmd::kTagSortDescending, "Sort Descending")}));

    add(kMenuTagValueContext, "TagList_Value_Context",
        {Item(cmd::kEditValue, "Edit Value..."), Separator(), Item(cmd::kClearValue, "Clear"),
         Item(cmd::kClearAllValues, "Clear All")});

    add(kMenuAlbumListContext, "AlbumList_Context",
        {DefaultItem(cmd::kAlbumListOpen, "Open"), Item(cmd::kAlbumListCopyPath, "Copy Path to Clipboard"), Separator(),
         Item(cmd::kAlbumListClear, "Clear List")});

    add(kMenuSearchOptions, "Search Options",
        {Item(cmd::kClearSearchHistory, "Clear History"), CheckItem(cmd::kAutoSuggest, "Auto Suggest")});

    add(kMenuResultsContext, "SRList Context",
        {Item(cmd::kAddToCombination, "Add to Combination"), Separator(), Item(cmd::kDelete, "Delete\tDel"),
         Item(cmd::kResultRename, "Rename"), Separator(), Item(cmd::kResultSelectAll, "Select All\tCtrl+A"),
         Item(cmd::kResultSelectInverse, "Select Inverse")});
    return menus;
}

const MenuItemDef* FindIn(const std::vector<MenuItemDef>& items, int commandId)
{
    for (const MenuItemDef& item : items) {
        if (item.id == commandId && commandId != 0)
            return &item;
        if (const MenuItemDef* found = FindIn(item.children, commandId))
            return found;
    }
    return nullptr;
}

} // namespace

const MenuDef& MenuResource(int resourceId)
{
    static const std::map<int, MenuDef> menus = MakeMenus();
    static const MenuDef empty;
    const auto it = menus.find(resourceId);
    return it == menus.end() ? empty : it->second;
}

const MenuItemDef* FindMenuItem(const MenuDef& menu, int commandId)
{
    return FindIn(menu.items, commandId);
}

const std::vector<AcceleratorDef>& MainAccelerators()
{
    static const std::vector<AcceleratorDef> table = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), cmd::kFileNew},
        {QKeySequence(Qt::CTRL | Qt::Key_O), cmd::kFileOpen},
        {QKeySequence(Qt::CTRL | Qt::Key_S), cmd::kFileSave},
        {QKeySequence(Qt::CTRL | Qt::Key_F), cmd::kEditFind},
        {QKeySequence(Qt::CTRL | Qt::Key_V), cmd::kEditPaste},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), cmd::kEditPaste},
        {QKeySequence(Qt::Key_F5), cmd::kViewRefresh},
        {QKeySequence(Qt::CTRL | Qt::Key_C), cmd::kEditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), cmd::kEditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_X), cmd::kEditCut},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), cmd::kEditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), cmd::kEditUndo},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), cmd::kEditUndo},
        {QKeySequence(Qt::Key_F6), cmd::kNextPane},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), cmd::kPrevPane},
    };
    return table;
}

} // namespace tessary
