#include "seating/conditioneditor.h"

#include "core/clock.h"
#include "core/installedpaths.h"
#include "core/ruleedit.h"
#include "platform/platform.h"
#include "seating/rulelist.h"
#include "widgets/chartdrawing.h"
#include "widgets/mainwindowstate.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>

namespace
{

const QColor Olive = rgb(128, 128, 0);
const QColor LightOlive = rgb(192, 192, 0);
const QColor AisleOlive = rgb(112, 112, 0);

// The classroom's frame, with the aisles and the 班 of a room drawn on its floor.
class ClassroomFrame : public QFrame
{
public:
    ClassroomFrame(QWidget *parent, const ConditionLayout &layout) : QFrame(parent), groups_(layout.groups)
    {
        for (const QRect &aisle : layout.aisles)
            aisles_.append(twRect(aisle));
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        if (aisles_.isEmpty() && groups_.isEmpty())
            return;
        QPainter painter(this);
        for (const QRect &aisle : aisles_)
            painter.fillRect(aisle, AisleOlive);
        drawPixelGroupFrames(painter, groups_, QPen(Qt::white, 1));
        painter.setPen(QPen(Qt::white, 1));
        QFont font = makeFont(Face::PGothic, 9);
        for (const ChartGroup &group : groups_) {
            const QRect label = twRect(group.label);
            const QString number = groupLabelText(group.number);
            font.setPointSizeF(fittingPointSize(font, {number}, label.width()));
            painter.setFont(font);
            painter.drawText(label, Qt::AlignCenter, number);
        }
    }

private:
    QList<QRect> aisles_;
    QList<ChartGroup> groups_; // twips, as the layout gives them
};

void setUpFrame(QFrame *frame, const char *name, const QRect &twips)
{
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(twRect(twips));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken); // the etched line of a frame without caption
    setBackgroundColor(frame, Olive);
}

template <class W> int indexOf(const QList<W *> &group, QObject *watched)
{
    return int(group.indexOf(watched));
}

// Every drag event type a drop target sees.
bool isDragEvent(QEvent::Type type)
{
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

// A registrant's label. With the focus it shows a dotted line just inside its border, in
// its text's colour, as the classic focus rectangle of a list item; styles' own focus frames
// are lost on the olive. Without the focus it looks as it always did.
class RegistrantLabel : public NameLabel
{
public:
    using NameLabel::NameLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        NameLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        QPen dots(palette().color(foregroundRole()), 0);
        dots.setDashPattern({1, 1});
        painter.setPen(dots);
        painter.drawRect(contentsRect().adjusted(1, 1, -2, -2));
    }
};

// A name as a menu item shows it: an "&" is no access key, and a TAB would split the caption.
QString menuCaption(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&")).replace(QLatin1Char('\t'), QLatin1Char(' '));
}

// Enter or Space, as a button takes them.
bool isActivation(const QKeyEvent *key)
{
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    return plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space);
}

} // namespace

QString conditionStatusText()
{
    return QStringLiteral("座席指定は登録者一覧から該当者を座席へ ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟ して下さい");
}

QPixmap dragIcon(const QString &name)
{
    QPixmap icon;
    const QString file = findDragIconFile(QCoreApplication::applicationDirPath(), name);
    // A file that is no image does not spoil the drag: the built-in copy stands in.
    if (file.isEmpty() || !icon.load(file))
        icon.load(QStringLiteral(":/") + name);
    return icon;
}

void showConditionEditor()
{
    ConditionEditor *open = loadedForm<ConditionEditor>();
    // Built for a room the class no longer has: its desks are not the class's desks.
    if (open && open->room() != state().openClass.room) {
        unload<ConditionEditor>();
        open = nullptr;
    }
    if (open) {
        // Already open: what is entered stays; only the roster and the main window's
        // commands may have moved on since it opened.
        open->showRegistrants();
        mainWindowState().enterConditionsState();
        open->bringToFront();
        return;
    }
    form<ConditionEditor>()->bringToFront();
}

ConditionEditor::ConditionEditor()
    : FormWindow(QStringLiteral("条件設定"), "COND", Olive), room_(state().openClass.room)
{
    const ConditionLayout layout = conditionLayout(room_);
    // Before the bars, which take the client area's width.
    client()->setFixedSize(tw(layout.client.width()), tw(layout.client.height()));
    buildRegistrantList(layout);
    buildClassroom(layout);
    addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"),
            {{"mnuCond", QStringLiteral("条件設定(&S)..."), [this] { apply(); }, &applyAction},
             {"mnuNO", QStringLiteral("取消(&X)"), [this] { cancel(); }, &cancelAction},
             {"mnuRulesSep"},
             {"mnuRules", QStringLiteral("詳しい条件(&R)..."),
              [this] { editRules(deskConditionsOf(entries(), state().openClass.pupils), this); }}});
    // The date and clock get their widths; the instruction takes the rest of the row.
    buildChrome({{{false, QStringLiteral("dialog-ok-apply"), QStyle::SP_DialogApplyButton, QStringLiteral(" 条件設定 "),
                   [this] { apply(); }},
                  {false, QStringLiteral("dialog-cancel"), QStyle::SP_DialogCancelButton, QStringLiteral(" 取消 "),
                   [this] { cancel(); }}},
                 conditionStatusText(),
                 5850,
                 700,
                 1100,
                 44,
                 "mnuDummy3"});
    statusPanels->panel(1)->setToolTip(conditionStatusText());
}

