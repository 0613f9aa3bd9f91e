// The condition editor: apply and cancel, drag and drop of names, its window, and the
// whole road from a roster file to a saved and reopened chart.
#include "core/classfile.h"
#include "core/placement.h"
#include "core/ruleedit.h"
#include "core/textfile.h"
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "seating/resultwindow.h"
#include "seating/ruleeditor.h"
#include "seating/rulelist.h"
#include "seatingfixture.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace
{

const QString NotRegistrant = QStringLiteral("設定者確認|登録者以外の氏名を条件として設定しようとしました。|16");
const QString SameNameTwice = QStringLiteral("設定者重複|同じ氏名を条件として設定しようとしました。|16");
const QString DoNotAddUp =
    QStringLiteral("設定確認|登録者数と空座席数の関係に矛盾があるか、\r指定座席に空座席を設定しようとしました。|16");
const QString Applied = QStringLiteral("設定確認|条件を設定しました。|64");

// Rooms by their place among the presets: 0 the standard room, 2 seven rows of 5, 4 five rows
// of 8 in 班 of 5.
Room preset(int index)
{
    return roomPresets().at(index).room;
}

// Seats typed into the condition editor; "-" ticks the seat's box, as the stored mark does,
// and a "[x]" after a name ticks it too.
void typeSeats(ConditionEditor *w, const SeatMap &typed)
{
    for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
        QString text = it.value();
        if (text == QLatin1String("-") || text.endsWith(QLatin1String("[x]"))) {
            w->emptySeatChecks[size_t(it.key() - 1)]->setChecked(true);
            text.chop(text.size() == 1 ? 1 : 3);
        }
        w->seatBoxes[size_t(it.key() - 1)]->setText(text);
    }
}

// The condition editor opened for a roster, as the roster editor opens it, with seats typed in.
ConditionEditor *openEditor(const QStringList &roster, const SeatMap &stored = {}, const SeatMap &typed = {},
                            const Room &room = Room::standard())
{
    state().openClass.setRoom(room);
    mainWithRoster(roster, stored);
    showConditionEditor();
    ConditionEditor *w = loadedForm<ConditionEditor>();
    typeSeats(w, typed);
    return w;
}

// The seats given, each marked "-", added to `map`.
SeatMap marked(const QList<int> &seats, SeatMap map = {})
{
    for (int k : seats)
        map[k] = QStringLiteral("-");
    return map;
}

SeatMap storedConditions()
{
    SeatMap map;
    for (int k = 1; k <= state().openClass.deskCount(); ++k) {
        if (const QString text = state().openClass.conditions[k - 1].text(); !text.isEmpty())
            map[k] = text;
    }
    return map;
}

QStringList boxTexts(ConditionEditor *w)
{
    QStringList texts;
    for (const QLineEdit *box : w->seatBoxes)
        texts.append(box->text());
    return texts;
}

QList<int> tickedSeats(ConditionEditor *w)
{
    QList<int> seats;
    for (int i = 0; i < w->emptySeatChecks.size(); ++i) {
        if (w->emptySeatChecks[size_t(i)]->isChecked())
            seats.append(i + 1);
    }
    return seats;
}

// A registrant's name dragged from label 0 over `target` and dropped there as the drag
// machinery does; true when the target took every step.
bool dropName(QWidget *target, const QString &name)
{
    const std::unique_ptr<QMimeData> data(registrantMimeData(name, 0));
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    move.ignore();
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    dropped.ignore();
    QApplication::sendEvent(target, &dropped);
    return enter.isAccepted() && move.isAccepted() && move.dropAction() == Qt::CopyAction && dropped.isAccepted();
}

// The captions of a menu's items, separators left out.
QStringList captions(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions()) {
        if (!a->isSeparator())
            out.append(a->text());
    }
    return out;
}

