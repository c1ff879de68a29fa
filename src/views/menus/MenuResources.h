#pragma once
// The menus and the accelerator table as data, keyed by their resource ids, so that every
// view builds its menus from one place. Immutable after first use; UI thread.

#include <vector>

#include <QKeySequence>
#include <QString>

namespace tessary {

// Menu resource ids.
inline constexpr int kMenuMainFrame = 128;
inline constexpr int kMenuSearchOptions = 231;
inline constexpr int kMenuItemListContext = 244;
inline constexpr int kMenuItemListView = 246;
inline constexpr int kMenuCollectionsContext = 247;
inline constexpr int kMenuTagContext = 248;
inline constexpr int kMenuTagValueContext = 249;
inline constexpr int kMenuAlbumListContext = 250;
inline constexpr int kMenuCmdBar = 272;
inline constexpr int kMenuResultsContext = 273;

// One entry: a command (id > 0), a submenu (children, id 0) or a separator (id 0, no text).
// A "\t" in the text separates the shortcut shown at the right.
struct MenuItemDef {
    int id = 0;
    QString text;
    std::vector<MenuItemDef> children;
    bool isDefault = false; // drawn bold; what a double-click of the list does
    bool checkable = false;

    bool IsSeparator() const { return id == 0 && children.empty(); }
    bool IsSubmenu() const { return !children.empty(); }
};

struct MenuDef {
    int resourceId = 0;
    QString name;
    std::vector<MenuItemDef> items;
};

// The menu of a resource id; an empty menu (no items) for an unknown id.
const MenuDef& MenuResource(int resourceId);

// The item of `commandId` anywhere in `menu`, or null.
const MenuItemDef* FindMenuItem(const MenuDef& menu, int commandId);

struct AcceleratorDef {
    QKeySequence keys;
    int commandId;
};

// The main frame's accelerator table (128).
const std::vector<AcceleratorDef>& MainAccelerators();

} // namespace tessary
