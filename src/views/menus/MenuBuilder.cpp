#include "MenuBuilder.h"

#include <QPixmap>

#include "CommandGlyphs.h"

namespace tessary {

void FillMenu(QMenu& menu, const std::vector<MenuItemDef>& items)
{
    for (const MenuItemDef& item : items) {
        if (item.IsSeparator()) {
            menu.addSeparator();
        } else if (item.IsSubmenu()) {
            QMenu* sub = menu.addMenu(item.text);
            FillMenu(*sub, item.children);
        } else {
            QAction* action = menu.addAction(item.text);
            action->setData(item.id);
            action->setCheckable(item.checkable);
            const QImage glyph = CommandGlyph(item.id);
            if (!glyph.isNull()) {
                QIcon icon(QPixmap::fromImage(glyph));
                const QImage twice = CommandGlyph(item.id, 2.0);
                if (twice.devicePixelRatio() > 1.0)
                    icon.addPixmap(QPixmap::fromImage(twice));
                action->setIcon(icon);
            }
            if (item.isDefault) {
                QFont font = action->font();
                font.setBold(true);
                action->setFont(font);
                menu.setDefaultAction(action);
            }
        }
    }
}

QAction* FindAction(const QMenu& menu, int commandId)
{
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            if (QAction* found = FindAction(*action->menu(), commandId))
                return found;
        } else if (CommandIdOf(action) == commandId && commandId != 0) {
            return action;
        }
    }
    return nullptr;
}

int CommandIdOf(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}

} // namespace tessary