QMenu *openPopup()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// One step of a dialog, sent where its focus is: "key Alt+K", "pick 3" (a combo box's entry
// from the top), "type 佐" (a list's type-ahead after a pause, or text), "click Desk_5", "says
// Desk_5 name|description", "ok".
void dialogStep(ButtonRowDialog *dialog, const QString &step)
{
    if (!dialog->isActiveWindow()) {
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
    }
    QWidget *focus = dialog->focusWidget();
    const QString what = step.section(u' ', 0, 0), arg = step.section(u' ', 1);
    if (what == QLatin1String("key")) {
        const QKeyCombination key = QKeySequence::fromString(arg)[0];
        QTest::keyClick(focus, key.key(), key.keyboardModifiers());
    } else if (what == QLatin1String("pick")) {
        QTest::keyClick(focus, Qt::Key_Home);
        for (int i = 0; i < arg.toInt(); ++i)
            QTest::keyClick(focus, Qt::Key_Down);
    } else if (what == QLatin1String("type")) {
        if (auto *view = qobject_cast<QAbstractItemView *>(focus))
            view->keyboardSearch({});
        for (const QChar c : arg) // as an input method commits it
            QTest::sendKeyEvent(QTest::Click, focus, c.unicode() < 128 ? Qt::Key(c.unicode()) : Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
    } else if (what == QLatin1String("click")) {
        QTest::mouseClick(dialog->findChild<QWidget *>(arg), Qt::LeftButton);
    } else if (what == QLatin1String("says")) {
        const QWidget *w = dialog->findChild<QWidget *>(arg.section(u' ', 0, 0));
        QCOMPARE(w->accessibleName() + u'|' + w->accessibleDescription(), arg.section(u' ', 1));
    } else {
        QCOMPARE(what, QStringLiteral("ok"));
        dialog->buttons[0]->click();
    }
    // A mnemonic clicks its button a moment later.
    const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
    QTRY_VERIFY(std::none_of(buttons.cbegin(), buttons.cend(), [](const QAbstractButton *b) { return b->isDown(); }));
}

// Runs `fn` once a dialog of type W shows, if it does within five seconds.
template <class W> void whenShown(const std::function<void(W *)> &fn, QDeadlineTimer deadline = QDeadlineTimer(5000))
{
    whenModal([fn, deadline] {
        if (W *w = loadedForm<W>(); w && w->isVisible())
            fn(w);
        else if (!deadline.hasExpired())
            whenShown(fn, deadline);
    });
}

QImage iconImage(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestConditions : public QObject
{
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
    void cancelWithOnlyATickClearsAll();
    void closeBoxKeepsTheConditionsOfTheOpening();
    void drops_data();
    void drops();
    void pressBeyondTheRosterStartsNoDrag();
    void keyboardPlacing_data();
    void keyboardPlacing();
    void tabReachesTheRegistrants();
    void roomLayout_data();
    void roomLayout();
    void dragIconFiles_data();
    void dragIconFiles();
    void wholeRoad();
    void ruleList_data();
    void ruleList();
};

void TestConditions::apply_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("entered");
    QTest::addColumn<QStringList>("messages"); // of each apply
    QTest::addColumn<SeatMap>("stored");
    QTest::addColumn<int>("room");       // preset
    QTest::addColumn<SeatMap>("opened"); // stored before the editor opened
    QTest::addColumn<SeatMap>("again");  // typed after the first apply, applied again when not empty
    const auto row = [](const char *name, const QStringList &roster, const SeatMap &entered,
                        const QStringList &messages, const SeatMap &stored, int room = 0, const SeatMap &opened = {},
                        const SeatMap &again = {}) {
        QTest::newRow(name) << roster << entered << messages << stored << room << opened << again;
    };
    const QStringList twenty = pupils(20);
    const QList<int> eight{1, 4, 8, 12, 16, 20, 24, 28}, nine = eight + QList<int>{2};
    const SeatMap twoPairs{{3, "生徒4"}, {5, "生徒9"}, {7, "生徒9"}, {10, "生徒4"}};
    row("trailing blank", twenty, {{3, "生徒1 "}}, {NotRegistrant}, {});
    row("full width", {"Ken"}, {{3, "Ｋｅｎ"}}, {NotRegistrant}, {});
    row("empty roster, 28 empty seats", {}, emptySeats(1, 28), {Applied}, emptySeats(1, 28));
    row("two duplicate pairs: one message", twenty, twoPairs, {SameNameTwice}, twoPairs);
    row("seat named and ticked", twenty, {{4, "生徒2[x]"}, {6, "-"}}, {DoNotAddUp}, {{4, "生徒2"}, {6, "-"}});
    row("20 pupils, 8 empty seats", twenty, marked(eight), {Applied}, marked(eight));
    row("20 pupils, 9 empty seats", twenty, marked(nine), {DoNotAddUp}, marked(nine));
    // Seats 5 and 6 are stored before seat 7 fails; the duplicate check is skipped after
    // message 1, the empty seats are still checked.
    row("duplicate, then not a registrant, too many empty seats", twenty,
        marked(nine, SeatMap{{5, "生徒7"}, {6, "生徒7"}, {7, "転校生"}}), {NotRegistrant, DoNotAddUp},
        marked(nine, {{5, "生徒7"}, {6, "生徒7"}}));
    // The failed apply left seat 10's empty-seat mark stored; the mark is no name the next
    // apply could find in conflict with the tick.
    row("corrected after a failed apply", twenty, {{3, "転校生"}, {10, "-"}}, {NotRegistrant, Applied}, marked({10}), 0,
        {}, {{3, ""}});
    row("a name cleared frees its seat", pupils(12), {{5, ""}}, {Applied}, marked({28}, {{21, "生徒3"}}), 0,
        {{5, "生徒12"}, {21, "生徒3"}, {28, "-"}});
    const QStringList class35 = pupils(35);
    const SeatMap full{{33, "生徒2"}, {35, "-"}}, fiveEmpty = marked({36, 37, 38, 39, 40}, {{33, "生徒2"}});
    row("7x5, 35 pupils, a desk ticked", class35, full, {DoNotAddUp}, full, 2);
    row("8x5 班, 35 pupils, 5 desks ticked", class35, fiveEmpty, {Applied}, fiveEmpty, 4);
    row("8x5 班, 35 pupils, 6 desks ticked", class35, marked({1}, fiveEmpty), {DoNotAddUp}, marked({1}, fiveEmpty), 4);
}

void TestConditions::apply()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, entered);
    QFETCH(QStringList, messages);
    QFETCH(SeatMap, stored);
    QFETCH(int, room);
    QFETCH(SeatMap, opened);
    QFETCH(SeatMap, again);
    TestEnv env;
    ConditionEditor *w = openEditor(roster, opened, entered, preset(room));
    const QStringList texts = boxTexts(w);
    const QList<int> ticks = tickedSeats(w);
    state().MatchFound = true; // apply starts from a clean flag
    TRIGGER(w, "mnuCond");
    if (!again.isEmpty()) {
        typeSeats(w, again);
        TRIGGER(w, "mnuCond");
    }
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(storedConditions(), stored);
    const bool success = messages.constLast() == Applied;
    QCOMPARE(state().MatchFound, !success);
    QCOMPARE(isLoaded<ConditionEditor>(), !success);
    if (!success) // everything entered stays for the user to correct
        QVERIFY(w->isVisible() && boxTexts(w) == texts && tickedSeats(w) == ticks);
    if (!success)
        return;
    // The run keeps every pin and every empty desk applied.
    const QStringList chart = chartTexts(drawChart(roster, state().openClass.conditions, seededUniformSource(7)).chart);
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QCOMPARE(chart.at(it.key() - 1), it.value() == QLatin1String("-") ? QStringLiteral(" ") : it.value());
}