void ConditionEditor::buildRegistrantList(const ConditionLayout &layout)
{
    registrantFrame = new QFrame(client());
    setUpFrame(registrantFrame, "Frame1", layout.registrantFrame);
    registrantTitle =
        makeLabel(registrantFrame, {QStringLiteral("Label3"), QStringLiteral("登録者一覧"), layout.registrantTitle,
                                    Face::PGothic, 11.25, false, Qt::black, LightOlive, true, Qt::AlignCenter});
    for (int i = 0; i < layout.registrants.size(); ++i) {
        QLabel *label = new RegistrantLabel(registrantFrame);
        setUpLabel(label, {QStringLiteral("Label4_%1").arg(i), QString(), layout.registrants.at(i), Face::PGothic, 9,
                           false, Qt::black, LightOlive, true, Qt::AlignCenter});
        label->setAcceptDrops(true);
        label->installEventFilter(this);
        registrantLabels.append(label);
    }
}

void ConditionEditor::buildClassroom(const ConditionLayout &layout)
{
    classroomFrame = new ClassroomFrame(client(), layout);
    setUpFrame(classroomFrame, "Frame2", layout.classroomFrame);
    setTextColor(classroomFrame, Qt::white);
    const int desks = int(layout.desks.size());
    // The standard room's numbers hug their text from the left; any other room's are centred
    // in their place, as small as they must be to fit it.
    const bool standard = room_.isStandard();
    QFont captionFont = makeFont(Face::PGothic, 12);
    if (!standard && desks > 0) {
        captionFont.setPointSizeF(
            fittingPointSize(captionFont, {seatName(desks)}, tw(layout.desks.constLast().caption.width())));
    }
    // Seat numbers first, so that a box lies over the number above it where they meet.
    for (int i = 0; i < desks; ++i) {
        QLabel *number =
            makeLabel(classroomFrame, {QStringLiteral("Label1_%1").arg(i), seatName(i + 1), layout.desks.at(i).caption,
                                       Face::PGothic, 12, false, Qt::white, Olive, false,
                                       standard ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter});
        if (standard)
            number->resize(number->fontMetrics().horizontalAdvance(number->text()) + 2, number->height());
        else
            number->setFont(captionFont);
        seatCaptions.append(number);
    }
    for (int i = 0; i < desks; ++i) {
        auto *box = new QLineEdit(classroomFrame);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->setGeometry(twRect(layout.desks.at(i).box));
        box->setFont(makeFont(Face::PGothic, 9.75));
        setBackgroundColor(box, LightOlive);
        setTextColor(box, Qt::black);
        box->setAttribute(Qt::WA_InputMethodEnabled, true);
        box->setAcceptDrops(true);
        installEnterMovesOn(box);
        keepSingleLine(box);
        box->installEventFilter(this);
        seatBoxes.append(box);
    }
    for (int i = 0; i < desks; ++i) {
        auto *tick = new QCheckBox(classroomFrame);
        tick->setObjectName(QStringLiteral("Check1_%1").arg(i));
        tick->setGeometry(twRect(layout.desks.at(i).tick));
        setBackgroundColor(tick, Olive);
        // The box itself stays white with a black tick, as check boxes are drawn.
        QPalette p = tick->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, Qt::black);
        tick->setPalette(p);
        emptySeatChecks.append(tick);
    }
    // The seat boxes first, desk by desk; then the ticks in the same order; then the
    // registrants (those of the roster take the focus), and round to desk 1.
    QWidgetList order;
    order << QWidgetList(seatBoxes.cbegin(), seatBoxes.cend())
          << QWidgetList(emptySeatChecks.cbegin(), emptySeatChecks.cend())
          << QWidgetList(registrantLabels.cbegin(), registrantLabels.cend());
    for (qsizetype i = 0; i < order.size(); ++i)
        setTabOrder(order.at(i), order.at((i + 1) % order.size()));
    for (int i = 0; i < desks; ++i) {
        nameSeat(seatBoxes.at(i), i + 1);
        nameSeat(emptySeatChecks.at(i), i + 1, QStringLiteral("空席"));
        // The row as the room has it.
        const QString row = rowText(room_.cellOfDesk(i + 1)->row + 1);
        seatBoxes.at(i)->setAccessibleDescription(row);
        emptySeatChecks.at(i)->setAccessibleDescription(row);
    }
    desk = makeLabel(classroomFrame, {QStringLiteral("Label5"), QStringLiteral("教     卓"), layout.teachersDesk,
                                      Face::PGothic, 11.25, false, Qt::black, LightOlive, true, Qt::AlignCenter});
    if (!standard)
        shrinkToFit(desk);
}

