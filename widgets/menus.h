#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;

// Menus of the program's windows: every menu and item carries its name as objectName.

// A menu on the window's menu bar, or a submenu of `into`.
QMenu *addMenu(QMainWindow *window, const char *name, const QString &caption, QMenu *into = nullptr);
QAction *addItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {});
QAction *addSeparator(QMenu *menu, const char *name);