void TestConditions::cancelWithOnlyATickClearsAll()
{
    TestEnv env;
    // Load took the mark into the tick: only the tick is left entered.
    ConditionEditor *w = openEditor(pupils(10), {{3, "生徒3"}, {9, "-"}}, {{3, ""}});
    env.platform.answers.enqueue(IDOK);
    TRIGGER(w, "mnuNO");
    QCOMPARE(env.platform.messageLog(), QStringList{"条件破棄確認|設定中の条件があります。それらを破棄しますか？|33"});
    QCOMPARE(storedConditions(), SeatMap{});
    QVERIFY(!isLoaded<ConditionEditor>());
}

// Reopened after an apply, the editor shows what was applied. Closed by its close box after
// changes and a failed apply, it leaves the conditions as they were when it opened: the pin
// and the empty seat, both.
void TestConditions::closeBoxKeepsTheConditionsOfTheOpening()
{
    TestEnv env;
    const SeatMap first{{1, "-"}, {3, "生徒5"}, {7, "-"}, {21, "生徒3"}};
    ConditionEditor *w = openEditor(pupils(10), {}, first);
    const QStringList applied = boxTexts(w);
    TRIGGER(w, "mnuCond");
    QVERIFY(!isLoaded<ConditionEditor>());
    TRIGGER(loadedForm<MainWindow>(), "mnuCondition");
    w = loadedForm<ConditionEditor>();
    QVERIFY(w && boxTexts(w) == applied && tickedSeats(w) == QList<int>({1, 7}));
    typeSeats(w, {{3, ""}, {9, "転校生"}, {12, "-"}});
    TRIGGER(w, "mnuCond");
    w->close();
    QVERIFY(!isLoaded<ConditionEditor>());
    QCOMPARE(env.platform.messageLog(), (QStringList{Applied, NotRegistrant}));
    QCOMPARE(storedConditions(), first);
    QVERIFY(loadedForm<MainWindow>()->runAction->isEnabled()); // still in its conditions state
}

