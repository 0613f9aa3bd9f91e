#include "app/seatbox.h"

#include "platform/platform.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {
class EnterMovesOn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *box = static_cast<QLineEdit *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        bool swallow = false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // As a Tab keystroke sent to the window would.
            if (QWidget *next = box->nextInFocusChain(); next && next != box) {
                QWidget *target = next;
                while (target != box && !(target->focusPolicy() & Qt::TabFocus && target->isEnabled() && target->isVisible()))
                    target = target->nextInFocusChain();
                target->setFocus(Qt::TabFocusReason);
            }
            swallow = true;
        }
        platform().switchInputMethodOn(box);
        return swallow;
    }
};
} // namespace

void installEnterMovesOn(QLineEdit *box)
{
    box->installEventFilter(new EnterMovesOn(box));
}
