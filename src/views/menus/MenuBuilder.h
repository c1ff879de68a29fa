#pragma once
// Popup menus made from the menu data: one QAction per command, carrying the command id as
// its data and the command's glyph as its icon. UI thread.

#include <QMenu>

#include "MenuResources.h"

namespace tessary {

// Fills `menu` with the items (submenus become child QMenus owned by it).
void FillMenu(QMenu& menu, const std::vector<MenuItemDef>& items);

// The action of `commandId` in `menu` or its submenus, or null.
QAction* FindAction(const QMenu& menu, int commandId);

// The command id an action carries (0 for separators and submenus).
int CommandIdOf(const QAction* action);

} // namespace tessary