void TestConditions::drops_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("room"); // preset
    QTest::newRow("seat box with text") << "Text1_4" << true << 0;
    QTest::newRow("check box") << "Check1_4" << false << 0;
    QTest::newRow("seat number") << "Label1_4" << false << 0;
    QTest::newRow("desk") << "Label5" << false << 0;
    QTest::newRow("another registrant") << "Label4_3" << false << 0;
    QTest::newRow("8x5 班, desk 33") << "Text1_32" << true << 4;
}

void TestConditions::drops()
{
    QFETCH(QString, target);
    QFETCH(bool, taken);
    QFETCH(int, room);
    TestEnv env;
    ConditionEditor *w = openEditor(pupils(8), {{5, "生徒7"}}, {{5, "生徒7を消す"}}, preset(room));
    const QStringList before = boxTexts(w);
    auto *widget = w->findChild<QWidget *>(target);
    QVERIFY(widget);
    QCOMPARE(dropName(widget, QStringLiteral("生徒1")), taken);
    QStringList expected = before;
    if (taken)
        expected[target.mid(6).toInt()] = QStringLiteral("生徒1");
    QCOMPARE(boxTexts(w), expected);
    QCOMPARE(tickedSeats(w), QList<int>{});
}

void TestConditions::pressBeyondTheRosterStartsNoDrag()
{
    TestEnv env;
    ConditionEditor *w = openEditor(pupils(20));
    QTest::mousePress(w->registrantLabels[20], Qt::LeftButton);
    QCOMPARE(w->findChildren<QDrag *>().size(), 0);
}

void TestConditions::keyboardPlacing_data()
{
    QTest::addColumn<bool>("fromSeat"); // the keys start on seat 6, else on the second registrant
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("desk");
    QTest::addColumn<int>("room"); // preset
    QTest::newRow("registrant, Enter") << false << "Return" << 6 << 0;
    QTest::newRow("registrant, Space") << false << "Space" << 6 << 0;
    QTest::newRow("registrant, Shift+F10") << false << "Shift+F10" << 6 << 0;
    QTest::newRow("seat, Alt+Down") << true << "Alt+Down" << 6 << 0;
    QTest::newRow("seat, Shift+F10: context menu") << true << "Shift+F10" << 6 << 0;
    QTest::newRow("7x5, registrant, Enter: desk 33") << false << "Return" << 33 << 2;
    QTest::newRow("8x5 班, desk 33, Alt+Down") << true << "Alt+Down" << 33 << 4;
}

// Without a mouse, the second registrant goes to the desk as a drop puts it there: the name
// as the roster has it, whatever the menus show of it. Only the roster's registrants are
// offered; each seat shows what it holds.
void TestConditions::keyboardPlacing()
{
    QFETCH(bool, fromSeat);
    QFETCH(QString, key);
    QFETCH(int, desk);
    QFETCH(int, room);
    TestEnv env;
    const QString name = QStringLiteral("A&B\tC");
    ConditionEditor *w = openEditor({"生徒1", name, "生徒3"}, {}, {{5, "生徒3"}, {7, "-"}}, preset(room));
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QWidget *start = fromSeat ? static_cast<QWidget *>(w->seatBoxes[desk - 1]) : w->registrantLabels[1];
    start->setFocus(Qt::TabFocusReason);
    const QKeyCombination keys = QKeySequence::fromString(key)[0];
    QTest::keyClick(start, keys.key(), keys.keyboardModifiers());
    QMenu *menu = openPopup();
    QVERIFY(menu);
    int steps = desk - 1; // No.1 is highlighted
    if (fromSeat) {
        if (keys.key() == Qt::Key_F10) {
            QCOMPARE(captions(menu).first(), QStringLiteral("登録者一覧から選択(&L)"));
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Right);
            QTRY_VERIFY(openPopup() != menu);
            menu = openPopup();
        }
        QCOMPARE(captions(menu), (QStringList{"生徒1", "A&&B C", "生徒3"}));
        steps = 1;
    } else {
        QStringList seats;
        for (int k = 1; k <= w->seatBoxes.size(); ++k)
            seats.append(QStringLiteral("No.%1").arg(k));
        seats[4] += QStringLiteral("\t生徒3");
        seats[6] += QStringLiteral("\t空席");
        QCOMPARE(captions(menu), seats);
    }
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(!openPopup());
    QStringList expected(w->seatBoxes.size(), QString());
    expected[4] = QStringLiteral("生徒3");
    expected[desk - 1] = name;
    QCOMPARE(boxTexts(w), expected);
    QCOMPARE(tickedSeats(w), QList<int>{7});
}

