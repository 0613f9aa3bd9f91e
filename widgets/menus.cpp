#include "widgets/menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

QMenu *addMenu(QMainWindow *window, const char *name, const QString &caption, const std::vector<MenuItem> &items,
               QMenu *into)
{
    auto *menu = new QMenu(caption, window);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    if (into)
        into->addMenu(menu);
    else
        window->menuBar()->addMenu(menu);
    addItems(menu, items);
    return menu;
}

void addItems(QMenu *menu, const std::vector<MenuItem> &items)
{
    for (const MenuItem &item : items) {
        QAction *a = item.caption.isEmpty() ? addSeparator(menu, item.name)
                                            : addItem(menu, item.name, item.caption, item.shortcut);
        if (item.command)
            QObject::connect(a, &QAction::triggered, menu, item.command);
        if (item.action)
            *item.action = a;
    }
}

QAction *addItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    return a;
}

QAction *addSeparator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}
