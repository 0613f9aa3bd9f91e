#include "widgets/keystate.h"

#include <QApplication>
#include <QKeyEvent>

KeyStateTracker &KeyStateTracker::instance()
{
    static KeyStateTracker tracker;
    return tracker;
}

void KeyStateTracker::install()
{
    qApp->installEventFilter(this);
}

bool KeyStateTracker::eventFilter(QObject *watched, QEvent *event)
{
    // Each key press reaches the filter once per receiver on its way up; count the
    // one sent to the window only.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat()) {
            if (key->key() == Qt::Key_CapsLock) {
                capsLock_ = !capsLock_;
                emit changed();
            } else if (key->key() == Qt::Key_Insert) {
                insertMode_ = !insertMode_;
                emit changed();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