// Tab goes from the last tick to the registrants of the roster, then round to seat 1; a
// focused registrant shows it.
void TestConditions::tabReachesTheRegistrants()
{
    TestEnv env;
    ConditionEditor *w = openEditor(pupils(3));
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    const QImage unfocused = w->registrantLabels[0]->grab().toImage();
    w->emptySeatChecks[27]->setFocus(Qt::TabFocusReason);
    QStringList reached;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.append(QApplication::focusWidget()->objectName());
        if (i == 0)
            QVERIFY(w->registrantLabels[0]->grab().toImage() != unfocused);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    reached.append(QApplication::focusWidget()->objectName());
    QCOMPARE(reached, (QStringList{"Label4_0", "Label4_1", "Label4_2", "Text1_0", "Label4_2"}));
}

void TestConditions::roomLayout_data()
{
    QTest::addColumn<Room>("room");
    Room sixBySix = Room::grid(6, 6);
    sixBySix.setDesk({5, 0}, false);
    sixBySix.setDesk({5, 5}, false);
    QTest::newRow("7x5") << preset(2);
    QTest::newRow("8x5 班") << preset(4);
    QTest::newRow("6x6 less 2") << sixBySix;
    QTest::newRow("10x10") << Room::grid(10, 10);
}

// Any room: a box, a tick and a number per desk inside the classroom, none over another, desk 1
// in front on the right; a label per desk inside the list; all on a 1366 x 768 screen.
void TestConditions::roomLayout()
{
    QFETCH(Room, room);
    TestEnv env;
    const int desks = room.deskCount();
    // An editor built for another room opens afresh for the class's, on apply as when shown.
    ConditionEditor *w = openEditor(pupils(2));
    state().openClass.setRoom(room);
    TRIGGER(w, "mnuCond");
    QCOMPARE(loadedForm<ConditionEditor>()->seatBoxes.size(), desks);
    QCOMPARE(openEditor({})->seatBoxes.size(), SeatCount);
    w = openEditor(pupils(desks), {}, {}, room);
    QCOMPARE(env.platform.messageLog(), QStringList{});
    QVERIFY(w->width() <= 1366 && w->height() <= 700);
    QCOMPARE(w->seatCaptions.size(), desks);
    QCOMPARE(w->seatCaptions.constLast()->text(), QStringLiteral("No.%1").arg(desks));
    QCOMPARE(w->registrantLabels.constLast()->text(), QStringLiteral("生徒%1").arg(desks));
    QList<QWidget *> placed;
    for (int i = 0; i < desks; ++i)
        placed << w->seatBoxes[i] << w->emptySeatChecks[i];
    for (QWidget *control : placed + QList<QWidget *>(w->seatCaptions.cbegin(), w->seatCaptions.cend()))
        QVERIFY2(w->classroomFrame->rect().contains(control->geometry()), qPrintable(control->objectName()));
    for (const QLabel *label : w->registrantLabels)
        QVERIFY(w->registrantFrame->rect().contains(label->geometry()));
    placed += QList<QWidget *>(w->registrantLabels.cbegin(), w->registrantLabels.cend());
    for (const QWidget *a : placed) {
        for (const QWidget *b : placed) {
            QVERIFY2(a == b || a->parentWidget() != b->parentWidget() || !a->geometry().intersects(b->geometry()),
                     qPrintable(a->objectName() + QLatin1Char(' ') + b->objectName()));
        }
    }
    const QRect one = w->seatBoxes[0]->geometry(), two = w->seatBoxes[1]->geometry();
    QVERIFY(one.top() == two.top() && one.left() > two.left() && one.bottom() < w->desk->geometry().top());
    for (const QLineEdit *box : w->seatBoxes)
        QVERIFY(box->geometry().top() <= one.top());
    // Closed after the class moved to another room, it leaves that room's desks alone.
    state().openClass.setRoom(Room::standard());
    w->close();
    QCOMPARE(state().openClass.deskCount(), SeatCount);
}