void ConditionEditor::onLoad()
{
    SharedState &s = state();
    fixSize();
    mainWindowState().enterConditionsState();
    showRegistrants();
    conditionsAtOpen_ = s.openClass.conditions;
    const SeatEntries shown = takeConditionsForEditing(s.openClass.conditions);
    for (int i = 0; i < seatBoxes.size(); ++i) {
        if (shown.ticked.at(i))
            emptySeatChecks.at(i)->setChecked(true);
        else
            seatBoxes.at(i)->setText(shown.texts.at(i));
    }
    showDateAndTime();
    seatBoxes[0]->setFocus();
}

void ConditionEditor::showRegistrants()
{
    const SharedState &s = state();
    for (int k = 1; k <= registrantLabels.size(); ++k) {
        QLabel *label = registrantLabels.at(k - 1);
        label->setText(s.openClass.pupils.value(k - 1));
        label->setProperty("Tag", s.openClass.pupils.value(k - 1));
        // Tab stops at the registrants only; a screen reader hears how to place one.
        const bool registrant = isRegistrant(k - 1);
        if (!registrant && label->hasFocus())
            seatBoxes[0]->setFocus();
        label->setFocusPolicy(registrant ? Qt::TabFocus : Qt::NoFocus);
        label->setAccessibleDescription(registrant ? QStringLiteral("Enter キーで座席を選択") : QString());
    }
}

bool ConditionEditor::isRegistrant(int index) const
{
    return index >= 0 && index < registrantLabels.size() && index < state().openClass.pupils.size();
}

SeatEntries ConditionEditor::entries() const
{
    SeatEntries e(int(seatBoxes.size()));
    for (int i = 0; i < seatBoxes.size(); ++i) {
        e.texts[i] = seatBoxes.at(i)->text();
        e.ticked[i] = emptySeatChecks.at(i)->isChecked();
    }
    return e;
}

void ConditionEditor::showConditionMessage(ConditionMessage message, const QString &name)
{
    showMessage(this, conditionMessage(message, name));
}

void ConditionEditor::apply()
{
    // The class moved to another room while the window stayed open: what is entered names
    // desks it no longer has. The window opens afresh for the room it has now.
    if (room_ != state().openClass.room) {
        unloadSelf();
        showConditionEditor();
        return;
    }
    const bool stored = applyConditions(
        state(), entries(), [this](ConditionMessage m, const QString &name) { showConditionMessage(m, name); });
    if (!stored) {
        bringToFront();
        return;
    }
    showConditionMessage(ConditionMessage::Applied);
    closeToMainWindow();
}

bool ConditionEditor::cancel()
{
    if (conditionsBeingEdited(entries())) {
        if (showMessage(this, conditionMessage(ConditionMessage::DiscardQuestion)) != IDOK)
            return false;
        discardConditions(state().openClass.conditions);
    }
    closeToMainWindow();
    return true;
}

void ConditionEditor::closeToMainWindow()
{
    unloadSelf();
    // A main window kept unseen while a result window is open stays unseen.
    navigator().raiseMainWindow();
}

void ConditionEditor::onCloseRequest(QCloseEvent *event)
{
    // The close box neither asks nor applies. The conditions go back to those in force
    // when the editor opened: loading took the empty-seat marks out of them, and a failed
    // apply may have left half of its entries in them.
    event->accept();
    if (room_ == state().openClass.room)
        state().openClass.conditions = conditionsAtOpen_;
    closeToMainWindow();
}

void ConditionEditor::dropName(int index, const QString &name)
{
    seatBoxes.at(index)->setText(name);
}

