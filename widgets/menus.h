#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

// Menus of the program's windows: every menu and item carries its name as objectName.

// One row of a menu table: a command, or a separator when it has no caption.
struct MenuItem {
    const char *name;
    QString caption = {};
    std::function<void()> command = {};
    QAction **action = nullptr; // where the window keeps the item, if it does
    QKeySequence shortcut = {};
};

// A menu on the window's menu bar, or a submenu of `into`, with the items of a table.
QMenu *addMenu(QMainWindow *window, const char *name, const QString &caption, const std::vector<MenuItem> &items = {},
               QMenu *into = nullptr);
// More items at the end of a menu.
void addItems(QMenu *menu, const std::vector<MenuItem> &items);
QAction *addItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {});
QAction *addSeparator(QMenu *menu, const char *name);