void TestConditions::dragIconFiles_data()
{
    QTest::addColumn<bool>("fileHere");
    QTest::newRow("none here: built in") << false;
    QTest::newRow("DRAG.ICO here") << true;
}

void TestConditions::dragIconFiles()
{
    QFETCH(bool, fileHere);
    TestEnv env;
    QImage own(32, 32, QImage::Format_ARGB32);
    own.fill(QColor(250, 0, 90));
    if (fileHere)
        QVERIFY(own.save(env.path(QStringLiteral("DRAG.ICO")), "ICO"));
    const QImage builtIn = iconImage(QPixmap(QStringLiteral(":/DRAG.ICO")));
    QVERIFY(!builtIn.isNull());
    ConditionEditor *w = openEditor(pupils(2));
    w->dragRegistrant(1);
    // Without a display the drag is over at once; its object lives until the event loop runs.
    const QList<QDrag *> drags = w->findChildren<QDrag *>();
    QCOMPARE(drags.size(), 1);
    QCOMPARE(iconImage(drags[0]->dragCursor(Qt::CopyAction)),
             fileHere ? iconImage(QPixmap(env.path(QStringLiteral("DRAG.ICO")))) : builtIn);
    QCOMPARE(iconImage(drags[0]->dragCursor(Qt::IgnoreAction)), iconImage(QPixmap(QStringLiteral(":/DRAG2.ICO"))));
}

void TestConditions::wholeRoad()
{
    TestEnv env;
    const QStringList roster{"髙橋", "渡邊", "佐藤", "鈴木", "①田中", "ｱｲｻﾞﾜ", "伊藤"};
    env.writeFile(QStringLiteral("名簿/3年1組.mem"), crlfLines(roster));
    MainWindow *main = mainWithRoster({});

    // File>Open and register.
    env.platform.openFiles.enqueue(env.path(QStringLiteral("名簿/3年1組.mem")));
    TRIGGER(main, "mnuFileOpen");
    RosterEditor *editor = loadedForm<RosterEditor>();
    QVERIFY(editor && editor->isVisible());
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("名簿/3年1組.mem")));
    TRIGGER(editor, "mnuNewFile");
    QCOMPARE(env.readFile(QStringLiteral("名簿/3年1組.mem")), crlfLines(roster));

    // Names dragged onto seats, two seats left empty.
    ConditionEditor *cond = loadedForm<ConditionEditor>();
    QVERIFY(cond && cond->isVisible());
    QVERIFY(dropName(cond->seatBoxes[0], cond->registrantLabels[4]->property("Tag").toString()));
    QVERIFY(dropName(cond->seatBoxes[11], cond->registrantLabels[0]->property("Tag").toString()));
    QTest::mouseClick(cond->emptySeatChecks[1], Qt::LeftButton);
    cond->emptySeatChecks[26]->click();
    cond->toolbar->button(2)->click();
    QVERIFY(!isLoaded<ConditionEditor>());

    // The run.
    main->activateWindow();
    QTRY_VERIFY(main->isActiveWindow());
    driveCountdown();
    QTest::keyClick(main, Qt::Key_G, Qt::ControlModifier);
    QTRY_VERIFY(isLoaded<ResultWindow>());
    ResultWindow *result = loadedForm<ResultWindow>();
    const QStringList chart = result->seatTexts();
    QCOMPARE((QStringList{chart[0], chart[1], chart[11], chart[26]}), (QStringList{"①田中", " ", "髙橋", " "}));
    QStringList seated = chart;
    seated.removeAll(QString());
    seated.removeAll(QStringLiteral(" "));
    QCOMPARE(sorted(seated), sorted(roster));

    // Saved, logged, and shown again from the past results.
    QDir(env.work()).mkdir(QStringLiteral("結果"));
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("結果/1学期.rlt")));
    TRIGGER(result, "mnuResultSave");
    QCOMPARE(env.readFile(QStringLiteral("結果/1学期.rlt")), crlfLines(chart));
    QCOMPARE(env.readFile(QStringLiteral("結果/ならびん.INI")), crlfLines({"1学期.rlt"}));
    QCOMPARE(env.platform.messageLog(), (QStringList{"修正確認|メンバーを修正しました。|64", Applied,
                                                     "保存確認|ならびん結果を保存しました。|64"}));
    main = loadedForm<MainWindow>();
    QVERIFY(main && main->isVisible());
    QCOMPARE(findAction(main, QStringLiteral("mnuFileArray_1"))->text(), QStringLiteral("1学期.rlt"));
    TRIGGER(main, "mnuFileArray_1");
    ResultWindow *again = loadedForm<ResultWindow>();
    QVERIFY(again && again->isVisible());
    // Read back as fields, the blank of an empty seat is gone; the seat looks the same.
    QStringList reread = chart;
    reread[1] = reread[26] = QString();
    QCOMPARE(again->seatTexts(), reread);
}

