#include "widgets/seatbox.h"

#include "platform/platform.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QValidator>
#include <QWidget>

#include <algorithm>

namespace
{
class EnterMovesOn : public QObject
{
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
                while (target != box &&
                       !(target->focusPolicy() & Qt::TabFocus && target->isEnabled() && target->isVisible()))
                    target = target->nextInFocusChain();
                target->setFocus(Qt::TabFocusReason);
            }
            swallow = true;
        }
        platform().switchInputMethodOn(box);
        return swallow;
    }
};
bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0x2028) || c == QChar(0x2029) ||
           c == QChar(0x0B) || c == QChar(0x0C) || c == QChar(0x85);
}

// Sees every change of a box's text before it is taken, whatever brought it.
class SingleLineValidator : public QValidator
{
public:
    explicit SingleLineValidator(QLineEdit *box) : QValidator(box)
    {
        accepted_ = box->text();
        connect(box, &QLineEdit::textChanged, this, [this](const QString &text) { accepted_ = text; });
    }

    State validate(QString &input, int &pos) const override
    {
        if (std::any_of(input.cbegin(), input.cend(), isLineBreak)) {
            const SingleLineEdit edit = cutAtLineBreak(accepted_, input, pos);
            input = edit.text;
            pos = edit.cursor;
        }
        return Acceptable;
    }

private:
    QString accepted_;
};

} // namespace

SingleLineEdit cutAtLineBreak(const QString &before, const QString &after, int cursor)
{
    // The inserted text ends at the cursor; what follows it is the old text's end.
    qsizetype end = after.size() - cursor;
    if (cursor < 0 || end < 0 || end > before.size() || !before.endsWith(after.right(end)))
        end = 0;
    const qsizetype limit = std::min(after.size() - end, before.size() - end);
    qsizetype start = 0;
    while (start < limit && before.at(start) == after.at(start))
        ++start;
    QString inserted = after.mid(start, after.size() - start - end);
    inserted.truncate(std::find_if(inserted.cbegin(), inserted.cend(), isLineBreak) - inserted.cbegin());
    return {after.left(start) + inserted + after.right(end), int(start + inserted.size())};
}

void keepSingleLine(QLineEdit *box)
{
    box->setValidator(new SingleLineValidator(box));
}

void installEnterMovesOn(QLineEdit *box)
{
    box->installEventFilter(new EnterMovesOn(box));
}

QString seatName(int seat)
{
    return QStringLiteral("No.%1").arg(seat);
}

QString rowText(int row)
{
    return QStringLiteral("前から%1列目").arg(row);
}

QString seatRowText(int seat)
{
    return rowText((seat + 3) / 4);
}

void nameSeat(QWidget *widget, int seat, const QString &more)
{
    widget->setAccessibleName(more.isEmpty() ? seatName(seat) : seatName(seat) + QLatin1Char(' ') + more);
    widget->setAccessibleDescription(seatRowText(seat));
}

QRect NameLabel::textRect() const
{
    return contentsRect().adjusted(margin(), margin(), -margin(), -margin());
}

QString NameLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, textRect().width());
}

void NameLabel::paintEvent(QPaintEvent *event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    // As the label draws its text, with the shortened one.
    QPainter painter(this);
    drawFrame(&painter);
    QStyleOption option;
    option.initFrom(this);
    style()->drawItemText(&painter, textRect(), int(QStyle::visualAlignment(layoutDirection(), alignment())),
                          option.palette, isEnabled(), shown, foregroundRole());
}