void ConditionEditor::dragRegistrant(int index)
{
    // Labels of empty roster slots have nobody to drag.
    if (!isRegistrant(index))
        return;
    QLabel *label = registrantLabels.at(index);
    auto *drag = new QDrag(label);
    drag->setMimeData(registrantMimeData(label->property("Tag").toString(), index));
    // The cursor alone shows the drag: the name card over a seat box or the label it
    // came from, the no-entry sign elsewhere.
    drag->setDragCursor(dragIcon(QStringLiteral("DRAG.ICO")), Qt::CopyAction);
    drag->setDragCursor(dragIcon(QStringLiteral("DRAG2.ICO")), Qt::IgnoreAction);
    QPixmap nothing(1, 1);
    nothing.fill(Qt::transparent);
    drag->setPixmap(nothing);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool ConditionEditor::seatBoxDragEvent(int index, QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    QString tag;
    // Only a registrant's name lands in a seat box, and then as its whole text.
    if (!registrantTag(drop->mimeData(), &tag)) {
        drop->ignore();
        return true;
    }
    if (event->type() == QEvent::Drop)
        dropName(index, tag);
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    return true;
}

bool ConditionEditor::registrantDragEvent(int index, QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    // Over the label it came from the drag looks droppable; a drop there does nothing.
    if (event->type() != QEvent::Drop && registrantLabel(drop->mimeData()) == index) {
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
    } else {
        drop->ignore();
    }
    return true;
}

QMenu *ConditionEditor::registrantMenu(int seat, QWidget *parent)
{
    auto *menu = new QMenu(QStringLiteral("登録者一覧から選択(&L)"), parent);
    menu->setObjectName(QStringLiteral("registrantMenu"));
    for (int i = 0; isRegistrant(i); ++i) {
        const QString name = registrantLabels.at(i)->property("Tag").toString();
        connect(menu->addAction(menuCaption(name)), &QAction::triggered, this,
                [this, seat, name] { dropName(seat, name); });
    }
    menu->setEnabled(!menu->isEmpty());
    return menu;
}

void ConditionEditor::showRegistrantMenu(int seat)
{
    QMenu *menu = registrantMenu(seat, this);
    menu->setAccessibleName(QStringLiteral("%1に座る登録者").arg(seatName(seat + 1)));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (menu->isEmpty()) {
        delete menu;
        return;
    }
    // Under the box, as a drop-down list opens.
    const QLineEdit *box = seatBoxes.at(seat);
    menu->popup(box->mapToGlobal(QPoint(0, box->height())));
    menu->setActiveAction(menu->actions().constFirst());
}

void ConditionEditor::showSeatMenu(int index)
{
    if (!isRegistrant(index))
        return;
    const QString name = registrantLabels.at(index)->property("Tag").toString();
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("seatMenu"));
    menu->setAccessibleName(QStringLiteral("%1の座席").arg(name));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < seatBoxes.size(); ++i) {
        // One row of the classroom between separators; beside each seat what it holds now.
        if (i > 0 && room_.cellOfDesk(i + 1)->row != room_.cellOfDesk(i)->row)
            menu->addSeparator();
        QStringList holds;
        if (!seatBoxes.at(i)->text().isEmpty())
            holds.append(menuCaption(seatBoxes.at(i)->text()));
        if (emptySeatChecks.at(i)->isChecked())
            holds.append(QStringLiteral("空席"));
        QString caption = seatName(i + 1);
        if (!holds.isEmpty())
            caption += QLatin1Char('\t') + holds.join(QLatin1Char(' '));
        connect(menu->addAction(caption), &QAction::triggered, this, [this, i, name] { dropName(i, name); });
    }
    const QLabel *label = registrantLabels.at(index);
    menu->popup(label->mapToGlobal(QPoint(0, label->height())));
    menu->setActiveAction(menu->actions().constFirst());
}

bool ConditionEditor::seatBoxKeyEvent(int index, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // Alt+Down, as a drop-down list opens: the registrants to choose from.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Down || (key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
            return false;
        showRegistrantMenu(index);
        return true;
    }
    // The box's own context menu, with the registrants on top.
    QLineEdit *box = seatBoxes.at(index);
    QMenu *menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *first = menu->actions().value(0);
    menu->insertMenu(first, registrantMenu(index, menu));
    menu->insertSeparator(first);
    menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
    return true;
}

bool ConditionEditor::registrantKeyEvent(int index, QEvent *event)
{
    // Enter, Space, the Menu key or Shift+F10 on a registrant: the seats to choose from. A
    // right click stays as it was (the press starts a drag).
    const bool asked = event->type() == QEvent::KeyPress
                           ? isActivation(static_cast<QKeyEvent *>(event))
                           : static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard;
    if (!asked || !isRegistrant(index))
        return false;
    showSeatMenu(index);
    return true;
}

bool ConditionEditor::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool keyboard = type == QEvent::KeyPress || type == QEvent::ContextMenu;
    if (const int seat = indexOf(seatBoxes, watched); seat >= 0) {
        if (isDragEvent(type))
            return seatBoxDragEvent(seat, event);
        if (keyboard)
            return seatBoxKeyEvent(seat, event);
    }
    if (const int registrant = indexOf(registrantLabels, watched); registrant >= 0) {
        if (isDragEvent(type))
            return registrantDragEvent(registrant, event);
        if (keyboard)
            return registrantKeyEvent(registrant, event);
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            dragRegistrant(registrant);
            return true;
        }
    }
    return FormWindow::eventFilter(watched, event);
}