void TestConditions::ruleList_data()
{
    QTest::addColumn<int>("room"); // preset
    QTest::addColumn<Rules>("before");
    QTest::addColumn<SeatMap>("typed"); // in the condition editor
    // Steps of the list by ";"; "<key>: <steps by ','>" runs the rule dialog that key opens;
    // "full": the disk fills up.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statuses"); // the status line as it changed
    QTest::addColumn<QStringList>("saved");    // the rules then in the class file and the open class
    QTest::addColumn<QStringList>("messages"); // "open": the list stayed open
    const QString can = QStringLiteral("すべての条件を満たす席替えができます。");
    const auto row = [&can](const char *name, const char *script, const QStringList &saved, int room = 0,
                            const QStringList &messages = {}, const QStringList &statuses = {},
                            const Rules &before = {}, const SeatMap &typed = {}) {
        QTest::newRow(name) << room << before << typed << QString::fromUtf8(script)
                            << (statuses.isEmpty() ? QStringList{can} : statuses) << saved << messages;
    };
    row("zone and apart",
        "Alt+A: key Alt+S, type 上, key Space, key Alt+Z, pick 1, key Alt+N, type 1, ok; Alt+A: key Alt+K, pick 1, "
        "key Alt+S, type 佐, key Space, type 鈴, key Space, key Alt+D, type 3, key Alt+W, ok; ok",
        {"必ず：上田を後ろ1列に", "できれば：佐藤と鈴木を3席以上離す"});
    row("a pin of the editor clashes; Space makes a wish",
        "Alt+A: key Alt+S, type 青, key Space, key Alt+Z, pick 1, key Alt+N, type 1, ok; key Space; ok",
        {"できれば：青木を後ろ1列に"}, 0, {}, {can, "「青木をNo.1に」と「青木を後ろ1列に」 が両立しません。", can}, {},
        {{1, "青木"}});
    row("班 kinds",
        "Alt+A: key Alt+K, pick 6, says Desk_1 No.1 前から1列目|, ok; Alt+A: key Alt+K, pick 7, ok; Alt+A: key Alt+K, "
        "pick 2, key Alt+S, type 青, key Space, type 伊, key Space, ok; key Up; key Up; key Alt+M; ok",
        {"できれば：各班に班長を1人", "必ず：各班の男女の数をそろえる", "必ず：青木と伊藤を別の班に"}, 4, {},
        {can, "「各班に班長を1人」は、この教室と名簿では守れません。", can});
    row("pair and 男女 kinds; two pupils asked for",
        "Alt+A: key Alt+K, pick 5, key Alt+S, type 青, key Space, ok, type 伊, key Space, ok; Alt+A: key Alt+K, pick "
        "4, "
        "key Alt+S, type 上, key Space, type 江, key Space, ok; Alt+A: key Alt+K, pick 3, key Alt+S, type 大, key "
        "Space, "
        "type 加, key Space, key Alt+D, type 1, ok; Alt+A: key Alt+K, pick 8, ok; Alt+A: key Alt+K, pick 9, ok; ok",
        {"必ず：青木と伊藤を同じ机の組に", "必ず：上田と江藤を隣に", "必ず：大野と加藤を1席以内に",
         "必ず：男女を交互に", "必ず：机の組を男女に"},
        5, {"詳しい条件|この条件には、生徒をちょうど2人選んで下さい（いまは1人です）。|48"});
    row("kinds about earlier charts; pupils found by reading",
        "Alt+A: key Alt+S, type ク, key Space, type かと, key Space, key Alt+K, pick 10, pick 1, ok; Alt+A: key Alt+K, "
        "pick 10, ok; Alt+A: key Alt+K, pick 11, key Alt+C, pick 2, ok; Alt+A: key Alt+K, pick 12, key Alt+C, pick 10, "
        "ok; Alt+A: key Alt+K, pick 13, key Alt+M, ok; Alt+A: key Alt+K, pick 14, ok; ok",
        {"必ず：加藤と工藤を2席以上離す", "できれば：男女の並びを前回と同じに", "できれば：過去3回と同じ席にしない",
         "できれば：今年隣になった人と隣にしない", "必ず：今年同じ班になった人と同じ班にしない",
         "できれば：前と後ろの席を1年で公平に"},
        4);
    row("desks painted by mouse and Space",
        "Alt+A: key Alt+S, type 木, key Space, click Desk_5, key Left, key Space, says Desk_6 No.6 "
        "前から2列目|選んだ席, "
        "ok; ok",
        {"必ず：木村を指定した2席に（No.5・No.6）"});
    Rule front, apart;
    front.pupils = QStringList{"伊藤"};
    apart.kind = Rule::Kind::Apart;
    apart.pupils = QStringList{"青木", "転校生"};
    row("delete, and change a rule naming one not in the roster",
        "key Delete; Return: key Alt+W, key Alt+D, type 3, ok; ok",
        {"できれば：青木と転校生を3席以上離す（転校生は名簿にいません）"}, 0, {}, {}, {front, apart});
    row("Esc keeps the rules", "Alt+A: key Escape; key Delete; key Escape", {"必ず：伊藤を前2列に"}, 0, {}, {},
        {front});
    row("full disk", "Alt+A: key Alt+S, type 青, key Space, ok; full; ok", {}, 0,
        {"詳しい条件|詳しい条件を保存できませんでした。\rディスクの空き容量が足りません。|16", "open"});
}

void TestConditions::ruleList()
{
    QFETCH(int, room);
    QFETCH(Rules, before);
    QFETCH(SeatMap, typed);
    QFETCH(QString, script);
    QFETCH(QStringList, statuses);
    QFETCH(QStringList, saved);
    QFETCH(QStringList, messages);
    TestEnv env;
    if (env.services.solverLibrary.isEmpty() && !statuses.isEmpty())
        QSKIP("the rules solver is not built here (NARABIN_SOLVER=OFF)");
    const QStringList roster{"青木", "伊藤", "上田", "江藤", "大野", "加藤", "木村", "工藤", "佐藤", "鈴木"};
    ConditionEditor *w = openEditor(roster, {}, typed, preset(room));
    state().RosterFileName = env.path(QStringLiteral("1組.MEM"));
    ClassData data; // by name: the class file holds more than these
    data.room = preset(room);
    data.rules = before;
    env.writeFile(QStringLiteral("1組.MEM.json"), classFileBytes(data));
    state().openClass.rules = before;
    for (const auto &[name, reading] : {std::pair{"加藤", "かとう"}, {"木村", "きむら"}, {"工藤", "くどう"}})
        state().openClass.info[QString::fromUtf8(name)].reading = QString::fromUtf8(reading);
    QStringList seen;
    bool open = false;
    whenModal([&] {
        RuleList *list = loadedForm<RuleList>();
        QVERIFY(list);
        for (const QString &step : (QStringLiteral("; ") + script).split(u';')) {
            if (step.contains(u':')) {
                const QStringList inner = step.section(u':', 1).split(u',');
                whenShown<RuleEditor>([inner](RuleEditor *editor) {
                    for (const QString &s : inner) {
                        if (isLoaded<RuleEditor>() && !QTest::currentTestFailed())
                            dialogStep(editor, s.trimmed());
                    }
                    unload<RuleEditor>();
                });
                dialogStep(list, QStringLiteral("key ") + step.section(u':', 0, 0).trimmed());
            } else if (step.trimmed() == QLatin1String("full")) {
                env.limitWrites(QStringLiteral(".MEM.json"), 10);
            } else if (!step.trimmed().isEmpty()) {
                dialogStep(list, step.trimmed());
            }
            if (!isLoaded<RuleList>() || QTest::currentTestFailed())
                break;
            if (seen.value(seen.size() - 1) != list->status->text())
                seen.append(list->status->text());
        }
        open = isLoaded<RuleList>();
        unload<RuleList>();
    });
    TRIGGER(w, "mnuRules");
    QStringList log = env.platform.messageLog();
    if (open)
        log.append(QStringLiteral("open"));
    QCOMPARE(log, messages);
    QCOMPARE(seen, statuses);
    const ClassRead read = readClassFile(state().RosterFileName);
    QVERIFY(read.data.room == preset(room));
    for (const Rules &rules : {read.data.rules, state().openClass.rules}) {
        QStringList lines;
        for (const Rule &rule : rules)
            lines.append(ruleLine(rule, roster));
        QCOMPARE(lines, saved);
    }
}

QTEST_MAIN(TestConditions)
#include "tst_conditions.moc"
